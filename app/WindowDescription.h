#pragma once

// The description of the main window and its controls, from which loadMainWindow
// builds them.

#include "app/MainWindow.h"
#include "platform/Window.h"

#include <array>
#include <optional>
#include <string_view>

struct ControlDescription {
    Item item;
    platform::ControlLayout layout;
    std::optional<platform::Colours> colours; // none: the system's own
    bool unlimitedText;
};

struct WindowDescription {
    std::string_view title;
    int width; // outer size, frame and caption included
    int height;
    std::uint32_t style;
    std::uint32_t exStyle;
    int iconResourceId;
    // In the order of creation, which is the reverse of the z-order.
    std::array<ControlDescription, 5> controls;
};

const WindowDescription& mainWindowDescription();

// The outer rectangle of a window of the given size centred on a screen of the given
// size; a screen smaller than the window gives a negative edge.
platform::Rect centredOuterRect(platform::Size screen, int width, int height);
