// The hot-key router: registration, identifiers, the hook and the relay.

#include "bank/QuestionBankData.h"
#include "platform/Hotkey.h"

#include "tests/unit/Fixture.h"
#include <sstream>

namespace {

using Router = ProgramTest;
using Registration = ProgramTest;

constexpr platform::WindowHandle owner{0x51};
constexpr platform::WindowHandle otherOwner{0x52};
constexpr platform::WindowHandle target{0x61};
constexpr platform::WindowHandle otherTarget{0x62};

struct ModifierCase {
    std::int32_t code;
    std::uint32_t flags;
};

const ModifierCase modifierCases[] = {
    {0, 0},
    {1, platform::modifier::control},
    {2, platform::modifier::shift},
    {3, platform::modifier::control | platform::modifier::shift},
    {4, platform::modifier::alt},
    {5, platform::modifier::control | platform::modifier::alt},
    {6, platform::modifier::shift | platform::modifier::alt},
    {7, 7},
    {8, 8},
    {0x4000, 0x4000},
    {-1, 0xFFFFFFFFu},
};

TEST_F(Router, TurnsModifierCodesIntoSystemFlags) {
    for (const ModifierCase& modifier : modifierCases) {
        EXPECT_EQ(HotkeyRouter::modifierFlagsOf(modifier.code), modifier.flags) << modifier.code;

        resetProgram();
        HotkeyRouter::registerGlobalHotkey(owner, target, modifier.code, 81);
        EXPECT_EQ(fake::logLines("registerHotKey"),
                  std::vector<std::string>{"registerHotKey #0x51 33001 " +
                                           std::to_string(modifier.flags) + " 81"})
            << modifier.code;
    }
}

TEST_F(Registration, NumbersAttemptsFrom33001AndHooksTheFirstOwnerOnce) {
    EXPECT_EQ(HotkeyRouter::registerGlobalHotkey(owner, target, 0, 81), 33001);
    EXPECT_EQ(HotkeyRouter::registerGlobalHotkey(otherOwner, otherTarget, 1, 82), 33002);
    EXPECT_EQ(HotkeyRouter::registerGlobalHotkey(owner, target, 2, 83), 33003);
    EXPECT_EQ(fake::state.log, (std::vector<std::string>{"replaceWindowProcedure #0x51",
                                                         "registerHotKey #0x51 33001 0 81",
                                                         "registerHotKey #0x52 33002 2 82",
                                                         "registerHotKey #0x51 33003 4 83"}));
    EXPECT_EQ(HotkeyRouter::state.attemptCounter, 3);
    EXPECT_EQ(HotkeyRouter::state.latestIdentifier, 33003u);
    EXPECT_EQ(HotkeyRouter::state.target, target);
    EXPECT_EQ(HotkeyRouter::state.previousProcedure, fake::originalProcedure);
}

TEST_F(Registration, AFailedAttemptReturnsZeroButCountsAndKeepsItsTarget) {
    fake::state.hotKeyRegistrationSucceeds = false;
    EXPECT_EQ(HotkeyRouter::registerGlobalHotkey(owner, target, 0, 81), 0);
    EXPECT_EQ(HotkeyRouter::state.attemptCounter, 1);
    EXPECT_EQ(HotkeyRouter::state.target, target);
    EXPECT_EQ(HotkeyRouter::state.previousProcedure, fake::originalProcedure);

    fake::state.hotKeyRegistrationSucceeds = true;
    EXPECT_EQ(HotkeyRouter::registerGlobalHotkey(owner, otherTarget, 0, 81), 33002);
    EXPECT_EQ(HotkeyRouter::state.target, otherTarget);
    EXPECT_EQ(fake::countLog("replaceWindowProcedure"), 1u);
}

struct RouteCase {
    const char* name;
    std::uint32_t message;
    std::uintptr_t wParam;
    bool relayed;
};

const RouteCase routeCases[] = {
    {"the first identifier", platform::message::hotkey, 33001, true},
    {"the second identifier", platform::message::hotkey, 33002, true},
    {"an identifier not yet issued", platform::message::hotkey, 33003, false},
    {"an identifier of someone else", platform::message::hotkey, 7, false},
    {"identifier 0", platform::message::hotkey, 0, false},
    {"a message that is no hot key", 0x0100, 33001, false},
    {"a close request", platform::message::close, 33001, false},
};

TEST_F(Router, RelaysIssuedHotKeysToTheTargetAndAlwaysPassesTheMessageOn) {
    for (const RouteCase& route : routeCases) {
        SCOPED_TRACE(route.name);
        resetProgram();
        HotkeyRouter::registerGlobalHotkey(owner, otherTarget, 0, 81);
        HotkeyRouter::registerGlobalHotkey(owner, target, 0, 82);
        fake::state.log.clear();
        fake::state.previousProcedureResult = 1234;

        EXPECT_EQ(fake::state.hook(owner, route.message, route.wParam, 0x510000), 1234);

        std::vector<std::string> expected;
        if (route.relayed) {
            expected.push_back("sendMessage #0x61 0x8075 " + std::to_string(route.wParam) + " 0");
        }
        std::ostringstream passedOn;
        passedOn << "callWindowProcedure 0xabc #0x51 0x" << std::hex << route.message << std::dec
                 << " " << route.wParam << " " << 0x510000;
        expected.push_back(passedOn.str());
        EXPECT_EQ(fake::state.log, expected);
    }
}

TEST_F(Router, ANotificationRunsTheCaptureThrough标签1BeforeThePreviousProcedure) {
    buildMainWindow();
    ASSERT_EQ(answerHotkeyId, 33001);
    fake::state.hook(fake::mainWindow, platform::message::hotkey, 33001, 0);
    const int relayed = fake::logIndex("sendMessage #100 0x8075 33001 0");
    const int captured = fake::logIndex("readClipboardText");
    const int passedOn = fake::logIndex("callWindowProcedure 0xabc #main 0x312 33001 0");
    EXPECT_NE(relayed, -1);
    EXPECT_LT(relayed, captured);
    EXPECT_LT(captured, passedOn) << "the relay is synchronous";
}

TEST_F(Registration, TheCreatedEventRegistersPlainQForTheLabelThenLoadsTheBank) {
    const QuestionBank::RecordList bank = QuestionBank::recordsOfBank(QuestionBank::questionBank());
    std::size_t recordsAtRegistration = 99;
    fake::state.whenHotKeyRegistered = [&] {
        recordsAtRegistration = QuestionBank::answerRecords.size();
    };
    buildMainWindow();
    EXPECT_EQ(recordsAtRegistration, 0u);
    EXPECT_EQ(answerHotkeyId, 33001);
    EXPECT_EQ(HotkeyRouter::state.target, windowHandleOf(Item::标签1));
    EXPECT_EQ(QuestionBank::answerRecords, bank);
}

TEST_F(Registration, AFailedRegistrationLeavesTheIdentifierZeroAndStillLoadsTheBank) {
    fake::state.hotKeyRegistrationSucceeds = false;
    fake::state.queue.push_back(fake::hotkey(33001));
    fake::state.queue.push_back(closeRequest());
    std::size_t recordsWhenShown = 0;
    fake::state.observer = [&](const std::string& line) {
        if (line == "showWindow #main normal") {
            recordsWhenShown = QuestionBank::answerRecords.size();
        }
    };

    EXPECT_EQ(runWholeProgram(), 0);

    EXPECT_EQ(answerHotkeyId, 0);
    EXPECT_EQ(recordsWhenShown, QuestionBank::recordsOfBank(QuestionBank::questionBank()).size());
    EXPECT_EQ(fake::countLog("sendKeyEvent"), 0u) << "no capture without a hot key";
}

} // namespace
