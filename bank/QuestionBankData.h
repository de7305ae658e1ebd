#pragma once

// The bank text that the build embeds: GBK, not NUL-terminated, its length beside it.

#include <cstddef>
#include <span>

namespace QuestionBank {

extern const unsigned char questionBankBytes[];
extern const std::size_t questionBankBytesLength;

inline std::span<const unsigned char> questionBank() noexcept {
    return {questionBankBytes, questionBankBytesLength};
}

} // namespace QuestionBank
