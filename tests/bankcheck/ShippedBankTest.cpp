// The bank that ships in data/: its figures, its record positions and what the lookup
// shows for the snippets that its irregularities make interesting. Every figure here is a
// promise about the shipped bank; a different bank has figures of its own.

#include "bank/QuestionBank.h"
#include "bank/QuestionBankData.h"
#include "tools/bankcheck/BankCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using BankCheck::Question;
using QuestionBank::RecordList;

namespace {

const std::string& bankFile() {
    static const std::string bytes = [] {
        std::ifstream in(BANK_FILE, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return std::move(out).str();
    }();
    return bytes;
}

const BankCheck::Statistics& statistics() {
    static const BankCheck::Statistics s = BankCheck::statisticsOf(bankFile());
    return s;
}

const RecordList& loadedRecords() {
    static const RecordList records = [] {
        QuestionBank::loadAnswerRecords();
        return QuestionBank::answerRecords;
    }();
    return records;
}

const std::vector<Question>& questions() {
    return statistics().reading.questions;
}

const Question& question(std::size_t series, std::string_view number) {
    const auto& all = questions();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Question& q) {
        return q.series == series && q.number == number;
    });
    if (found == all.end()) {
        ADD_FAILURE() << "no question " << number << " in series " << series;
        static const Question none;
        return none;
    }
    return *found;
}

std::vector<const Question*> questionsOfRecord(std::size_t record) {
    std::vector<const Question*> found;
    for (const auto& q : questions()) {
        if (q.record == record) {
            found.push_back(&q);
        }
    }
    return found;
}

std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(ShippedBank, PassesTheChecker) {
    const auto faults = BankCheck::faultsOf(bankFile());
    for (const auto& fault : faults) {
        ADD_FAILURE() << BANK_FILE << ":" << fault.line << ":" << fault.column << ": "
                      << BankCheck::nameOf(fault.kind) << ": "
                      << BankCheck::gbkToUtf8ForDisplay(fault.detail);
    }
}

TEST(ShippedBank, EmbeddedBlockIsTheFile) {
    const auto block = QuestionBank::questionBank();
    EXPECT_EQ(std::string(block.begin(), block.end()), bankFile());
    EXPECT_EQ(QuestionBank::recordsOfBank(block), loadedRecords());
}

TEST(ShippedBank, FiguresOfTheBankAsShipped) {
    const auto& s = statistics();
    EXPECT_EQ(s.bytes, 29240u);
    EXPECT_EQ(s.nulBytes, 0u);
    EXPECT_EQ(s.characters, 18187u);
    EXPECT_EQ(s.doubleByteCharacters, 11053u);
    EXPECT_EQ(s.singleByteCharacters, 7134u);
    EXPECT_EQ(s.outsideGb2312, 0u);
    EXPECT_EQ(s.secondBytesTilde, 0u);
    EXPECT_EQ(s.crLfPairs, 1820u);
    EXPECT_EQ(s.tabs, 496u);
    EXPECT_EQ(s.delimiters, 199u);
    EXPECT_EQ(s.records, 200u);
    EXPECT_EQ(s.questionsPerSeries, (std::vector<std::size_t>{99, 100}));
    EXPECT_EQ(s.nonBlankRecords, 198u);
    EXPECT_EQ(s.minRecordBytes, 62u);
    EXPECT_EQ(s.maxRecordBytes, 651u);
    EXPECT_EQ(s.minRecordCharacters, 43u);
    EXPECT_EQ(s.maxRecordCharacters, 354u);
    EXPECT_EQ(s.optionsPerQuestion,
              (std::map<std::size_t, std::size_t>{{2, 68}, {3, 15}, {4, 116}}));
    EXPECT_EQ(s.answers, (std::map<std::string, std::size_t>{
                             {"A", 80}, {"B", 42}, {"C", 30}, {"D", 45}, {"ABCD", 2}}));
    EXPECT_EQ(question(2, "43").answer->letters, "ABCD");
    EXPECT_EQ(question(2, "43").record, 144u);
    EXPECT_EQ(question(2, "61").answer->letters, "ABCD");
    EXPECT_EQ(question(2, "61").record, 162u);
}

TEST(ShippedBank, RecordPositions) {
    const RecordList& records = loadedRecords();
    ASSERT_EQ(records.size(), 200u);
    EXPECT_EQ(records[0], "");
    EXPECT_EQ(records[100], "\r\n");
    EXPECT_EQ(occurrences(records[188], "答案："), 2u);
    EXPECT_TRUE(records[199].ends_with("\r\n\t"));
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].find('~'), std::string::npos) << "record " << i + 1;
    }
}

TEST(ShippedBank, Record94IsRecord84ButForItsNumber) {
    const RecordList& records = loadedRecords();
    const Question& q93 = question(1, "93");
    const Question& q83 = question(1, "83");
    ASSERT_EQ(q93.record, 94u);
    ASSERT_EQ(q83.record, 84u);
    std::string renumbered = records[93];
    ASSERT_EQ(renumbered.compare(q93.offset, 3, "93."), 0);
    renumbered.replace(q93.offset, 2, "83");
    EXPECT_EQ(renumbered, records[83]);
}

TEST(ShippedBank, QuestionsAreNumberedAsListed) {
    // First series: records 2 to 100 hold questions 1 to 98 and 100, one a record.
    for (std::size_t record = 2; record <= 100; ++record) {
        const auto held = questionsOfRecord(record);
        ASSERT_EQ(held.size(), 1u) << "record " << record;
        const std::size_t number = record <= 99 ? record - 1 : 100;
        EXPECT_EQ(held[0]->number, std::to_string(number)) << "record " << record;
        EXPECT_EQ(held[0]->series, 1u) << "record " << record;
    }
    EXPECT_TRUE(questionsOfRecord(1).empty());
    EXPECT_TRUE(questionsOfRecord(101).empty());
    // Second series: records 102 to 200 hold questions 1 to 100; 88 and 89 share 189.
    for (std::size_t record = 102; record <= 200; ++record) {
        const auto held = questionsOfRecord(record);
        std::vector<std::string> numbers;
        for (const auto* q : held) {
            numbers.push_back(q->number);
            EXPECT_EQ(q->series, 2u) << "record " << record;
        }
        if (record == 189) {
            EXPECT_EQ(numbers, (std::vector<std::string>{"88", "89"}));
            continue;
        }
        const std::size_t number = record <= 188 ? record - 101 : record - 100;
        EXPECT_EQ(numbers, std::vector<std::string>{std::to_string(number)}) << "record " << record;
    }
}

TEST(ShippedBank, LayoutsOfTheTwoSeries) {
    const RecordList& records = loadedRecords();
    std::size_t firstWithoutBlank = 0;
    std::size_t firstWithStatements = 0;
    std::size_t doubleDots = 0;
    std::vector<std::size_t> firstOpeningTwice;
    std::vector<std::size_t> secondOpeningOnce;
    for (const auto& q : questions()) {
        const std::string& record = records[q.record - 1];
        const bool first = q.series == 1;
        for (const auto& option : q.options) {
            doubleDots += option.dots == 2 ? 1 : 0;
            EXPECT_EQ(option.indented, !first) << "record " << q.record;
            // First series: an empty line before every option; second: none.
            const std::size_t lineStart = option.offset - (option.indented ? 1 : 0);
            EXPECT_EQ(record.compare(lineStart - 4, 4, "\r\n\r\n") == 0, first)
                << "record " << q.record << " option " << option.letter;
        }
        ASSERT_TRUE(q.answer) << "record " << q.record;
        EXPECT_EQ(q.answer->indented, !first) << "record " << q.record;
        const std::size_t answerLineStart =
            q.answer->offset - std::string_view("答案：").size() - (q.answer->indented ? 1 : 0);
        EXPECT_EQ(record.compare(answerLineStart - 4, 4, "\r\n\r\n") == 0, first)
            << "record " << q.record << " answer line";
        if (first) {
            EXPECT_NE(q.separator, "\t") << "record " << q.record;
            firstWithoutBlank += q.separator.empty() ? 1 : 0;
            if (!q.furtherLines.empty()) {
                ++firstWithStatements;
                EXPECT_GE(q.furtherLines.size(), 4u) << "record " << q.record;
                EXPECT_LE(q.furtherLines.size(), 6u) << "record " << q.record;
                EXPECT_TRUE(q.furtherLines[0].starts_with("①")) << "record " << q.record;
            }
            if (record.starts_with("\r\n\r\n")) {
                firstOpeningTwice.push_back(q.record);
            }
        } else {
            EXPECT_EQ(q.separator, "\t") << "record " << q.record;
            EXPECT_TRUE(q.furtherLines.empty()) << "record " << q.record;
            if (q.record != 189 || q.number == "88") {
                if (!record.starts_with("\r\n\r\n")) {
                    secondOpeningOnce.push_back(q.record);
                }
            }
        }
    }
    EXPECT_EQ(firstWithoutBlank, 17u);
    EXPECT_EQ(firstWithStatements, 3u);
    EXPECT_EQ(doubleDots, 3u);
    EXPECT_EQ(firstOpeningTwice.size(), 2u);
    EXPECT_EQ(secondOpeningOnce.size(), 5u);

    // Closings: the line end of the answer line, and more only where listed.
    for (std::size_t record = 2; record <= 200; ++record) {
        if (record == 101) {
            continue;
        }
        const std::string& text = records[record - 1];
        const std::size_t lastAnswer = text.rfind("答案：");
        ASSERT_NE(lastAnswer, std::string::npos) << "record " << record;
        const std::size_t lineEnd = text.find("\r\n", lastAnswer);
        ASSERT_NE(lineEnd, std::string::npos) << "record " << record;
        const std::string closing = text.substr(lineEnd);
        const std::string expected = record == 2 || record == 187 ? "\r\n\r\n"
                                     : record == 200              ? "\r\n\t"
                                                                  : "\r\n";
        EXPECT_EQ(closing, expected) << "record " << record;
    }
}

TEST(ShippedBank, RepeatedQuestions) {
    // The sentence of first-series question 87, true or false, is option C of question 27.
    const Question& q87 = question(1, "87");
    const Question& q27 = question(1, "27");
    EXPECT_EQ(q87.record, 88u);
    EXPECT_EQ(q87.options.size(), 2u);
    ASSERT_GE(q27.options.size(), 3u);
    EXPECT_EQ(q27.options[2].letter, 'C');
    EXPECT_EQ(q87.sentence, q27.options[2].text);

    // Second-series questions 14, 27 and 80 repeat first-series 36, 40 and 92.
    const std::pair<std::string, std::string> repeats[] = {
        {"14", "36"}, {"27", "40"}, {"80", "92"}};
    for (const auto& [later, earlier] : repeats) {
        const Question& a = question(2, later);
        const Question& b = question(1, earlier);
        EXPECT_EQ(a.sentence, b.sentence) << later;
        ASSERT_EQ(a.options.size(), b.options.size()) << later;
        for (std::size_t k = 0; k < a.options.size(); ++k) {
            EXPECT_EQ(a.options[k].text, b.options[k].text) << later << " option " << k;
        }
        EXPECT_EQ(a.answer->letters, b.answer->letters) << later;
    }
}

TEST(ShippedBank, WholeSentencesShowTheirOwnRecordButForTheFiveRepeats) {
    std::set<std::pair<std::size_t, std::size_t>> shadowed;
    for (const auto& shadowing : statistics().shadowings) {
        shadowed.insert(
            {questions()[shadowing.question].record, shadowing.shownRecord.value_or(0)});
    }
    EXPECT_EQ(shadowed, (std::set<std::pair<std::size_t, std::size_t>>{
                            {88, 28}, {94, 84}, {115, 37}, {128, 41}, {181, 93}}));
}

struct SnippetCase {
    std::string name;
    std::string snippet;
    std::optional<std::size_t> record;
};

TEST(ShippedBank, SnippetsShowTheFirstRecordThatHoldsThem) {
    const RecordList& records = loadedRecords();
    const std::string& longest = *std::max_element(
        records.begin(), records.end(),
        [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    ASSERT_EQ(longest.size(), 651u);
    ASSERT_EQ(longest, records[80]);
    // The quiz page may write with ASCII brackets what the bank writes full-width.
    std::string asciiBrackets = question(1, "93").sentence;
    const std::size_t blank = asciiBrackets.find("（  ）");
    ASSERT_NE(blank, std::string::npos);
    asciiBrackets.replace(blank, std::string_view("（  ）").size(), "(  )");
    const SnippetCase cases[] = {
        {"empty", "", 2},
        {"CR LF", "\r\n", 2},
        {"delimiter", "~", std::nullopt},
        {"delimiter within text", "A.~", std::nullopt},
        {"capital letters", "AED", 108},
        {"the same letters in lower case", "aed", std::nullopt},
        {"another word in lower case", "app", std::nullopt},
        {"full-width bracket", "（", 2},
        {"ASCII bracket", "(", std::nullopt},
        {"sentence of first-series 93 with ASCII brackets", asciiBrackets, std::nullopt},
        {"nettle (0xDD 0xA1), whose bytes stand inside record 2", "荨", 27},
        {"number 93", "93.", 94},
        {"sentence of first-series 93", question(1, "93").sentence, 84},
        {"sentence of first-series 87", question(1, "87").sentence, 28},
        {"sentence of second-series 88", question(2, "88").sentence, 189},
        {"sentence of second-series 89", question(2, "89").sentence, 189},
        {"sentence of second-series 14", question(2, "14").sentence, 37},
        {"the longest record, 81", longest, 81},
        {"longer than the longest record", longest + "\r\n", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuestionBank::findAnswerRecord(records, c.snippet), c.record) << c.name;
    }
    // A search blind to character boundaries would stop at record 2.
    EXPECT_NE(records[1].find("据《"), std::string::npos);
    EXPECT_EQ(QuestionBank::findText(records[1], "荨"), -1);
    EXPECT_EQ(BankCheck::findRecordByBytes(records, "荨"), 2u);
}

} // namespace
