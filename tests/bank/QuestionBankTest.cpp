#include "bank/QuestionBank.h"
#include "Oracle.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace std::string_literals;
using QuestionBank::findAnswerRecord;
using QuestionBank::findText;
using QuestionBank::splitText;
using Pieces = std::vector<std::string>;

namespace {

struct SplitCase {
    std::string text;
    std::string delimiter;
    Pieces pieces;
};

TEST(SplitText, CutsOnlyWhereACharacterBegins) {
    const SplitCase cases[] = {
        {"~a~~b~", "~", {"", "a", "", "b"}},
        {"~", "~", {""}},
        {"", "~", {}},
        {"abc", "", {"abc"}},
        {"abc", "~", {"abc"}},
        // 0x81 0x7E is one character: its second byte does not cut, the next "~" does.
        {"\x81\x7E\x7E", "~", {"\x81\x7E"}},
        // A lead byte with nothing after it ends the scan and stays in the last piece.
        {"a~\xB0", "~", {"a", "\xB0"}},
        {"\xB0", "~", {"\xB0"}},
        {"a\xB0~", "~", {"a\xB0~"}},
        {"x--y--", "--", {"x", "y"}},
        {"x---y", "--", {"x", "-y"}},
        {"\r\n~\r\n~\r\n", "~", {"\r\n", "\r\n", "\r\n"}},
        {"\xD7\x7E~\xFF\x7E", "~", {"\xD7\x7E", "\xFF\x7E"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitText(c.text, c.delimiter), c.pieces)
            << "text " << testing::PrintToString(c.text);
        EXPECT_EQ(Oracle::splitText(c.text, c.delimiter), c.pieces)
            << "oracle, text " << testing::PrintToString(c.text);
    }
}

struct FindCase {
    std::string text;
    std::string snippet;
    long long position;
};

TEST(FindText, MatchesOnlyAtCharacterStarts) {
    const FindCase cases[] = {
        {"", "", -1},
        {"a", "", 1},
        {"", "a", -1},
        {"abc", "abcd", -1},
        {"abc", "c", 3},
        {"abcabc", "ca", 3},
        {"ABC", "abc", -1},
        // "据《" is BE DD A1 B6; "荨" (DD A1) stands in its middle but is no character of it.
        {"\xBE\xDD\xA1\xB6", "\xDD\xA1", -1},
        {"\xBE\xDD\xA1\xB6\xDD\xA1", "\xDD\xA1", 5},
        // Second bytes that equal ASCII letters or "~".
        {"\x81\x7E", "~", -1},
        {"\x81\x7E~", "~", 3},
        {"\xB0\x41\x41", "A", 3},
        {"\x80\x61", "a", -1},
        {"\xFF\x40@", "@", 3},
        {"\xFF\xFF\xFF", "\xFF\xFF", 1},
        {"a\xFF\xFF\xFF", "\xFF\xFF", 2},
        {"aa\xFF\xFF\xFF", "\xFF\xFF", 3},
        // A lone lead byte at the end: it is still a character start, then the scan ends.
        {"ab\xB0", "\xB0", 3},
        {"a\xB0", "b", -1},
        {"\xB0", "\xB0\xA1", -1},
        // Full-width and ASCII brackets differ.
        {"\xA3\xA8x", "(", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findText(c.text, c.snippet), c.position)
            << testing::PrintToString(c.snippet) << " in " << testing::PrintToString(c.text);
        EXPECT_EQ(Oracle::findText(c.text, c.snippet), c.position)
            << "oracle: " << testing::PrintToString(c.snippet) << " in "
            << testing::PrintToString(c.text);
    }
}

TEST(FindAnswerRecord, TakesTheFirstRecordThatContainsTheSnippet) {
    const Pieces records = {"", "\r\n1. \xBE\xDD\xA1\xB6\r\n", "\r\n", "\r\n2. \xDD\xA1\r\n",
                            "\xDD\xA1"};
    EXPECT_EQ(findAnswerRecord(records, ""), 2u); // the absent first record never matches
    EXPECT_EQ(findAnswerRecord(records, "\r\n"), 2u);
    EXPECT_EQ(findAnswerRecord(records, "\xDD\xA1"), 4u);
    EXPECT_EQ(findAnswerRecord(records, "~"), std::nullopt);
    EXPECT_EQ(findAnswerRecord({}, ""), std::nullopt);
    EXPECT_EQ(findAnswerRecord({"", ""}, ""), std::nullopt);
}

TEST(RecordsOfBank, StopsAtTheFirstNulAndCutsAtTheDelimiter) {
    const auto bytes = [](std::string_view s) {
        return std::vector<unsigned char>(s.begin(), s.end());
    };
    const auto blockA = bytes("~\r\na\r\n~\r\nb\r\n"s);
    EXPECT_EQ(QuestionBank::recordsOfBank(blockA), (Pieces{"", "\r\na\r\n", "\r\nb\r\n"}));
    const auto blockB = bytes("~\r\na\r\n\0~\r\nb\r\n"s);
    EXPECT_EQ(QuestionBank::recordsOfBank(blockB), (Pieces{"", "\r\na\r\n"}));
    const auto blockC = bytes("\0~a"s);
    EXPECT_TRUE(QuestionBank::recordsOfBank(blockC).empty());
    EXPECT_TRUE(QuestionBank::recordsOfBank({}).empty());
}

// Random byte strings, most of them high-bit bytes, over a small alphabet so that
// snippets occur often and land on second bytes often.
std::string randomGbkish(std::mt19937& rng, std::size_t maxLength) {
    static constexpr unsigned char alphabet[] = {'~',  'a',  'A',  '\r', '\n', 0x7E, 0x80, 0x81,
                                                 0xA1, 0xB0, 0xDD, 0xFE, 0xFF, 0x40, 0xBE, 0xB6};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    std::string s(length(rng), '\0');
    for (auto& c : s) {
        c = static_cast<char>(alphabet[pick(rng)]);
    }
    return s;
}

TEST(Differential, FastSearchAndCutAgreeWithTheOracle) {
    std::mt19937 rng(20261211);
    for (int round = 0; round < 200000; ++round) {
        const std::string text = randomGbkish(rng, 40);
        const std::string snippet = randomGbkish(rng, 4);
        ASSERT_EQ(findText(text, snippet), Oracle::findText(text, snippet))
            << testing::PrintToString(snippet) << " in " << testing::PrintToString(text);
        ASSERT_EQ(splitText(text, snippet), Oracle::splitText(text, snippet))
            << testing::PrintToString(text) << " at " << testing::PrintToString(snippet);
    }
}

TEST(Differential, LookupAgreesWithTheOracleOverRecordLists) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        const Pieces records = splitText(randomGbkish(rng, 120), "~");
        const std::string snippet = randomGbkish(rng, 3);
        ASSERT_EQ(findAnswerRecord(records, snippet), Oracle::findAnswerRecord(records, snippet));
    }
}

} // namespace
