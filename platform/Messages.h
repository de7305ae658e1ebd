#pragma once

// Window messages and codes that the program names. The values are those of the
// system, so that what the program sends and what the system delivers agree.

#include "platform/Handles.h"

#include <cstdint>

namespace platform {

namespace message {
inline constexpr std::uint32_t close = 0x0010;
inline constexpr std::uint32_t hotkey = 0x0312;
} // namespace message

namespace key {
inline constexpr std::int32_t enter = 0x0D;
inline constexpr std::int32_t control = 0x11;
inline constexpr std::int32_t escape = 0x1B;
} // namespace key

// Notification that a button sends its parent when it has been clicked.
inline constexpr int buttonClicked = 0;

std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam);

} // namespace platform

// The private message by which a label is asked to raise its feedback event; wParam
// and lParam become the event's two arguments.
inline constexpr std::uint32_t WM_LABEL_FEEDBACK = 0x8075;
