// The capture that the hot key runs, and the lookup that shows its record.

#include "tests/unit/Fixture.h"

namespace {

using Capture = ProgramTest;
using Lookup = ProgramTest;

// The window built with the hot key registered, and a small record list of our own.
void prepare(QuestionBank::RecordList records) {
    buildMainWindow();
    QuestionBank::answerRecords = std::move(records);
}

const QuestionBank::RecordList fixture{"", "\r\n1. alpha beta\r\n答案：A\r\n",
                                       "\r\n2. gamma beta\r\n答案：B\r\n", "\r\n"};

TEST_F(Capture, CopiesWaitsShowsTheSnippetWaitsAndShowsTheRecordInThisOrder) {
    prepare(fixture);
    fake::state.clipboard = [] { return std::string("gamma"); };

    onHotkeyFeedback(33001, 0);

    EXPECT_EQ(fake::state.log,
              (std::vector<std::string>{"sendKeyEvent 17 down", "sendKeyEvent 67 down",
                                        "sendKeyEvent 17 up", "sendKeyEvent 67 up", "sleep 150",
                                        "readClipboardText", "setWindowText #110 gamma",
                                        "sleep 150", "windowText #110", "windowText #110",
                                        "windowText #110", "setWindowText #120 " + fixture[2]}));
}

TEST_F(Capture, IgnoresAnIdentifierThatIsNotTheHotKeys) {
    for (const std::int32_t first : {0, 33000, 33002, -33001, 1}) {
        resetProgram();
        prepare(fixture);
        onHotkeyFeedback(first, 0);
        EXPECT_TRUE(fake::state.log.empty()) << first;
    }
}

TEST_F(Capture, TheSecondArgumentIsNotUsed) {
    prepare(fixture);
    fake::state.clipboard = [] { return std::string("alpha"); };
    onHotkeyFeedback(33001, 12345);
    EXPECT_EQ(fake::state.texts[fake::controlHandle(120)], fixture[1]);
}

TEST_F(Capture, AnEmptyClipboardEmptiesTheSnippetAndShowsTheFirstRecordWithText) {
    prepare(fixture);
    setEditBoxText(Item::编辑框1, "an earlier snippet");
    fake::state.log.clear();

    onHotkeyFeedback(33001, 0);

    EXPECT_EQ(
        fake::logLines("setWindowText"),
        (std::vector<std::string>{"setWindowText #110 ", "setWindowText #120 " + fixture[1]}));
    EXPECT_EQ(fake::state.texts[fake::controlHandle(110)], "");
}

TEST_F(Capture, ASnippetNoRecordHoldsLeavesTheRecordShown) {
    prepare(fixture);
    fake::state.clipboard = [] { return std::string("beta"); };
    onHotkeyFeedback(33001, 0);
    ASSERT_EQ(fake::state.texts[fake::controlHandle(120)], fixture[1]);

    fake::state.log.clear();
    fake::state.clipboard = [] { return std::string("delta"); };
    onHotkeyFeedback(33001, 0);

    EXPECT_EQ(fake::countLog("setWindowText #120"), 0u);
    EXPECT_EQ(fake::state.texts[fake::controlHandle(120)], fixture[1]);
    EXPECT_EQ(fake::state.texts[fake::controlHandle(110)], "delta");
}

TEST_F(Capture, EveryPressRunsACompleteCapture) {
    prepare(fixture);
    fake::state.queue.push_back(fake::hotkey(33001));
    fake::state.queue.push_back(fake::hotkey(33001));
    fake::state.queue.push_back(fake::hotkey(33001));
    fake::state.queue.push_back(closeRequest());
    runMessageLoop();
    EXPECT_EQ(fake::countLog("sendKeyEvent 17 down"), 3u);
    EXPECT_EQ(fake::countLog("readClipboardText"), 3u);
    EXPECT_EQ(fake::countLog("sleep 150"), 6u);
}

struct ReadCase {
    const char* name;
    QuestionBank::RecordList records;
    std::string snippet;
    std::size_t reads;
    std::optional<std::size_t> shown; // position from 1
};

const ReadCase readCases[] = {
    {"match in the second record", fixture, "alpha", 2, 2},
    {"match in the third record", fixture, "gamma", 3, 3},
    {"the empty snippet skips the absent first record", fixture, "", 2, 2},
    {"CR LF alone matches the first record with text", fixture, "\r\n", 2, 2},
    {"no match reads once per record", fixture, "delta", 4, std::nullopt},
    {"a snippet longer than every record", fixture, std::string(100, 'a'), 4, std::nullopt},
    {"an empty list is never read", {}, "alpha", 0, std::nullopt},
    {"a list of absent records", {"", "", ""}, "", 3, std::nullopt},
    {"a second byte is no character start", {"\xBE\xDD\xA1\xB6", "\xDD\xA1"}, "\xDD\xA1", 2, 2},
};

TEST_F(Lookup, ReadsTheSnippetAfreshForEveryRecordItTries) {
    for (const ReadCase& read : readCases) {
        SCOPED_TRACE(read.name);
        resetProgram();
        prepare(read.records);
        setEditBoxText(Item::编辑框2, "before");
        setEditBoxText(Item::编辑框1, read.snippet);
        fake::state.log.clear();

        showFirstMatchingRecord();

        EXPECT_EQ(fake::countLog("windowText #110"), read.reads);
        if (read.shown) {
            EXPECT_EQ(fake::state.texts[fake::controlHandle(120)], read.records[*read.shown - 1]);
        } else {
            EXPECT_EQ(fake::state.texts[fake::controlHandle(120)], "before");
        }
        EXPECT_EQ(fake::countLog("setWindowText #110"), 0u) << "the lookup never writes 编辑框1";
    }
}

TEST_F(Lookup, SearchesForWhatTheBoxHoldsNotWhatWasWrittenIntoIt) {
    prepare(fixture);
    // A box that keeps only the first line of what it is given.
    fake::state.observer = [](const std::string& line) {
        if (line.rfind("setWindowText #110 ", 0) == 0) {
            std::string& text = fake::state.texts[fake::controlHandle(110)];
            text = text.substr(0, text.find('\r'));
        }
    };
    fake::state.clipboard = [] { return std::string("gamma\r\nnowhere"); };

    onHotkeyFeedback(33001, 0);

    EXPECT_EQ(fake::state.texts[fake::controlHandle(120)], fixture[2]);
}

TEST_F(Lookup, FindsRecordsOfTheEmbeddedBank) {
    buildMainWindow();
    const QuestionBank::RecordList& records = QuestionBank::answerRecords;
    ASSERT_GE(records.size(), 2u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].size() < 4) {
            continue;
        }
        // A whole record is found in that record or an earlier one that holds it too.
        const std::string snippet = records[i];
        fake::state.clipboard = [snippet] { return snippet; };
        onHotkeyFeedback(33001, 0);
        const auto expected = QuestionBank::findAnswerRecord(records, snippet);
        ASSERT_TRUE(expected.has_value());
        EXPECT_LE(*expected, i + 1);
        EXPECT_EQ(fake::state.texts[fake::controlHandle(120)], records[*expected - 1]) << i;
    }
}

} // namespace
