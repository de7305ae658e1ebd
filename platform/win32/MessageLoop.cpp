#include "platform/MessageLoop.h"
#include "platform/win32/Win32.h"

namespace platform {

using namespace win32;

namespace {

bool isKeyDown(const MSG& message) {
    return message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
}

bool held(int key) {
    return GetKeyState(key) < 0;
}

bool offerKey(const MSG& message, KeyOffer offer) {
    if (offer == nullptr || !isKeyDown(message) || message.hwnd == nullptr) {
        return false;
    }
    const KeyPress press{static_cast<std::int32_t>(message.wParam), held(VK_CONTROL),
                         held(VK_SHIFT), held(VK_MENU)};
    for (HWND window = message.hwnd; window != nullptr;) {
        if (offer(handleOf(window), press)) {
            return true;
        }
        const auto windowStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
        // A top-level window's "parent" would be its owner, which is not in the chain.
        window = (windowStyle & WS_CHILD) != 0 ? GetParent(window) : nullptr;
    }
    return false;
}

void dispatch(const MSG& message) {
    TranslateMessage(&message);
    if (ansiIsGbk()) {
        DispatchMessageA(&message);
    } else {
        DispatchMessageW(&message);
    }
}

} // namespace

void processPendingMessages() {
    MSG message{};
    while (ansiIsGbk() ? PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)
                       : PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: leave it for the message loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

int pumpMessages(KeyOffer offer) {
    MSG message{};
    for (;;) {
        const BOOL got = ansiIsGbk() ? GetMessageA(&message, nullptr, 0, 0)
                                     : GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 0;
        }
        if (!offerKey(message, offer)) {
            dispatch(message);
        }
    }
}

void postQuit(int code) {
    PostQuitMessage(code);
}

} // namespace platform
