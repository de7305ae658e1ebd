#include "platform/Hotkey.h"
#include "platform/win32/Win32.h"

namespace platform {

static_assert(modifier::alt == MOD_ALT && modifier::control == MOD_CONTROL &&
              modifier::shift == MOD_SHIFT && modifier::windows == MOD_WIN);

using namespace win32;

namespace {

MessageHook installedHook = nullptr;

LRESULT CALLBACK hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return installedHook(handleOf(window), message, wParam, lParam);
}

} // namespace

bool registerHotKey(WindowHandle owner, std::int32_t id, std::uint32_t modifiers,
                    std::uint32_t key) {
    return RegisterHotKey(hwndOf(owner), id, modifiers, key) != FALSE;
}

WindowProcedure replaceWindowProcedure(WindowHandle window, MessageHook hook) {
    installedHook = hook;
    const HWND target = hwndOf(window);
#if defined(_WIN64)
    const auto value = reinterpret_cast<LONG_PTR>(hookProcedure);
    const LONG_PTR previous = ansiIsGbk() ? SetWindowLongPtrA(target, GWLP_WNDPROC, value)
                                          : SetWindowLongPtrW(target, GWLP_WNDPROC, value);
#else
    const auto value = reinterpret_cast<LONG>(hookProcedure);
    const LONG previous = ansiIsGbk() ? SetWindowLongA(target, GWL_WNDPROC, value)
                                      : SetWindowLongW(target, GWL_WNDPROC, value);
#endif
    return static_cast<WindowProcedure>(static_cast<std::uintptr_t>(previous));
}

std::intptr_t callWindowProcedure(WindowProcedure procedure, WindowHandle window,
                                  std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(static_cast<std::uintptr_t>(procedure));
    return ansiIsGbk() ? CallWindowProcA(previous, hwndOf(window), message, wParam, lParam)
                       : CallWindowProcW(previous, hwndOf(window), message, wParam, lParam);
}

} // namespace platform
