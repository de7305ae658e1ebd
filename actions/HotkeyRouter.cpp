#include "actions/HotkeyRouter.h"
#include "platform/Hotkey.h"
#include "platform/Messages.h"

namespace HotkeyRouter {

State state;

std::uint32_t modifierFlagsOf(std::int32_t code) {
    using namespace platform::modifier;
    switch (code) {
    case 0:
        return 0;
    case 1:
        return control;
    case 2:
        return shift;
    case 3:
        return control | shift;
    case 4:
        return alt;
    case 5:
        return control | alt;
    case 6:
        return shift | alt;
    default:
        return static_cast<std::uint32_t>(code);
    }
}

std::int32_t registerGlobalHotkey(platform::WindowHandle owner, platform::WindowHandle target,
                                  std::int32_t code, std::int32_t vk) {
    state.target = target;
    const std::uint32_t flags = modifierFlagsOf(code);
    // One hook for the program's life: later registrations reuse it, whatever owner
    // they name, and hooking twice would make the router call itself.
    if (state.previousProcedure == platform::noProcedure) {
        state.previousProcedure = platform::replaceWindowProcedure(owner, &routeMessage);
    }
    ++state.attemptCounter;
    state.latestIdentifier = identifierBase + static_cast<std::uint32_t>(state.attemptCounter);
    const auto identifier = static_cast<std::int32_t>(state.latestIdentifier);
    return platform::registerHotKey(owner, identifier, flags, static_cast<std::uint32_t>(vk))
               ? identifier
               : 0;
}

std::intptr_t routeMessage(platform::WindowHandle window, std::uint32_t message,
                           std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == platform::message::hotkey) {
        for (std::uint32_t identifier = identifierBase + 1; identifier <= state.latestIdentifier;
             ++identifier) {
            if (identifier == wParam) {
                platform::sendMessage(state.target, WM_LABEL_FEEDBACK, identifier, 0);
            }
        }
    }
    return platform::callWindowProcedure(state.previousProcedure, window, message, wParam, lParam);
}

} // namespace HotkeyRouter
