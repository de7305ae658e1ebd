#include "platform/win32/Win32.h"

#include <climits>

namespace platform::win32 {

bool ansiIsGbk() {
    static const bool gbk = GetACP() == gbkCodePage;
    return gbk;
}

std::wstring wideOfGbk(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(gbk.size());
    const int needed = MultiByteToWideChar(gbkCodePage, 0, gbk.data(), length, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written =
        MultiByteToWideChar(gbkCodePage, 0, gbk.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

namespace {

bool isHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Characters beyond the basic plane are never in GBK; each becomes one "?", not one for
// each half of its surrogate pair.
std::wstring withoutSurrogatePairs(std::wstring_view wide) {
    std::wstring out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            out += L'?';
            ++i;
        } else {
            out += wide[i];
        }
    }
    return out;
}

} // namespace

std::string gbkOfWide(std::wstring_view original) {
    std::wstring replaced;
    std::wstring_view wide = original;
    for (std::size_t i = 0; i + 1 < original.size(); ++i) {
        if (isHighSurrogate(original[i]) && isLowSurrogate(original[i + 1])) {
            replaced = withoutSurrogatePairs(original);
            wide = replaced;
            break;
        }
    }
    if (wide.empty() || wide.size() > INT_MAX) {
        return {};
    }
    // No best-fit mapping: a character GBK lacks must not turn into a look-alike that
    // the lookup would then search for.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const char unknown[] = "?";
    const int length = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(gbkCodePage, flags, wide.data(), length, nullptr, 0, unknown, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string gbk(static_cast<std::size_t>(needed), '\0');
    const int written = WideCharToMultiByte(gbkCodePage, flags, wide.data(), length, gbk.data(),
                                            needed, unknown, nullptr);
    gbk.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return gbk;
}

} // namespace platform::win32
