#pragma once

// The message queue of the user-interface thread.

#include "platform/Handles.h"

#include <cstdint>

namespace platform {

struct KeyPress {
    std::int32_t key = 0; // virtual-key code
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// Offered each key-down message, first with the window it is addressed to, then with
// each of that window's parents in turn, until one call returns true: the message has
// then been taken and goes no further.
using KeyOffer = bool (*)(WindowHandle window, const KeyPress& press);

// Dispatches every message that is waiting now, and returns when the queue is empty.
void processPendingMessages();

// Takes and dispatches messages until the quit request; returns the code it carried.
int pumpMessages(KeyOffer offer);

void postQuit(int code);

} // namespace platform
