#pragma once

// Straightforward, slow transcriptions of the cutting and search rules, step by step as
// they are laid down, kept apart from the fast code so that the tests compare the two.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Oracle {

inline bool isLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

inline std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (delimiter.empty()) {
        return {std::string(text)};
    }
    std::size_t start = 0;
    std::size_t scan = 0;
    while (text.size() - scan >= delimiter.size()) {
        if (text.substr(scan, delimiter.size()) == delimiter) {
            pieces.emplace_back(text.substr(start, scan - start));
            start = scan = scan + delimiter.size();
            continue;
        }
        if (isLeadByte(text[scan]) && scan + 1 == text.size()) {
            break;
        }
        scan += isLeadByte(text[scan]) ? 2 : 1;
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
    return pieces;
}

inline long long findText(std::string_view text, std::string_view snippet) {
    if (snippet.empty()) {
        return text.empty() ? -1 : 1;
    }
    std::size_t at = 0;
    while (at <= text.size() && text.size() - at >= snippet.size()) {
        if (text.substr(at, snippet.size()) == snippet) {
            return static_cast<long long>(at) + 1;
        }
        if (isLeadByte(text[at]) && at + 1 == text.size()) {
            return -1;
        }
        at += isLeadByte(text[at]) ? 2 : 1;
    }
    return -1;
}

inline std::optional<std::size_t> findAnswerRecord(const std::vector<std::string>& records,
                                                   std::string_view snippet) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (findText(records[i], snippet) != -1) {
            return i + 1;
        }
    }
    return std::nullopt;
}

} // namespace Oracle
