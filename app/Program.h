#pragma once

// The frame of the process: start-up, the message loop, the exit routines, shutdown
// and the one way out after a failure the program cannot continue from.

#include <cstdint>
#include <vector>

using ExitRoutine = void (*)();

// Run once each, in the order registered, when the program shuts down.
extern std::vector<ExitRoutine> exitRoutines;

// Start-up up to the end of the message loop; returns 0 once the loop has ended.
int startProgram();
// OLE for this thread, and the main window's description.
void initSystem();
// Appends the routine unless it is already there.
void registerExitRoutine(ExitRoutine routine);
// Dispatches the thread's messages until the quit request; returns at once if the
// program has no window.
void runMessageLoop();
// The code that the quit request carried, once the loop has ended.
int quitRequestCode();
// The exit routine that releases answerRecords with every record.
void releaseAnswerRecords();
// Runs the exit routines, releases the program's resources, OLE last, and ends the
// process with the code.
[[noreturn]] void shutDown(std::int32_t exitCode);
// The end after a failure the program cannot continue from: an error box with no
// owner, then the process ends with -1 without running the exit routines.
[[noreturn]] void endWithErrorBox();
// Posts the quit request once no window of the program is left and the loop has begun.
void applyQuitRule();
