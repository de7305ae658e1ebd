#include "platform/Input.h"

namespace platform {

namespace {

std::uint8_t lowByte(std::int32_t key) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(key) & 0xFFu);
}

} // namespace

void sendKeyChord(std::int32_t k1, std::int32_t k2, std::int32_t k3) {
    // Released in the order pressed, not the reverse: the target has seen C go down
    // with Ctrl held before anything is released, which is all a copy needs.
    sendKeyEvent(lowByte(k1), KeyDirection::down);
    if (k2 != 0) {
        sendKeyEvent(lowByte(k2), KeyDirection::down);
    }
    if (k3 != 0) {
        sendKeyEvent(lowByte(k3), KeyDirection::down);
    }
    sendKeyEvent(lowByte(k1), KeyDirection::up);
    if (k2 != 0) {
        sendKeyEvent(lowByte(k2), KeyDirection::up);
    }
    if (k3 != 0) {
        sendKeyEvent(lowByte(k3), KeyDirection::up);
    }
}

} // namespace platform
