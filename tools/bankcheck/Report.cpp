#include "tools/bankcheck/BankCheck.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace BankCheck {

namespace {

// Thousands grouped, as in 29,240.
std::string grouped(std::size_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        out += i == 0 ? "" : separator;
        out += parts[i];
    }
    return out;
}

std::string yesNoCount(std::size_t count, std::string_view whenNone) {
    return count == 0 ? std::string(whenNone) : "no: " + grouped(count);
}

} // namespace

void printStatistics(std::ostream& out, const Statistics& s) {
    std::vector<std::string> perSeries;
    for (const auto n : s.questionsPerSeries) {
        perSeries.push_back(grouped(n));
    }
    const std::size_t questions = s.reading.questions.size();

    std::vector<std::string> options;
    for (const auto& [count, n] : s.optionsPerQuestion) {
        options.push_back(std::to_string(count) + " options: " + grouped(n));
    }

    // Single letters first, then multi-letter answers, each group in letter order.
    std::vector<std::pair<std::string, std::size_t>> answers(s.answers.begin(), s.answers.end());
    std::stable_sort(answers.begin(), answers.end(),
                     [](const auto& a, const auto& b) { return a.first.size() < b.first.size(); });
    std::vector<std::string> answerParts;
    std::size_t answerLines = 0;
    for (const auto& [letters, n] : answers) {
        // Appended piece by piece: g++ 12 at -O2 warns falsely (-Wrestrict) on "..." + string.
        std::string part(1, '"');
        part += gbkToUtf8ForDisplay(letters);
        part += "\" ";
        part += grouped(n);
        answerParts.push_back(std::move(part));
        answerLines += n;
    }

    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Size", grouped(s.bytes) + " bytes"},
        {"NUL bytes", grouped(s.nulBytes)},
        {"Characters", grouped(s.characters) + ": " + grouped(s.doubleByteCharacters) +
                           " double-byte, " + grouped(s.singleByteCharacters) + " single-byte"},
        {"Double-byte characters within GB2312",
         yesNoCount(s.outsideGb2312, "yes, all (both bytes 0xA1-0xFE)")},
        {"Second bytes equal to 0x7E",
         s.secondBytesTilde == 0 ? "none" : grouped(s.secondBytesTilde)},
        {"CR LF pairs", grouped(s.crLfPairs)},
        {"TAB characters", grouped(s.tabs)},
        {"Delimiters", grouped(s.delimiters)},
        {"Records after cutting", grouped(s.records)},
        {"Questions", grouped(questions) + ": " +
                          (perSeries.empty() ? "-" : joined(perSeries, " + ")) + " (per series)"},
        {"Record length (non-blank records)",
         s.nonBlankRecords == 0
             ? "-"
             : grouped(s.minRecordBytes) + " to " + grouped(s.maxRecordBytes) + " bytes (" +
                   grouped(s.minRecordCharacters) + " to " + grouped(s.maxRecordCharacters) +
                   " characters), " + grouped(s.nonBlankRecords) + " records"},
        {"Options per question", options.empty() ? "-" : joined(options, ", ")},
        {"Answer lines", grouped(answerLines) + ": " + joined(answerParts, ", ")},
        {"Distinct characters in the records", grouped(s.distinctCharacters)},
        {"  shown elsewhere by a plain byte search",
         grouped(s.distinctCharactersShownByBytesElsewhere)},
        {"Later-series records sharing 10 characters",
         grouped(s.laterSeriesRecordsSharingRun) +
             " (a run of a question sentence found in an earlier record)"},
        {"Question sentences showing another record", grouped(s.shadowings.size())},
    };
    std::size_t width = 0;
    for (const auto& row : rows) {
        width = std::max(width, row.first.size());
    }
    out << std::string("Figure").append(width - 6 + 2, ' ') << "Value\n";
    for (const auto& [name, value] : rows) {
        out << name << std::string(width - name.size() + 2, ' ') << value << '\n';
    }

    out << "\nQuestion sentences that show another record than their own:\n";
    if (s.shadowings.empty()) {
        out << "  none\n";
    }
    for (const auto& shadowing : s.shadowings) {
        const Question& q = s.reading.questions[shadowing.question];
        out << "  record " << q.record << " (series " << q.series << ", question " << q.number
            << ") -> "
            << (shadowing.shownRecord ? "record " + std::to_string(*shadowing.shownRecord)
                                      : std::string("none"))
            << ": " << gbkToUtf8ForDisplay(q.sentence) << '\n';
    }
}

} // namespace BankCheck
