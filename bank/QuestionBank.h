#pragma once

// The question bank: the embedded GBK text, its cutting into records at "~", and the
// lookup of a snippet among the records. Holds no platform code.
//
// Texts are GBK byte strings. An absent text and the empty text behave the same
// everywhere in this program, so both are the empty std::string here. Positions count
// bytes from 1; -1 stands for no occurrence.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace QuestionBank {

using GbkText = std::string;
using RecordList = std::vector<GbkText>;

inline constexpr std::size_t npos = std::string_view::npos;

// The character-stepping rule shared by the cutting and the search: a byte with its high
// bit set begins a two-byte character and takes the next byte along, whatever it is.
// Returns where the character after the one at `at` begins, or npos when the byte at
// `at` is such a lead byte with nothing after it, which ends any scan.
constexpr std::size_t nextCharacter(std::string_view text, std::size_t at) noexcept {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
        return at + 1;
    }
    return at + 1 < text.size() ? at + 2 : npos;
}

// The first occurrence of a non-empty `snippet` in `text` at or after `from` that
// begins a character, `from` itself counting as a character start; npos if none.
std::size_t findAtCharacterStart(std::string_view text, std::string_view snippet,
                                 std::size_t from = 0) noexcept;

// The pieces of `text` between occurrences of `delimiter`, which is recognised only where
// a character begins. An empty piece is an empty string.
RecordList splitText(std::string_view text, std::string_view delimiter);

// Byte position (from 1) of the first occurrence of `snippet` in `text` that begins a
// character, or -1. The empty snippet is found at 1 in any non-empty text.
std::ptrdiff_t findText(std::string_view text, std::string_view snippet) noexcept;

// Position (from 1) of the first record that contains `snippet`, or none.
std::optional<std::size_t> findAnswerRecord(const RecordList& records,
                                            std::string_view snippet) noexcept;

// The records of a bank block: its bytes up to the first NUL, cut at "~".
RecordList recordsOfBank(std::span<const unsigned char> block);

// The program-wide record list: empty until loadAnswerRecords, then only read.
extern RecordList answerRecords;

// Replaces answerRecords by the records of the embedded bank; the new list is complete
// before the old one is released.
void loadAnswerRecords();

} // namespace QuestionBank
