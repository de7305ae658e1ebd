#pragma once

// Opaque handles of the platform layer. The program passes them around and compares
// them, never looks inside them; only the platform's own implementation knows what the
// value stands for.

#include <cstdint>

namespace platform {

enum class WindowHandle : std::uintptr_t {};
enum class WindowProcedure : std::uintptr_t {};

inline constexpr WindowHandle noWindow{};
inline constexpr WindowProcedure noProcedure{};

} // namespace platform
