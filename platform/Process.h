#pragma once

// The process and its thread: OLE, the error box, the program's own resources, the end.

#include <string_view>

namespace platform {

// OLE for the calling thread, in a single-threaded apartment; false if it failed.
bool initializeOle();
void uninitializeOle();

// A modal error box with no owner window; returns when the user dismisses it.
void showErrorBox(std::string_view text, std::string_view caption) noexcept;

// Releases what the platform layer set up for the program (its window class, say).
void releaseProgramResources();

[[noreturn]] void endProcess(int exitCode);

// The program's entry, defined by the program: the process entry calls it, ignoring
// the command line, and the process ends with what it returns.
int programMain();

} // namespace platform
