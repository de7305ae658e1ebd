// The parts of the platform layer that are logic over the system services.

#include "platform/Clipboard.h"
#include "platform/Input.h"
#include "platform/Wait.h"
#include "tests/unit/Fixture.h"

#include <climits>

namespace {

using KeyChord = ProgramTest;
using Waiting = ProgramTest;
using ClipboardForm = ::testing::Test;

struct ChordCase {
    const char* name;
    std::int32_t k1, k2, k3;
    std::vector<std::string> events;
};

const ChordCase chordCases[] = {
    {"Ctrl+C, keys released in the order pressed",
     17,
     67,
     0,
     {"17 down", "67 down", "17 up", "67 up"}},
    {"three keys", 17, 16, 65, {"17 down", "16 down", "65 down", "17 up", "16 up", "65 up"}},
    {"one key", 65, 0, 0, {"65 down", "65 up"}},
    {"no second key but a third", 17, 0, 67, {"17 down", "67 down", "17 up", "67 up"}},
    {"only the low 8 bits count", 0x111, 0x243, 0, {"17 down", "67 down", "17 up", "67 up"}},
};

TEST_F(KeyChord, PressesEachKeyThenReleasesEachInTheSameOrder) {
    for (const ChordCase& chord : chordCases) {
        SCOPED_TRACE(chord.name);
        fake::state.log.clear();
        platform::sendKeyChord(chord.k1, chord.k2, chord.k3);
        std::vector<std::string> expected;
        for (const std::string& event : chord.events) {
            expected.push_back("sendKeyEvent " + event);
        }
        EXPECT_EQ(fake::state.log, expected);
    }
}

TEST_F(KeyChord, AnOmittedThirdKeyIsNoKey) {
    platform::sendKeyChord(17, 67);
    EXPECT_EQ(fake::state.log,
              (std::vector<std::string>{"sendKeyEvent 17 down", "sendKeyEvent 67 down",
                                        "sendKeyEvent 17 up", "sendKeyEvent 67 up"}));
}

TEST_F(Waiting, ANegativeDurationCountsAsZero) {
    const std::pair<std::int32_t, std::string> cases[] = {{150, "sleep 150"},
                                                          {0, "sleep 0"},
                                                          {-1, "sleep 0"},
                                                          {INT_MIN, "sleep 0"},
                                                          {INT_MAX, "sleep 2147483647"}};
    for (const auto& [milliseconds, expected] : cases) {
        fake::state.log.clear();
        platform::waitMilliseconds(milliseconds);
        EXPECT_EQ(fake::state.log, std::vector<std::string>{expected}) << milliseconds;
    }
}

struct FormCase {
    const char* name;
    std::vector<std::uint32_t> formats;
    bool systemIsGbk;
    platform::ClipboardForm form;
};

const FormCase formCases[] = {
    {"8-bit text placed first", {1, 13}, true, platform::ClipboardForm::eightBit},
    {"Unicode text placed first", {13, 1}, true, platform::ClipboardForm::unicode},
    {"other formats ahead of Unicode text",
     {49161, 2, 13, 1},
     true,
     platform::ClipboardForm::unicode},
    {"other formats ahead of 8-bit text", {49161, 1, 13}, true, platform::ClipboardForm::eightBit},
    {"no text at all", {2, 8}, true, platform::ClipboardForm::eightBit},
    {"an empty clipboard", {}, true, platform::ClipboardForm::eightBit},
    {"another code page, 8-bit text first", {1, 13}, false, platform::ClipboardForm::unicode},
    {"another code page, nothing", {}, false, platform::ClipboardForm::unicode},
};

TEST_F(ClipboardForm, ReadsTheFormThatTheCopyingProgramPlacedFirst) {
    for (const FormCase& form : formCases) {
        EXPECT_EQ(platform::chooseClipboardForm(form.formats, form.systemIsGbk), form.form)
            << form.name;
    }
}

} // namespace
