#include "platform/Shell.h"
#include "platform/win32/Win32.h"

#include <shellapi.h>

namespace platform {

using namespace win32;

WindowHandle findTopLevelWindow(std::string_view title) {
    if (ansiIsGbk()) {
        const std::string copy(title);
        return handleOf(FindWindowExA(nullptr, nullptr, nullptr, copy.c_str()));
    }
    return handleOf(FindWindowExW(nullptr, nullptr, nullptr, wideOfGbk(title).c_str()));
}

void shellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                  ShowCommand show) {
    static_assert(static_cast<int>(ShowCommand::normal) == SW_SHOWNORMAL);
    if (ansiIsGbk()) {
        const std::string verbCopy(verb);
        const std::string fileCopy(file);
        ShellExecuteA(hwndOf(owner), verbCopy.c_str(), fileCopy.c_str(), nullptr, nullptr,
                      static_cast<int>(show));
    } else {
        ShellExecuteW(hwndOf(owner), wideOfGbk(verb).c_str(), wideOfGbk(file).c_str(), nullptr,
                      nullptr, static_cast<int>(show));
    }
}

} // namespace platform
