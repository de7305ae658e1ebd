// Start-up, the message loop, the exit routines, shutdown and the fatal path.

#include "app/WindowDescription.h"
#include "bank/QuestionBankData.h"
#include "tests/unit/Fixture.h"

#include <climits>
#include <new>

namespace {

using StartUp = ProgramTest;
using Shutdown = ProgramTest;
using FatalPath = ProgramTest;
using MessageLoop = ProgramTest;
using Keys = ProgramTest;
using Centring = ProgramTest;

void firstRoutine() {
    fake::state.log.push_back("exit routine first");
}
void secondRoutine() {
    fake::state.log.push_back("exit routine second");
}
void lateRoutine() {
    fake::state.log.push_back("exit routine late");
}
void registeringRoutine() {
    fake::state.log.push_back("exit routine registering");
    registerExitRoutine(&lateRoutine);
}

// Expects the lines, each a prefix of a log line, to appear in this order.
void expectInOrder(const std::vector<std::string>& prefixes) {
    int previous = -1;
    for (const std::string& prefix : prefixes) {
        int found = -1;
        for (std::size_t i = static_cast<std::size_t>(previous + 1); i < fake::state.log.size();
             ++i) {
            if (fake::state.log[i].rfind(prefix, 0) == 0) {
                found = static_cast<int>(i);
                break;
            }
        }
        EXPECT_NE(found, -1) << "'" << prefix << "' missing after line " << previous;
        if (found == -1) {
            return;
        }
        previous = found;
    }
}

TEST_F(StartUp, RegistersTheHotKeyAndLoadsTheBankBeforeTheWindowIsShown) {
    const QuestionBank::RecordList bank = QuestionBank::recordsOfBank(QuestionBank::questionBank());
    ASSERT_FALSE(bank.empty());
    std::size_t recordsAtRegistration = 99;
    std::size_t recordsWhenShown = 0;
    fake::state.whenHotKeyRegistered = [&] {
        recordsAtRegistration = QuestionBank::answerRecords.size();
    };
    fake::state.observer = [&](const std::string& line) {
        if (line == "showWindow #main normal") {
            recordsWhenShown = QuestionBank::answerRecords.size();
        }
    };
    fake::state.queue.push_back(closeRequest());

    EXPECT_EQ(runWholeProgram(), 0);

    expectInOrder({"initializeOle", "processPendingMessages", "createMainWindow",
                   "createControl 140", "processPendingMessages", "registerHotKey #main 33001",
                   "showWindow #main normal", "pumpMessages", "destroy #main", "postQuit 0",
                   "pumpMessages returns", "releaseProgramResources", "uninitializeOle",
                   "endProcess 0"});
    EXPECT_EQ(recordsAtRegistration, 0u) << "the bank was loaded before the hot key";
    EXPECT_EQ(recordsWhenShown, bank.size()) << "the window was shown before the bank was loaded";
    EXPECT_EQ(fake::countLog("showWindow #main"), 1u);
    EXPECT_EQ(answerHotkeyId, 33001);
}

TEST_F(StartUp, StartsWithAnEmptyRecordListAndTheReleaseRoutineRegistered) {
    QuestionBank::answerRecords = {"left", "over"};
    fake::state.mainWindowFails = true; // stop right after the first steps
    fake::state.observer = [](const std::string& line) {
        if (line == "createMainWindow") {
            EXPECT_TRUE(QuestionBank::answerRecords.empty());
            ASSERT_EQ(exitRoutines.size(), 1u);
            EXPECT_EQ(exitRoutines[0], &releaseAnswerRecords);
        }
    };
    EXPECT_EQ(runWholeProgram(), -1);
    EXPECT_EQ(fake::countLog("createMainWindow"), 1u);
}

TEST_F(StartUp, RegisteringAnExitRoutineTwiceKeepsOneEntry) {
    registerExitRoutine(&releaseAnswerRecords);
    registerExitRoutine(&firstRoutine);
    registerExitRoutine(&releaseAnswerRecords);
    registerExitRoutine(&firstRoutine);
    EXPECT_EQ(exitRoutines, (std::vector<ExitRoutine>{&releaseAnswerRecords, &firstRoutine}));
}

TEST_F(Shutdown, RunsEachExitRoutineOnceInOrderAfterTheLoopHasEnded) {
    registerExitRoutine(&firstRoutine);
    registerExitRoutine(&secondRoutine);
    registerExitRoutine(&firstRoutine);
    fake::state.queue.push_back(closeRequest());

    EXPECT_EQ(runWholeProgram(), 0);

    EXPECT_EQ(fake::countLog("exit routine first"), 1u);
    EXPECT_EQ(fake::countLog("exit routine second"), 1u);
    expectInOrder({"pumpMessages returns", "exit routine first", "exit routine second",
                   "releaseProgramResources", "uninitializeOle", "endProcess 0"});
    EXPECT_EQ(fake::state.log.back(), "endProcess 0") << "OLE must be the last to go";
    EXPECT_TRUE(exitRoutines.empty());
    // releaseAnswerRecords, registered by start-up, ran too.
    EXPECT_TRUE(QuestionBank::answerRecords.empty());
    EXPECT_EQ(QuestionBank::answerRecords.capacity(), 0u);
}

TEST_F(Shutdown, DoesNotRunARoutineRegisteredWhileTheRoutinesRun) {
    registerExitRoutine(&registeringRoutine);
    EXPECT_THROW(shutDown(7), fake::ProcessEnded);
    EXPECT_EQ(fake::countLog("exit routine registering"), 1u);
    EXPECT_EQ(fake::countLog("exit routine late"), 0u);
    EXPECT_TRUE(exitRoutines.empty());
    EXPECT_EQ(fake::state.log.back(), "endProcess 7");
}

TEST_F(Shutdown, LeavesOleAloneWhenStartUpCouldNotInitialiseIt) {
    fake::state.oleSucceeds = false;
    fake::state.queue.push_back(closeRequest());
    EXPECT_EQ(runWholeProgram(), 0);
    EXPECT_EQ(fake::countLog("uninitializeOle"), 0u);
}

TEST_F(Shutdown, ReleasesEveryRecordListWhole) {
    const std::vector<QuestionBank::RecordList> lists{
        {},
        {"", "a", ""},
        {"", "\r\n", "record"},
        QuestionBank::recordsOfBank(QuestionBank::questionBank()),
    };
    for (const QuestionBank::RecordList& list : lists) {
        QuestionBank::answerRecords = list;
        releaseAnswerRecords();
        EXPECT_TRUE(QuestionBank::answerRecords.empty()) << list.size() << " records";
        EXPECT_EQ(QuestionBank::answerRecords.capacity(), 0u) << list.size() << " records";
    }
}

struct FatalCase {
    const char* name;
    void (*arrange)();
    bool windowWasUp; // shown, and the message loop running
};

const FatalCase fatalCases[] = {
    {"the main window cannot be created", [] { fake::state.mainWindowFails = true; }, false},
    {"标签1 cannot be created", [] { fake::state.failingControlId = 100; }, false},
    {"编辑框2 cannot be created", [] { fake::state.failingControlId = 120; }, false},
    {"标签2 cannot be created", [] { fake::state.failingControlId = 140; }, false},
    {"no memory for the clipboard text during a capture",
     [] {
         fake::state.clipboard = []() -> std::string { throw std::bad_alloc(); };
         fake::state.queue.push_back(fake::hotkey(33001));
     },
     true},
};

TEST_F(FatalPath, ShowsTheErrorBoxAndEndsWithMinusOneWithoutTheExitRoutines) {
    for (const FatalCase& fatal : fatalCases) {
        SCOPED_TRACE(fatal.name);
        resetProgram();
        registerExitRoutine(&firstRoutine);
        fatal.arrange();

        EXPECT_EQ(runWholeProgram(), -1);

        EXPECT_EQ(fake::countLog("showErrorBox"), 1u);
        EXPECT_EQ(fake::countLog("exit routine"), 0u);
        EXPECT_TRUE(exitRoutines.empty());
        expectInOrder(
            {"showErrorBox", "releaseProgramResources", "uninitializeOle", "endProcess -1"});
        if (fake::state.failingControlId != 0) {
            EXPECT_EQ(fake::state.log[static_cast<std::size_t>(fake::logIndex("showErrorBox")) - 1],
                      "createControl " + std::to_string(fake::state.failingControlId))
                << "building stops at the control that failed";
        }
        EXPECT_EQ(fake::countLog("showWindow #main normal"), fatal.windowWasUp ? 1u : 0u);
        EXPECT_EQ(fake::countLog("pumpMessages"), fatal.windowWasUp ? 1u : 0u);
    }
}

TEST_F(FatalPath, BuildingTheWindowWithoutItsDescriptionEndsInTheErrorBox) {
    EXPECT_THROW(loadMainWindow(), fake::ProcessEnded);
    EXPECT_EQ(fake::countLog("showErrorBox"), 1u);
    EXPECT_EQ(fake::countLog("createMainWindow"), 0u);
    EXPECT_EQ(fake::state.log.back(), "endProcess -1");
}

TEST_F(FatalPath, RunsNoHandlerWhileTheErrorBoxIsOpen) {
    fake::state.failingControlId = 140;
    fake::state.observer = [](const std::string& line) {
        if (line.rfind("showErrorBox", 0) == 0 && fake::state.events.controlCommand != nullptr) {
            fake::state.events.controlCommand(130, platform::buttonClicked);
        }
    };
    EXPECT_EQ(runWholeProgram(), -1);
    EXPECT_EQ(fake::countLog("shellExecute"), 0u);
}

TEST_F(MessageLoop, ReturnsAtOnceWhenNoWindowExists) {
    runMessageLoop();
    EXPECT_EQ(fake::countLog("pumpMessages"), 0u);
    EXPECT_EQ(quitRequestCode(), 0);
}

TEST_F(MessageLoop, EndsWhenTheWindowIsClosedAndTheProgramExitsWithZero) {
    fake::state.queue.push_back(fake::click(130));
    fake::state.queue.push_back(closeRequest());
    EXPECT_EQ(runWholeProgram(), 0);
    EXPECT_EQ(fake::countLog("shellExecute"), 1u) << "the click before closing was handled";
    EXPECT_EQ(fake::countLog("postQuit"), 1u);
}

TEST_F(MessageLoop, PostsTheQuitRequestOnlyOnceTheLoopHasBegun) {
    buildMainWindow();
    platform::sendMessage(fake::mainWindow, platform::message::close, 0, 0);
    EXPECT_EQ(fake::countLog("destroy #main"), 1u);
    EXPECT_EQ(fake::countLog("postQuit"), 0u);
    runMessageLoop(); // no window left: returns at once
    EXPECT_EQ(fake::countLog("pumpMessages"), 0u);
}

TEST_F(MessageLoop, DropsEventsRaisedWhileTheWindowIsBuilt) {
    answerHotkeyId = 33001; // so that a feedback reaching the handler would capture
    fake::state.observer = [](const std::string& line) {
        if (line == "processPendingMessages") {
            fake::state.pending.push_back([] {
                if (fake::state.events.controlCommand != nullptr) {
                    fake::state.events.controlCommand(130, platform::buttonClicked);
                }
            });
            fake::state.pending.push_back([] {
                platform::sendMessage(fake::controlHandle(100), WM_LABEL_FEEDBACK, 33001, 0);
            });
        }
    };
    initSystem();
    loadMainWindow();
    EXPECT_EQ(fake::countLog("processPendingMessages"), 2u);
    EXPECT_EQ(fake::countLog("sendMessage #100 0x8075"), 1u) << "sent once the label existed";
    EXPECT_EQ(fake::countLog("shellExecute"), 0u);
    EXPECT_EQ(fake::countLog("sendKeyEvent"), 0u);

    fake::state.observer = nullptr;
    fake::state.events.controlCommand(130, platform::buttonClicked);
    EXPECT_EQ(fake::countLog("shellExecute"), 1u) << "handlers run once the window is built";
}

struct KeyCase {
    const char* name;
    platform::WindowHandle target;
    platform::KeyPress press;
    bool closes;
    bool reachesTheControl;
};

const KeyCase keyCases[] = {
    {"plain Esc on 按钮1", fake::controlHandle(130), {0x1B}, true, false},
    {"plain Esc on the main window", fake::mainWindow, {0x1B}, true, false},
    {"Shift+Esc", fake::controlHandle(130), {0x1B, false, true, false}, false, true},
    {"Ctrl+Esc", fake::controlHandle(130), {0x1B, true, false, false}, false, true},
    {"Alt+Esc", fake::controlHandle(130), {0x1B, false, false, true}, false, true},
    {"plain Enter", fake::controlHandle(130), {0x0D}, false, false},
    {"Shift+Enter", fake::controlHandle(130), {0x0D, false, true, false}, false, true},
    {"space bar", fake::controlHandle(130), {0x20}, false, true},
    {"Q", fake::controlHandle(130), {0x51}, false, true},
};

TEST_F(Keys, PlainEscClosesTheWindowAndPlainEnterDoesNothing) {
    for (const KeyCase& key : keyCases) {
        SCOPED_TRACE(key.name);
        resetProgram();
        fake::state.queue.push_back(fake::keyDown(key.target, key.press));
        fake::state.queue.push_back([](platform::KeyOffer) {
            fake::state.log.push_back(platform::anyWindowExists() ? "probe: window open"
                                                                  : "probe: window gone");
        });
        if (!key.closes) {
            fake::state.queue.push_back(closeRequest());
        }

        EXPECT_EQ(runWholeProgram(), 0);

        EXPECT_EQ(fake::countLog(key.closes ? "probe: window gone" : "probe: window open"), 1u);
        EXPECT_EQ(fake::countLog("dispatch key"), key.reachesTheControl ? 1u : 0u);
        if (key.reachesTheControl) {
            EXPECT_EQ(fake::logLines("dispatch key")[0], "dispatch key " +
                                                             std::to_string(key.press.key) +
                                                             " to " + fake::nameOf(key.target));
        }
    }
}

TEST_F(Keys, OnlyTheMainWindowTakesKeys) {
    buildMainWindow();
    for (int id : {100, 110, 120, 130, 140}) {
        EXPECT_FALSE(takeWindowKey(fake::controlHandle(id), {0x1B})) << id;
        EXPECT_FALSE(takeWindowKey(fake::controlHandle(id), {0x0D})) << id;
    }
    EXPECT_TRUE(takeWindowKey(fake::mainWindow, {0x0D}));
    EXPECT_EQ(fake::countLog("sendMessage"), 0u);
}

struct CentringCase {
    platform::Size screen;
    int left;
    int top;
};

const CentringCase centringCases[] = {
    {{1024, 768}, 246, 120}, {{1920, 1080}, 694, 276}, {{500, 768}, -15, 120},
    {{531, 528}, 0, 0},      {{530, 527}, 0, 0},       {{1, 1}, -265, -263},
    {{1366, 768}, 417, 120}, {{800, 600}, 134, 36},
};

TEST_F(Centring, CentresOnThePrimaryScreenTruncatingTowardZero) {
    for (const CentringCase& centring : centringCases) {
        SCOPED_TRACE(std::to_string(centring.screen.width) + "x" +
                     std::to_string(centring.screen.height));
        EXPECT_EQ(centredOuterRect(centring.screen, 531, 528),
                  (platform::Rect{centring.left, centring.top, 531, 528}));

        resetProgram();
        fake::state.screen = centring.screen;
        buildMainWindow();
        const fake::CreatedWindow* window = fake::createdWindow(fake::mainWindow);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->rect, (platform::Rect{centring.left, centring.top, 531, 528}));
    }
}

TEST_F(Centring, ResizesAWindowThatTheSystemMadeAnotherSize) {
    buildMainWindow();
    EXPECT_EQ(fake::countLog("resizeWindow"), 0u);

    resetProgram();
    fake::state.createdOuterSize = platform::Size{520, 500};
    initSystem();
    loadMainWindow();
    EXPECT_EQ(fake::logLines("resizeWindow"),
              std::vector<std::string>{"resizeWindow #main 531x528"});
    EXPECT_LT(fake::logIndex("resizeWindow"), fake::logIndex("showWindow #main"));
}

} // namespace
