#pragma once

#include "platform/Handles.h"

#include <string_view>

namespace platform {

// The first top-level window whose title is `title` (any class), or noWindow.
WindowHandle findTopLevelWindow(std::string_view title);

enum class ShowCommand { normal = 1 };

// Asks the shell to apply `verb` to `file`, with no parameters and no directory;
// `owner` owns whatever the shell shows meanwhile. The outcome is not reported.
void shellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                  ShowCommand show);

} // namespace platform
