#pragma once

// Shared set-up of the host tests: the program's globals and the fake platform start
// afresh for every test, whether the tests run in one process or one each.

#include "actions/HotkeyCapture.h"
#include "actions/HotkeyRouter.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ShellState.h"
#include "bank/QuestionBank.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "tests/unit/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline void resetProgram() {
    fake::reset();
    exitRoutines.clear();
    QuestionBank::answerRecords = QuestionBank::RecordList{};
    answerHotkeyId = 0;
    HotkeyRouter::state = {};
    shellState = ShellState{};
}

// The whole program, from its entry until the process ends; returns the exit code.
inline int runWholeProgram() {
    try {
        platform::programMain();
    } catch (const fake::ProcessEnded& ended) {
        return ended.exitCode;
    }
    ADD_FAILURE() << "the program returned instead of ending the process";
    return 1000;
}

// A queued message that closes the main window as its close button would.
inline fake::Message closeRequest() {
    return [](platform::KeyOffer) {
        platform::sendMessage(fake::mainWindow, platform::message::close, 0, 0);
    };
}

// The main window built as at start-up, hot key registered and bank loaded; the log
// starts empty afterwards.
inline void buildMainWindow() {
    initSystem();
    loadMainWindow();
    fake::state.log.clear();
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { resetProgram(); }
    void TearDown() override { resetProgram(); }
};
