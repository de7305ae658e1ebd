#include "bank/QuestionBank.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace QuestionBank {

RecordList answerRecords;

namespace {

// A plain byte search: the fastest the C library offers. Candidates that fall inside a
// double-byte character are rejected by the caller.
std::size_t findBytes(std::string_view text, std::string_view snippet, std::size_t from) noexcept {
#if defined(__GLIBC__)
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, snippet.data(), snippet.size());
    return hit == nullptr ? npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
#else
    const auto hit =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                    std::boyer_moore_horspool_searcher(snippet.begin(), snippet.end()));
    return hit == text.end() ? npos : static_cast<std::size_t>(hit - text.begin());
#endif
}

} // namespace

std::size_t findAtCharacterStart(std::string_view text, std::string_view snippet,
                                 std::size_t from) noexcept {
    // `start` walks the character starts forward and never goes back, so the whole search
    // is linear however many byte candidates turn out to be second bytes.
    std::size_t start = from;
    std::size_t candidate = from;
    while (candidate <= text.size() && text.size() - candidate >= snippet.size()) {
        candidate = findBytes(text, snippet, candidate);
        if (candidate == npos) {
            return npos;
        }
        // start < candidate <= size - snippet.size() <= size - 1: a lead byte met on the
        // way always has a byte after it, so stepping cannot end the scan here.
        while (start < candidate) {
            start = nextCharacter(text, start);
        }
        if (start == candidate) {
            return candidate;
        }
        candidate = start;
    }
    return npos;
}

RecordList splitText(std::string_view text, std::string_view delimiter) {
    RecordList pieces;
    if (text.empty()) {
        return pieces;
    }
    if (delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t pieceStart = 0;
    for (;;) {
        const std::size_t at = findAtCharacterStart(text, delimiter, pieceStart);
        if (at == npos) {
            break;
        }
        pieces.emplace_back(text.substr(pieceStart, at - pieceStart));
        pieceStart = at + delimiter.size();
    }
    if (pieceStart < text.size()) {
        pieces.emplace_back(text.substr(pieceStart));
    }
    return pieces;
}

std::ptrdiff_t findText(std::string_view text, std::string_view snippet) noexcept {
    if (snippet.empty()) {
        return text.empty() ? -1 : 1;
    }
    const std::size_t at = findAtCharacterStart(text, snippet);
    return at == npos ? -1 : static_cast<std::ptrdiff_t>(at) + 1;
}

std::optional<std::size_t> findAnswerRecord(const RecordList& records,
                                            std::string_view snippet) noexcept {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (findText(records[i], snippet) != -1) {
            return i + 1;
        }
    }
    return std::nullopt;
}

RecordList recordsOfBank(std::span<const unsigned char> block) {
    std::string_view bank(reinterpret_cast<const char*>(block.data()), block.size());
    bank = bank.substr(0, bank.find('\0'));
    return splitText(bank, "~");
}

} // namespace QuestionBank
