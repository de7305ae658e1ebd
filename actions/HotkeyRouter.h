#pragma once

// System-wide hot keys whose notifications reach a label's feedback event: the system
// tells the owner window, whose procedure the router has taken over, and the router
// sends WM_LABEL_FEEDBACK to the notification target.

#include "platform/Handles.h"

#include <cstdint>

namespace HotkeyRouter {

inline constexpr std::uint32_t identifierBase = 33000;

struct State {
    std::int32_t attemptCounter = 0;               // registration attempts so far, failed ones too
    std::uint32_t latestIdentifier = 0;            // identifierBase + attemptCounter
    platform::WindowHandle target{};               // serves every hot key of the router
    platform::WindowProcedure previousProcedure{}; // the owner's, before the router's
};

// The router's one instance.
extern State state;

// The system modifier flags for a modifier code: 0 none, 1 Ctrl, 2 Shift, 3 Ctrl+Shift,
// 4 Alt, 5 Ctrl+Alt, 6 Shift+Alt; any other code is taken as flags already.
std::uint32_t modifierFlagsOf(std::int32_t code);

// Registers the key `vk` with the modifiers of `code` as a hot key of `owner`, whose
// notifications go to `target`'s feedback event. Returns the new identifier, 33000 + the
// number of attempts so far, or 0 when the system refuses the key.
std::int32_t registerGlobalHotkey(platform::WindowHandle owner, platform::WindowHandle target,
                                  std::int32_t code, std::int32_t vk);

// The router's window procedure on the owner window.
std::intptr_t routeMessage(platform::WindowHandle window, std::uint32_t message,
                           std::uintptr_t wParam, std::intptr_t lParam);

} // namespace HotkeyRouter
