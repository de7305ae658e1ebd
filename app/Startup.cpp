#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ShellState.h"
#include "bank/QuestionBank.h"
#include "platform/MessageLoop.h"
#include "platform/Process.h"
#include "platform/Window.h"

#include <algorithm>
#include <exception>

std::vector<ExitRoutine> exitRoutines;

void initSystem() {
    shellState.oleInitialised = platform::initializeOle();
    shellState.description = &mainWindowDescription();
}

void registerExitRoutine(ExitRoutine routine) {
    if (std::find(exitRoutines.begin(), exitRoutines.end(), routine) == exitRoutines.end()) {
        exitRoutines.push_back(routine);
    }
}

int startProgram() {
    try {
        initSystem();
        QuestionBank::answerRecords = QuestionBank::RecordList{};
        registerExitRoutine(&releaseAnswerRecords);
        loadMainWindow();
    } catch (const std::exception&) {
        // Only want of memory gets here: nothing else in start-up throws.
        endWithErrorBox();
    }
    runMessageLoop();
    return 0;
}

void runMessageLoop() {
    if (!platform::anyWindowExists()) {
        return;
    }
    shellState.loopBegun = true;
    shellState.quitCode = platform::pumpMessages(&takeWindowKey);
}

int quitRequestCode() {
    return shellState.quitCode;
}

void applyQuitRule() {
    if (!platform::anyWindowExists() && shellState.loopBegun) {
        platform::postQuit(0);
    }
}

void releaseAnswerRecords() {
    QuestionBank::RecordList released;
    released.swap(QuestionBank::answerRecords);
    // `released` goes here, with every record; answerRecords is left holding nothing.
}

void shutDown(std::int32_t exitCode) {
    shellState.handlersBlocked = true;
    // A routine registered while these run is not run.
    const std::size_t count = exitRoutines.size();
    for (std::size_t i = 0; i < count; ++i) {
        exitRoutines[i]();
    }
    exitRoutines.clear();
    platform::releaseProgramResources();
    if (shellState.oleInitialised) {
        shellState.oleInitialised = false;
        platform::uninitializeOle();
    }
    platform::endProcess(exitCode);
}

void endWithErrorBox() {
    shellState.handlersBlocked = true;
    platform::showErrorBox("Brindlow 遇到无法继续的错误，即将退出。", "Brindlow");
    exitRoutines.clear();
    shutDown(-1);
}
