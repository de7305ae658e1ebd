#pragma once

// State shared by start-up, the message loop and the main window. One instance, touched
// only on the user-interface thread.

#include "app/MainWindow.h"
#include "app/WindowDescription.h"

#include <array>

struct ShellState {
    // No event handler runs while the window is being built, while the error box is
    // open, or once shutdown has begun; events raised meanwhile are dropped.
    bool handlersBlocked = true;
    bool loopBegun = false;
    bool oleInitialised = false;
    int quitCode = 0;
    const WindowDescription* description = nullptr;
    std::array<platform::WindowHandle, itemCount> handles{};
};

extern ShellState shellState;
