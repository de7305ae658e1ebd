#pragma once

// Shared by the Windows implementation of the platform layer only.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/Handles.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::win32 {

inline HWND hwndOf(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

inline WindowHandle handleOf(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

// Every text of the program is GBK. Where the system's 8-bit code page is GBK the
// 8-bit (A) functions take it as it is; elsewhere they would garble it, so the wide
// (W) functions are used with an explicit conversion through code page 936.
bool ansiIsGbk();

inline constexpr UINT gbkCodePage = 936;

std::wstring wideOfGbk(std::string_view gbk);
// Characters that GBK cannot hold become "?".
std::string gbkOfWide(std::wstring_view wide);

} // namespace platform::win32

namespace platform::win32 {

void unregisterMainClass();

} // namespace platform::win32
