#include "tools/bankcheck/BankCheck.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

using BankCheck::FaultKind;
using namespace std::string_literals;

namespace {

std::string readFixture(const std::string& name) {
    std::ifstream in(std::string(BANKCHECK_FIXTURES) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

// UTF-8 written in this source stays UTF-8 only as u8 literals; plain literals are GBK.
std::string utf8(std::u8string_view text) {
    return {text.begin(), text.end()};
}

// A valid two-record bank in both layouts; the fault tables below break it in one place.
const std::string validBank = "~\r\n"
                              "1. 问题一？\r\n\r\nA.甲\r\n\r\nB.乙\r\n\r\n答案：A\r\n"
                              "~\r\n"
                              "\r\n2.\t问题二\r\n\tA.是\r\n\tB.否\r\n\t答案：B\r\n";

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

struct FaultCase {
    std::string name;
    std::string file;
    FaultKind kind;
    std::size_t line;
    std::size_t column;
};

void expectOneFault(const FaultCase& c) {
    const auto faults = BankCheck::faultsOf(c.file);
    ASSERT_EQ(faults.size(), 1u) << c.name << ": first "
                                 << (faults.empty() ? "none" : BankCheck::nameOf(faults[0].kind));
    EXPECT_EQ(faults[0].kind, c.kind) << c.name << ": " << BankCheck::nameOf(faults[0].kind);
    EXPECT_EQ(faults[0].line, c.line) << c.name;
    EXPECT_EQ(faults[0].column, c.column) << c.name;
    EXPECT_FALSE(faults[0].detail.empty()) << c.name;
}

TEST(Faults, EachBrokenFixtureGivesItsFaultWithLineAndByteColumn) {
    // Lines of the valid bank: 1 "~", 2 number line, 4 and 6 options, 8 answer, 9 "~",
    // 11 "2.<TAB>问题二", 12 to 13 options, 14 answer.
    const FaultCase cases[] = {
        {"invalid-gbk.txt", {}, FaultKind::InvalidGbk, 11, 6},
        {"lone-cr.txt", {}, FaultKind::LoneCr, 4, 5},
        {"lone-lf.txt", {}, FaultKind::LoneLf, 6, 5},
        {"nul.txt", {}, FaultKind::Nul, 2, 8},
        {"tilde-inside-line.txt", {}, FaultKind::TildeNotAlone, 12, 6},
        {"missing-leading-tilde.txt", {}, FaultKind::MissingLeadingTilde, 1, 1},
        {"trailing-tilde.txt", {}, FaultKind::TrailingTilde, 15, 1},
        {"question-without-answer.txt", {}, FaultKind::QuestionWithoutAnswer, 11, 1},
        {"answer-letter-without-option.txt", {}, FaultKind::AnswerLetterWithoutOption, 14, 8},
    };
    for (auto c : cases) {
        c.file = readFixture(c.name);
        expectOneFault(c);
    }
    EXPECT_EQ(readFixture("valid.txt"), validBank);
    EXPECT_TRUE(BankCheck::faultsOf(validBank).empty());
}

TEST(Faults, InvalidGbkIsEveryByteSequenceThatIsNoCharacter) {
    // Each replaces "问" (columns 4 and 5 of line 11) in the second question.
    const FaultCase cases[] = {
        {"0x80, the euro sign elsewhere", replaced(validBank, "问题二", "\x80题二"),
         FaultKind::InvalidGbk, 11, 4},
        {"0xFF", replaced(validBank, "问题二", "\xFF题二"), FaultKind::InvalidGbk, 11, 4},
        {"second byte 0x7F", replaced(validBank, "问题二", "\xB0\x7F题二"), FaultKind::InvalidGbk,
         11, 4},
        {"second byte below 0x40", replaced(validBank, "问题二", "\xB0\x30题二"),
         FaultKind::InvalidGbk, 11, 4},
        {"first byte before the line end", replaced(validBank, "问题二", "问题二\xB0"),
         FaultKind::InvalidGbk, 11, 10},
        {"unassigned pair", replaced(validBank, "问题二", "\xAA\xA1题二"), FaultKind::InvalidGbk,
         11, 4},
        {"first byte at the end of the file", validBank + "\xB0", FaultKind::InvalidGbk, 15, 1},
    };
    for (const auto& c : cases) {
        expectOneFault(c);
    }
    // Double-byte characters outside GB2312, one of them with "~" as its second byte,
    // are GBK all the same; the second byte 0x7E does not count as a delimiter.
    EXPECT_TRUE(BankCheck::faultsOf(replaced(validBank, "问题二", "\x81\x7E\x81\x40")).empty());
    EXPECT_TRUE(BankCheck::isGbkPair(0x81, 0x7E));
    EXPECT_TRUE(BankCheck::isGbkPair(0xDD, 0xA1));
    EXPECT_FALSE(BankCheck::isGbkPair(0x80, 0x40));
    EXPECT_FALSE(BankCheck::isGbkPair(0xFF, 0xA1));
    EXPECT_FALSE(BankCheck::isGbkPair(0xB0, 0x7F));
}

TEST(Faults, DelimiterMustStandAloneAtItsPlaces) {
    const FaultCase cases[] = {
        {"blank after a delimiter", replaced(validBank, "~\r\n\r\n2.", "~ \r\n\r\n2."),
         FaultKind::TildeNotAlone, 9, 1},
        {"text before a delimiter", replaced(validBank, "答案：A\r\n~", "答案：A~"),
         FaultKind::TildeNotAlone, 8, 8},
        {"leading delimiter with text", "~1. " + validBank.substr(6), FaultKind::TildeNotAlone, 1,
         1},
        {"no leading delimiter", validBank.substr(3), FaultKind::MissingLeadingTilde, 1, 1},
        {"empty file", "", FaultKind::MissingLeadingTilde, 1, 1},
        {"delimiter at the end", validBank + "~", FaultKind::TrailingTilde, 15, 1},
        {"delimiter line at the end", validBank + "~\r\n", FaultKind::TrailingTilde, 15, 1},
    };
    for (const auto& c : cases) {
        expectOneFault(c);
    }
}

TEST(Faults, EveryQuestionHasAnAnswerThatNamesItsOptions) {
    const FaultCase cases[] = {
        {"answer line of no question", replaced(validBank, "2.\t问题二\r\n", ""),
         FaultKind::AnswerWithoutQuestion, 13, 2},
        {"second answer line", replaced(validBank, "\t答案：B\r\n", "\t答案：B\r\n答案：A\r\n"),
         FaultKind::AnswerWithoutQuestion, 15, 1},
        {"no letter", replaced(validBank, "答案：B", "答案："), FaultKind::AnswerWithoutLetter, 14,
         8},
        {"one letter of two missing", replaced(validBank, "答案：B", "答案：BC"),
         FaultKind::AnswerLetterWithoutOption, 14, 9},
        {"lower case", replaced(validBank, "答案：A", "答案：a"),
         FaultKind::AnswerLetterWithoutOption, 8, 7},
        {"trailing blank", replaced(validBank, "答案：A", "答案：A "),
         FaultKind::AnswerLetterWithoutOption, 8, 8},
        {"full-width letter", replaced(validBank, "答案：A", "答案：Ａ"),
         FaultKind::AnswerLetterWithoutOption, 8, 7},
        {"question cut off by the next number line",
         replaced(validBank, "2.\t问题二", "3.\t问题三\r\n2.\t问题二"),
         FaultKind::QuestionWithoutAnswer, 11, 1},
    };
    for (const auto& c : cases) {
        expectOneFault(c);
    }
    // Several letters, each an option, are a valid answer.
    EXPECT_TRUE(BankCheck::faultsOf(replaced(validBank, "答案：B", "答案：BA")).empty());
}

TEST(Faults, AllFaultsAreReportedInTheOrderOfTheirPlaces) {
    std::string file = replaced(validBank, "B.乙\r\n", "B.乙\n");
    file = replaced(file, "问题一", "问题\0一"s);
    file = replaced(file, "\tB.否", "\tB.否\r");
    const auto faults = BankCheck::faultsOf(file);
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_EQ(faults[0].kind, FaultKind::Nul);
    EXPECT_EQ(faults[0].line, 2u);
    EXPECT_EQ(faults[1].kind, FaultKind::LoneLf);
    EXPECT_EQ(faults[1].line, 6u);
    EXPECT_EQ(faults[2].kind, FaultKind::LoneCr);
    EXPECT_EQ(faults[2].line, 13u);
    EXPECT_EQ(faults[2].column, 6u);
}

TEST(Places, LinesEndAtLineFeedAndColumnsCountBytes) {
    const std::string text = "ab\r\n\xB0\xA1x\r\n\r\n";
    const std::pair<std::size_t, BankCheck::Place> cases[] = {
        {0, {1, 1}}, {2, {1, 3}}, {3, {1, 4}}, {4, {2, 1}}, {6, {2, 3}}, {9, {3, 1}}, {11, {4, 1}},
    };
    for (const auto& [offset, place] : cases) {
        const auto got = BankCheck::placeOf(text, offset);
        EXPECT_EQ(got.line, place.line) << offset;
        EXPECT_EQ(got.column, place.column) << offset;
    }
}

TEST(ReadQuestions, ReadsBothLayoutsAndPartsTheSeriesAtBlankRecords) {
    const QuestionBank::RecordList records = {
        "",
        "\r\n1. 问一\r\n\r\n①甲\r\n\r\n②乙\r\n\r\nA.对\r\n\r\nB..错\r\n\r\n答案：AB\r\n\r\n",
        "\r\n2.问二有2.5米\r\n\r\nA.是\r\n\r\n答案：A\r\n",
        "\r\n",
        "\r\n\r\n1.\t问三\r\n\tA.x\r\n\tB.y\r\n\tC.z\r\n\t答案：C\r\n"
        "2.\t问四\r\n\tA.x\r\n\tB.y\r\n\t答案：B\r\n\t",
        "\r\n答案：A\r\n",
    };
    const auto reading = BankCheck::readQuestions(records);
    ASSERT_EQ(reading.questions.size(), 4u);

    const auto& q1 = reading.questions[0];
    EXPECT_EQ(q1.record, 2u);
    EXPECT_EQ(q1.series, 1u);
    EXPECT_EQ(q1.offset, 2u);
    EXPECT_EQ(q1.number, "1");
    EXPECT_EQ(q1.separator, " ");
    EXPECT_EQ(q1.sentence, "问一");
    EXPECT_EQ(q1.furtherLines, (std::vector<std::string>{"①甲", "②乙"}));
    ASSERT_EQ(q1.options.size(), 2u);
    EXPECT_EQ(q1.options[1].letter, 'B');
    EXPECT_EQ(q1.options[1].dots, 2u);
    EXPECT_EQ(q1.options[1].text, "错");
    EXPECT_FALSE(q1.options[1].indented);
    ASSERT_TRUE(q1.answer);
    EXPECT_EQ(q1.answer->letters, "AB");
    EXPECT_EQ(records[1].substr(q1.answer->offset, 2), "AB");

    // "2.5" inside the sentence is no number line; no blank after "2." is allowed.
    const auto& q2 = reading.questions[1];
    EXPECT_EQ(q2.number, "2");
    EXPECT_EQ(q2.separator, "");
    EXPECT_EQ(q2.sentence, "问二有2.5米");

    const auto& q3 = reading.questions[2];
    const auto& q4 = reading.questions[3];
    EXPECT_EQ(q3.series, 2u);
    EXPECT_EQ(q3.separator, "\t");
    EXPECT_EQ(q3.sentence, "问三");
    EXPECT_EQ(q3.options.size(), 3u);
    EXPECT_TRUE(q3.options[0].indented);
    EXPECT_TRUE(q3.answer->indented);
    EXPECT_EQ(q4.record, 5u);
    EXPECT_EQ(q4.number, "2");
    EXPECT_EQ(q4.answer->letters, "B");

    ASSERT_EQ(reading.strayAnswers.size(), 1u);
    EXPECT_EQ(reading.strayAnswers[0].record, 6u);
    EXPECT_EQ(reading.strayAnswers[0].offset, 2u);
}

TEST(Lookup, PlainByteSearchAndCharacterSearchPartWhereASecondByteBeginsAMatch) {
    const QuestionBank::RecordList records = {"", "\r\n据《法》\r\n", "\r\n荨麻疹\r\n"};
    EXPECT_EQ(BankCheck::findRecordByBytes(records, "荨"), 2u);
    EXPECT_EQ(QuestionBank::findAnswerRecord(records, "荨"), 3u);
    EXPECT_EQ(BankCheck::findRecordByBytes(records, "法"), 2u);
    EXPECT_EQ(BankCheck::findRecordByBytes(records, "~"), std::nullopt);
}

TEST(Lookup, ShadowingsAreTheSentencesThatShowAnotherRecord) {
    const QuestionBank::RecordList records = {
        "", "\r\n1. 甲乙丙\r\nA.丁戊\r\n答案：A\r\n", "\r\n2. 丁戊\r\nA.x\r\n答案：A\r\n",
        "\r\n3. 己\r\nA.x\r\n答案：A\r\n", "\r\n4. 甲乙\r\nA.x\r\n答案：A\r\n"};
    const auto reading = BankCheck::readQuestions(records);
    const auto shadowings = BankCheck::shadowingsOf(records, reading);
    ASSERT_EQ(shadowings.size(), 2u);
    EXPECT_EQ(reading.questions[shadowings[0].question].number, "2");
    EXPECT_EQ(shadowings[0].shownRecord, 2u);
    EXPECT_EQ(reading.questions[shadowings[1].question].number, "4");
    EXPECT_EQ(shadowings[1].shownRecord, 2u);
}

// Five records past the empty first: two first-series questions, a blank record, two
// second-series questions. Record 3 holds "荨", whose bytes also stand inside "据《" of
// record 2; record 5 repeats record 2's sentence; "亊" (0x81 0x7E) lies outside GB2312
// and has "~" as its second byte.
const std::string smallBank =
    "~\r\n"
    "1. 据《消防法》，火警电话是？\r\n\r\nA.119\r\n\r\nB.110\r\n\r\n答案：A\r\n"
    "~\r\n"
    "2.荨麻疹会传染吗？\r\n\r\nA.会\r\n\r\nB..不会\r\n\r\n答案：B\r\n"
    "~\r\n"
    "\r\n"
    "~\r\n"
    "\r\n1.\t据《消防法》，火警电话是？\r\n\tA.119\r\n\tB.120\r\n\tC.122\r\n\t答案：A\r\n"
    "~\r\n"
    "\r\n2.\t下列做法正确的是？\r\n\tA.甲\r\n\tB.乙\r\n\tC.丙\r\n\tD.亊\r\n\t答案：ABCD\r\n\t";

TEST(Statistics, FiguresOfASmallBank) {
    ASSERT_TRUE(BankCheck::faultsOf(smallBank).empty());
    const auto s = BankCheck::statisticsOf(smallBank);
    EXPECT_EQ(s.bytes, 261u);
    EXPECT_EQ(s.nulBytes, 0u);
    EXPECT_EQ(s.characters, 199u);
    EXPECT_EQ(s.doubleByteCharacters, 62u);
    EXPECT_EQ(s.singleByteCharacters, 137u);
    EXPECT_EQ(s.outsideGb2312, 1u);
    EXPECT_EQ(s.secondBytesTilde, 1u);
    EXPECT_EQ(s.crLfPairs, 33u);
    EXPECT_EQ(s.tabs, 12u);
    EXPECT_EQ(s.delimiters, 5u);
    EXPECT_EQ(s.records, 6u);
    EXPECT_EQ(s.questionsPerSeries, (std::vector<std::size_t>{2, 2}));
    EXPECT_EQ(s.nonBlankRecords, 4u);
    EXPECT_EQ(s.minRecordBytes, 52u);
    EXPECT_EQ(s.maxRecordBytes, 69u);
    EXPECT_EQ(s.minRecordCharacters, 38u);
    EXPECT_EQ(s.maxRecordCharacters, 53u);
    EXPECT_EQ(s.optionsPerQuestion, (std::map<std::size_t, std::size_t>{{2, 2}, {3, 1}, {4, 1}}));
    EXPECT_EQ(s.answers, (std::map<std::string, std::size_t>{{"A", 2}, {"B", 1}, {"ABCD", 1}}));
    EXPECT_EQ(s.distinctCharacters, 47u);
    EXPECT_EQ(s.distinctCharactersShownByBytesElsewhere, 1u); // "荨"
    EXPECT_EQ(s.laterSeriesRecordsSharingRun, 1u);            // record 5
    ASSERT_EQ(s.shadowings.size(), 1u);
    EXPECT_EQ(s.reading.questions[s.shadowings[0].question].record, 5u);
    EXPECT_EQ(s.shadowings[0].shownRecord, 2u);
}

TEST(Statistics, CharacterCountFollowsTheProgramsStepping) {
    EXPECT_EQ(BankCheck::characterCount(""), 0u);
    EXPECT_EQ(BankCheck::characterCount("a\xB0\xA1"), 2u);
    EXPECT_EQ(BankCheck::characterCount("\x81~~"), 2u);
    EXPECT_EQ(BankCheck::characterCount("a\xB0"), 2u);
}

TEST(Statistics, TableGroupsThousandsAndListsShadowings) {
    BankCheck::Statistics s = BankCheck::statisticsOf(smallBank);
    s.bytes = 29240;
    std::ostringstream out;
    BankCheck::printStatistics(out, s);
    const std::string table = out.str();
    EXPECT_NE(table.find("29,240 bytes"), std::string::npos) << table;
    EXPECT_NE(table.find("\"ABCD\" 1"), std::string::npos) << table;
    EXPECT_NE(table.find("2 + 2 (per series)"), std::string::npos) << table;
    EXPECT_NE(table.find("record 5 (series 2, question 1) -> record 2: " +
                         utf8(u8"据《消防法》，火警电话是？")),
              std::string::npos)
        << table;
}

TEST(Conversion, BetweenUtf8AndGbk) {
    EXPECT_EQ(BankCheck::utf8ToGbk(utf8(u8"荨")), "荨");
    EXPECT_EQ(BankCheck::utf8ToGbk(utf8(u8"答案：ABCD\r\n")), "答案：ABCD\r\n");
    EXPECT_EQ(BankCheck::utf8ToGbk(""), "");
    EXPECT_EQ(BankCheck::utf8ToGbk("\xFF"), std::nullopt);             // not UTF-8
    EXPECT_EQ(BankCheck::utf8ToGbk("\xF0\x9F\x98\x80"), std::nullopt); // no GBK character
    EXPECT_EQ(BankCheck::gbkToUtf8("据《"), utf8(u8"据《"));
    EXPECT_EQ(BankCheck::gbkToUtf8("\x80"), std::nullopt);
    EXPECT_EQ(BankCheck::gbkToUtf8("\xB0"), std::nullopt);
    EXPECT_EQ(BankCheck::gbkToUtf8ForDisplay("a\xFF"
                                             "b\xB0"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(BankCheck::gbkToUtf8ForDisplay("\r\n\t荨"), utf8(u8"\r\n\t荨"));
}

struct ToolRun {
    int status;
    std::string output;
};

ToolRun runTool(const std::string& arguments) {
    const std::string command = std::string(BANKCHECK_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << command;
        return {-1, {}};
    }
    std::string output;
    std::array<char, 4096> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        output.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(Tool, ChecksFindsAndReportsWithExitCodes) {
    const std::string fixtures = BANKCHECK_FIXTURES;
    struct ToolCase {
        std::string arguments;
        int status;
        std::string output;
    };
    const ToolCase cases[] = {
        {fixtures + "/valid.txt", 0, "valid.txt: a valid bank\n"},
        {fixtures + "/lone-lf.txt", 1, "lone-lf.txt:6:5: lone LF"},
        {fixtures + "/answer-letter-without-option.txt", 1, "columns in bytes"},
        {fixtures + "/valid.txt --find " + utf8(u8"否"), 0,
         "record 3\n" + utf8(u8"\r\n\r\n2.\t问题二\r\n\tA.是\r\n\tB.否\r\n\t答案：B\r\n")},
        {fixtures + "/valid.txt --find ''", 0, "record 2\n"},
        {fixtures + "/valid.txt --find '~'", 1, "none\n"},
        {fixtures + "/valid.txt --find " + utf8(u8"😀"), 2, "GBK"},
        {fixtures + "/no-such-file.txt", 2, "cannot read"},
        {fixtures + "/valid.txt --find", 2, "usage"},
        {"", 2, "usage"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.output), std::string::npos) << c.arguments << "\n"
                                                                << run.output;
    }
}

} // namespace
