#pragma once

// Synthesised keystrokes.

#include <cstdint>

namespace platform {

enum class KeyDirection { down, up };

// One keyboard event into the system's input: scan code 0, no extra information.
void sendKeyEvent(std::uint8_t key, KeyDirection direction);

// One press of up to three keys: each pressed in turn, then each released in the same
// order. A key code of 0 (k2, k3) stands for no key; only the low 8 bits of a code
// count.
void sendKeyChord(std::int32_t k1, std::int32_t k2, std::int32_t k3 = 0);

} // namespace platform
