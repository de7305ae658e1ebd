#pragma once

// System-wide hot keys and the replacement of a window's procedure.

#include "platform/Handles.h"

#include <cstdint>

namespace platform {

// Modifier flags of a hot key, with the system's values.
namespace modifier {
inline constexpr std::uint32_t alt = 0x1;
inline constexpr std::uint32_t control = 0x2;
inline constexpr std::uint32_t shift = 0x4;
inline constexpr std::uint32_t windows = 0x8;
inline constexpr std::uint32_t noRepeat = 0x4000;
} // namespace modifier

// The system posts the hot key's notifications (message::hotkey, wParam = id) to owner.
bool registerHotKey(WindowHandle owner, std::int32_t id, std::uint32_t modifiers,
                    std::uint32_t key);

using MessageHook = std::intptr_t (*)(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam);

// Makes `hook` the window procedure of `window` and returns the procedure it replaced
// (noProcedure on failure). The program has one hook; installing another replaces it.
WindowProcedure replaceWindowProcedure(WindowHandle window, MessageHook hook);

// Runs a window procedure that replaceWindowProcedure returned.
std::intptr_t callWindowProcedure(WindowProcedure procedure, WindowHandle window,
                                  std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam);

} // namespace platform
