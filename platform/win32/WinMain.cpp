#include "platform/Process.h"
#include "platform/win32/Win32.h"

// The process entry of a GUI program. The command line is not looked at.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return platform::programMain();
}
