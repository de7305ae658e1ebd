#include "platform/Wait.h"

namespace platform {

void waitMilliseconds(std::int32_t milliseconds) {
    sleep(milliseconds < 0 ? 0u : static_cast<std::uint32_t>(milliseconds));
}

} // namespace platform
