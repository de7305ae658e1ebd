#include "platform/Process.h"
#include "platform/win32/Win32.h"

#include <ole2.h>

namespace platform {

using namespace win32;

bool initializeOle() {
    return SUCCEEDED(OleInitialize(nullptr));
}

void uninitializeOle() {
    OleUninitialize();
}

void showErrorBox(std::string_view text, std::string_view caption) noexcept {
    const UINT type = MB_OK | MB_ICONERROR | MB_TASKMODAL;
    try {
        if (ansiIsGbk()) {
            MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), type);
        } else {
            MessageBoxW(nullptr, wideOfGbk(text).c_str(), wideOfGbk(caption).c_str(), type);
        }
    } catch (...) {
        // No memory even for the message: the box still tells that something failed.
        MessageBoxW(nullptr, L"Brindlow", nullptr, type);
    }
}

void releaseProgramResources() {
    unregisterMainClass();
}

void endProcess(int exitCode) {
    ExitProcess(static_cast<UINT>(exitCode));
}

} // namespace platform
