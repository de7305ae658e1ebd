#pragma once

#include <cstdint>

namespace platform {

// Blocks the thread; no messages are processed meanwhile.
void sleep(std::uint32_t milliseconds);

// As sleep; a negative duration counts as 0.
void waitMilliseconds(std::int32_t milliseconds);

} // namespace platform
