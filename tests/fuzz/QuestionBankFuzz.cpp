// libFuzzer target: the fast cutting and search against the oracle, and the pieces of a cut
// joined back with the delimiter give the text again (but for the dropped empty tail).

#include "../bank/Oracle.h"
#include "bank/QuestionBank.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // First byte: how long the snippet is (0 to 7); the snippet comes next, then the text.
    const std::size_t snippetLength = std::min<std::size_t>(data[0] % 8, size - 1);
    const std::string_view all(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view snippet = all.substr(0, snippetLength);
    const std::string_view text = all.substr(snippetLength);

    if (QuestionBank::findText(text, snippet) != Oracle::findText(text, snippet)) {
        std::abort();
    }
    const auto pieces = QuestionBank::splitText(text, snippet);
    if (pieces != Oracle::splitText(text, snippet)) {
        std::abort();
    }
    if (!snippet.empty()) {
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            joined += (i == 0 ? "" : std::string(snippet)) + pieces[i];
        }
        // The cut drops only the delimiters and nothing else: a trailing delimiter leaves no
        // empty piece, so the join may lack exactly that one delimiter at the end.
        if (joined != text && joined + std::string(snippet) != text) {
            std::abort();
        }
    }
    const auto records = QuestionBank::splitText(text, "~");
    if (QuestionBank::findAnswerRecord(records, snippet) !=
        Oracle::findAnswerRecord(records, snippet)) {
        std::abort();
    }
    return 0;
}
