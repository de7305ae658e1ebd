#pragma once

// The checks behind the bankcheck tool: the faults of a bank file, the questions read
// out of its records, and the figures of a valid bank. The lookup itself stays with the
// QuestionBank module, so that what the figures say is what the program shows.
//
// Texts are GBK byte strings, as in the program; only the conversions at the bottom
// deal in UTF-8.

#include "bank/QuestionBank.h"

#include <cstddef>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace BankCheck {

using QuestionBank::GbkText;
using QuestionBank::RecordList;

// ---- Faults ---------------------------------------------------------------------------

enum class FaultKind {
    InvalidGbk,
    Nul,
    LoneCr,
    LoneLf,
    TildeNotAlone,
    MissingLeadingTilde,
    TrailingTilde,
    QuestionWithoutAnswer,
    AnswerWithoutQuestion,
    AnswerWithoutLetter,
    AnswerLetterWithoutOption,
};

// Lines count from 1 and end at LF; columns count bytes from 1.
struct Fault {
    FaultKind kind;
    std::size_t line;
    std::size_t column;
    std::string detail; // ASCII, or GBK where it quotes the bank
};

// A short name of the kind, such as "lone LF".
std::string_view nameOf(FaultKind kind);

// Every fault of a bank file, in the order of their positions. Empty for a valid bank.
std::vector<Fault> faultsOf(std::string_view file);

// Line and column (both from 1, the column in bytes) of a byte offset of `file`.
struct Place {
    std::size_t line;
    std::size_t column;
};
Place placeOf(std::string_view file, std::size_t offset);

// Whether the two bytes form a character of GBK (code page 936) that has a Unicode
// counterpart. A lead byte of 0x80 or 0xFF never does.
bool isGbkPair(unsigned char lead, unsigned char trail);

// ---- Questions ------------------------------------------------------------------------

struct Option {
    char letter;
    std::size_t offset; // of the letter, in its record
    bool indented;      // by a TAB
    std::size_t dots;   // "." or ".."
    std::string text;   // after the dots, up to the line end
};

struct AnswerLine {
    std::size_t offset; // of the first letter (where it would stand), in its record
    bool indented;
    std::string letters; // everything after "答案：" up to the line end
};

struct Question {
    std::size_t record = 0;            // position of its record, from 1
    std::size_t series = 0;            // from 1; blank records part the series
    std::size_t offset = 0;            // of its number line, in its record
    std::string number;                // the digits as written
    std::string separator;             // " ", "\t" or empty: what follows "N."
    std::string sentence;              // the rest of the number line
    std::vector<GbkText> furtherLines; // non-empty lines between number line and first option
    std::vector<Option> options;
    std::optional<AnswerLine> answer;
};

// An answer line that follows no question still waiting for its answer.
struct StrayAnswer {
    std::size_t record;
    std::size_t offset;
};

struct Reading {
    std::vector<Question> questions;
    std::vector<StrayAnswer> strayAnswers;
};

// Reads the questions out of the records: a number line is digits and "." at the start
// of a line, not followed by a digit; option lines are "A." to "D." (or ".."), maybe
// after TABs; the answer line is "答案：" and letters, maybe after TABs.
Reading readQuestions(const RecordList& records);

// A record of nothing but line ends, blanks and TABs (the empty record included).
bool isBlank(std::string_view record);

// ---- Figures --------------------------------------------------------------------------

// Plain byte search over the records, blind to character boundaries: the first record
// whose bytes contain the snippet's bytes anywhere.
std::optional<std::size_t> findRecordByBytes(const RecordList& records, std::string_view snippet);

struct Shadowing {
    std::size_t question; // index into Reading::questions
    std::optional<std::size_t> shownRecord;
};

// The questions whose whole question sentence, as a snippet, shows a record other than
// their own.
std::vector<Shadowing> shadowingsOf(const RecordList& records, const Reading& reading);

struct Statistics {
    std::size_t bytes = 0;
    std::size_t nulBytes = 0;
    std::size_t characters = 0;
    std::size_t doubleByteCharacters = 0;
    std::size_t singleByteCharacters = 0;
    std::size_t outsideGb2312 = 0;    // double-byte characters with a byte outside 0xA1–0xFE
    std::size_t secondBytesTilde = 0; // double-byte characters whose second byte is 0x7E
    std::size_t crLfPairs = 0;
    std::size_t tabs = 0;
    std::size_t delimiters = 0;
    std::size_t records = 0;
    std::vector<std::size_t> questionsPerSeries;
    std::size_t nonBlankRecords = 0;
    std::size_t minRecordBytes = 0;
    std::size_t maxRecordBytes = 0;
    std::size_t minRecordCharacters = 0;
    std::size_t maxRecordCharacters = 0;
    std::map<std::size_t, std::size_t> optionsPerQuestion; // option count -> questions
    std::map<std::string, std::size_t> answers;            // letters -> answer lines
    std::size_t distinctCharacters = 0;
    std::size_t distinctCharactersShownByBytesElsewhere = 0;
    std::size_t laterSeriesRecordsSharingRun = 0; // see sharesRunWithEarlierRecord
    Reading reading;
    std::vector<Shadowing> shadowings;
};

// Characters of a text by the program's stepping rule, a lone lead byte at the end
// counting as one.
std::size_t characterCount(std::string_view text);

// Whether some run of `run` characters of the record's question sentences occurs in an
// earlier record.
bool sharesRunWithEarlierRecord(const RecordList& records, const Reading& reading,
                                std::size_t record, std::size_t run);

// The figures of a bank file; meaningful for a file without faults.
Statistics statisticsOf(std::string_view file);

// The figures as a table and the list of shadowed questions, in UTF-8.
void printStatistics(std::ostream& out, const Statistics& statistics);

// ---- Conversions (iconv) --------------------------------------------------------------

std::optional<std::string> utf8ToGbk(std::string_view utf8);
std::optional<std::string> gbkToUtf8(std::string_view gbk);
// For display: a byte that is no GBK character comes out as U+FFFD.
std::string gbkToUtf8ForDisplay(std::string_view gbk);

} // namespace BankCheck
