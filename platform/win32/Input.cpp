#include "platform/Input.h"
#include "platform/win32/Win32.h"

namespace platform {

void sendKeyEvent(std::uint8_t key, KeyDirection direction) {
    keybd_event(key, 0, direction == KeyDirection::up ? KEYEVENTF_KEYUP : 0, 0);
}

} // namespace platform
