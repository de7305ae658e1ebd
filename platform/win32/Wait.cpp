#include "platform/Wait.h"
#include "platform/win32/Win32.h"

namespace platform {

void sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

} // namespace platform
