#include "tools/bankcheck/BankCheck.h"

#include <algorithm>
#include <set>

namespace BankCheck {

namespace {

constexpr std::string_view answerMark = "答案：";

unsigned char byteAt(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]);
}

std::string hexByte(unsigned char byte) {
    static constexpr char digits[] = "0123456789ABCDEF";
    return {'0', 'x', digits[byte >> 4], digits[byte & 0xF]};
}

// Offsets where the lines of `file` begin; the first is 0.
std::vector<std::size_t> lineStartsOf(std::string_view file) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\n') {
            starts.push_back(i + 1);
        }
    }
    return starts;
}

Place placeIn(const std::vector<std::size_t>& lineStarts, std::size_t offset) {
    const auto next = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
    const auto line = static_cast<std::size_t>(next - lineStarts.begin());
    return {line, offset - lineStarts[line - 1] + 1};
}

// Calls `visit(line, offset)` for every line of `text`, without its CR LF (or lone LF).
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        visit(line, start);
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

std::size_t leadingTabs(std::string_view line) {
    const std::size_t n = line.find_first_not_of('\t');
    return n == std::string_view::npos ? line.size() : n;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

Fault makeFault(const std::vector<std::size_t>& lineStarts, FaultKind kind, std::size_t offset,
                std::string detail) {
    const Place place = placeIn(lineStarts, offset);
    return {kind, place.line, place.column, std::move(detail)};
}

// The byte-level rules: encoding, line ends, NUL, and where "~" may stand.
void addByteFaults(std::string_view file, const std::vector<std::size_t>& lineStarts,
                   std::vector<Fault>& faults) {
    if (file.empty() || file[0] != '~') {
        faults.push_back(makeFault(lineStarts, FaultKind::MissingLeadingTilde, 0,
                                   "the text must begin with a line that holds only \"~\""));
    }
    std::size_t i = 0;
    while (i < file.size()) {
        const unsigned char b = byteAt(file, i);
        if (b == 0) {
            faults.push_back(
                makeFault(lineStarts, FaultKind::Nul, i, "the program's bank text would end here"));
        } else if (b == '\r') {
            if (i + 1 < file.size() && file[i + 1] == '\n') {
                i += 2;
                continue;
            }
            faults.push_back(makeFault(lineStarts, FaultKind::LoneCr, i, "CR without LF after it"));
        } else if (b == '\n') {
            faults.push_back(
                makeFault(lineStarts, FaultKind::LoneLf, i, "LF without CR before it"));
        } else if (b == '~') {
            const bool atLineStart = i == 0 || file[i - 1] == '\n';
            const std::string_view rest = file.substr(i + 1);
            const bool lineEndsHere = rest.empty() || rest.starts_with("\r\n");
            if (!atLineStart || !lineEndsHere) {
                faults.push_back(makeFault(lineStarts, FaultKind::TildeNotAlone, i,
                                           "\"~\" is allowed only alone on its line"));
            } else if (i > 0 && (rest.empty() || rest == "\r\n")) {
                faults.push_back(makeFault(lineStarts, FaultKind::TrailingTilde, i,
                                           "the text ends with a \"~\" line instead of a record"));
            }
        } else if (b >= 0x80) {
            if (b == 0x80 || b == 0xFF) {
                faults.push_back(makeFault(lineStarts, FaultKind::InvalidGbk, i,
                                           "byte " + hexByte(b) + " begins no GBK character"));
            } else if (i + 1 == file.size()) {
                faults.push_back(
                    makeFault(lineStarts, FaultKind::InvalidGbk, i,
                              "byte " + hexByte(b) + " begins a GBK character but ends the file"));
            } else if (const unsigned char t = byteAt(file, i + 1); !isGbkPair(b, t)) {
                faults.push_back(
                    makeFault(lineStarts, FaultKind::InvalidGbk, i,
                              "bytes " + hexByte(b) + " " + hexByte(t) + " are no GBK character"));
                // A second byte of the right range belongs to the pair, unassigned as it
                // is; any other byte is looked at again on its own, a line end above all.
                if (t >= 0x40 && t != 0x7F && t != 0xFF) {
                    i += 2;
                    continue;
                }
            } else {
                i += 2;
                continue;
            }
        }
        ++i;
    }
}

// The question-level rules: every question has an answer line, every answer line
// belongs to a question and names only options that the question has.
void addQuestionFaults(std::string_view file, const std::vector<std::size_t>& lineStarts,
                       std::vector<Fault>& faults) {
    // A misplaced "~" has been reported already; the questions are read as if it were
    // not there, so that it neither cuts a question in two nor spoils the line it is in.
    // `origin` takes offsets of that reading back to offsets of the file.
    std::string text;
    std::vector<std::size_t> origin;
    for (std::size_t i = 0; i < file.size();) {
        const std::size_t next = std::min(QuestionBank::nextCharacter(file, i), file.size());
        const bool alone = (i == 0 || file[i - 1] == '\n') &&
                           (next == file.size() || file.compare(next, 2, "\r\n") == 0);
        if (file[i] != '~' || alone) {
            for (std::size_t k = i; k < next; ++k) {
                text += file[k];
                origin.push_back(k);
            }
        }
        i = next;
    }
    origin.push_back(file.size());
    const RecordList records = QuestionBank::splitText(text, "~");
    // Pieces of a cut at a one-byte delimiter lie end to end, one byte apart.
    std::vector<std::size_t> recordStarts;
    std::size_t start = 0;
    for (const auto& record : records) {
        recordStarts.push_back(start);
        start += record.size() + 1;
    }
    const auto fileOffset = [&](std::size_t record, std::size_t offset) {
        return origin[recordStarts[record - 1] + offset];
    };
    const Reading reading = readQuestions(records);
    for (const auto& q : reading.questions) {
        if (!q.answer) {
            faults.push_back(makeFault(lineStarts, FaultKind::QuestionWithoutAnswer,
                                       fileOffset(q.record, q.offset),
                                       "question " + q.number + " has no answer line"));
            continue;
        }
        if (q.answer->letters.empty()) {
            faults.push_back(makeFault(
                lineStarts, FaultKind::AnswerWithoutLetter, fileOffset(q.record, q.answer->offset),
                "the answer line of question " + q.number + " names no option"));
            continue;
        }
        std::string letters;
        for (const auto& option : q.options) {
            letters += option.letter;
        }
        const std::string_view given = q.answer->letters;
        for (std::size_t k = 0; k < given.size(); ++k) {
            if (letters.find(given[k]) == std::string::npos) {
                const unsigned char c = byteAt(given, k);
                const std::string shown =
                    c >= 'A' && c <= 'Z' ? "option " + std::string(1, given[k])
                                         : "byte " + hexByte(c) + ", which is no option letter";
                faults.push_back(
                    makeFault(lineStarts, FaultKind::AnswerLetterWithoutOption,
                              fileOffset(q.record, q.answer->offset + k),
                              "question " + q.number + " names " + shown + " (its options: " +
                                  (letters.empty() ? std::string("none") : letters) + ")"));
                break;
            }
        }
    }
    for (const auto& stray : reading.strayAnswers) {
        faults.push_back(makeFault(lineStarts, FaultKind::AnswerWithoutQuestion,
                                   fileOffset(stray.record, stray.offset),
                                   "answer line without a question waiting for it"));
    }
}

} // namespace

std::string_view nameOf(FaultKind kind) {
    switch (kind) {
    case FaultKind::InvalidGbk:
        return "invalid GBK";
    case FaultKind::Nul:
        return "NUL byte";
    case FaultKind::LoneCr:
        return "lone CR";
    case FaultKind::LoneLf:
        return "lone LF";
    case FaultKind::TildeNotAlone:
        return "\"~\" not alone on its line";
    case FaultKind::MissingLeadingTilde:
        return "missing leading \"~\" line";
    case FaultKind::TrailingTilde:
        return "trailing \"~\"";
    case FaultKind::QuestionWithoutAnswer:
        return "question without answer line";
    case FaultKind::AnswerWithoutQuestion:
        return "answer line without question";
    case FaultKind::AnswerWithoutLetter:
        return "answer line without letter";
    case FaultKind::AnswerLetterWithoutOption:
        return "answer letter without such option";
    }
    return "unknown fault";
}

Place placeOf(std::string_view file, std::size_t offset) {
    return placeIn(lineStartsOf(file.substr(0, offset)), offset);
}

std::vector<Fault> faultsOf(std::string_view file) {
    const std::vector<std::size_t> lineStarts = lineStartsOf(file);
    std::vector<Fault> faults;
    addByteFaults(file, lineStarts, faults);
    addQuestionFaults(file, lineStarts, faults);
    std::stable_sort(faults.begin(), faults.end(), [](const Fault& a, const Fault& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return faults;
}

bool isBlank(std::string_view record) {
    return record.find_first_not_of("\r\n\t ") == std::string_view::npos;
}

Reading readQuestions(const RecordList& records) {
    Reading reading;
    std::size_t series = 1;
    bool seriesHasQuestions = false;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const std::string_view record = records[r];
        if (!record.empty() && isBlank(record) && seriesHasQuestions) {
            ++series;
            seriesHasQuestions = false;
        }
        // The question that lines are added to, while it still waits for its answer.
        std::optional<std::size_t> open;
        forEachLine(record, [&](std::string_view line, std::size_t offset) {
            std::size_t digits = 0;
            while (digits < line.size() && isDigit(line[digits])) {
                ++digits;
            }
            if (digits > 0 && digits < line.size() && line[digits] == '.' &&
                (digits + 1 == line.size() || !isDigit(line[digits + 1]))) {
                Question q;
                q.record = r + 1;
                q.series = series;
                q.offset = offset;
                q.number = line.substr(0, digits);
                std::string_view rest = line.substr(digits + 1);
                if (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t')) {
                    q.separator = rest.substr(0, 1);
                    rest.remove_prefix(1);
                }
                q.sentence = rest;
                open = reading.questions.size();
                reading.questions.push_back(std::move(q));
                seriesHasQuestions = true;
                return;
            }
            const std::size_t tabs = leadingTabs(line);
            const std::string_view body = line.substr(tabs);
            if (body.starts_with(answerMark)) {
                if (!open) {
                    reading.strayAnswers.push_back({r + 1, offset + tabs});
                    return;
                }
                reading.questions[*open].answer =
                    AnswerLine{offset + tabs + answerMark.size(), tabs > 0,
                               std::string(body.substr(answerMark.size()))};
                open.reset();
                return;
            }
            if (!open) {
                return;
            }
            Question& q = reading.questions[*open];
            if (body.size() >= 2 && body[0] >= 'A' && body[0] <= 'D' && body[1] == '.') {
                const std::size_t dots = body.size() >= 3 && body[2] == '.' ? 2 : 1;
                q.options.push_back(
                    {body[0], offset + tabs, tabs > 0, dots, std::string(body.substr(1 + dots))});
            } else if (!line.empty() && q.options.empty()) {
                q.furtherLines.emplace_back(line);
            }
        });
    }
    return reading;
}

std::optional<std::size_t> findRecordByBytes(const RecordList& records, std::string_view snippet) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (std::string_view(records[i]).find(snippet) != std::string_view::npos) {
            return i + 1;
        }
    }
    return std::nullopt;
}

std::vector<Shadowing> shadowingsOf(const RecordList& records, const Reading& reading) {
    std::vector<Shadowing> shadowings;
    for (std::size_t i = 0; i < reading.questions.size(); ++i) {
        const Question& q = reading.questions[i];
        const auto shown = QuestionBank::findAnswerRecord(records, q.sentence);
        if (shown != q.record) {
            shadowings.push_back({i, shown});
        }
    }
    return shadowings;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i = QuestionBank::nextCharacter(text, i)) {
        ++count;
    }
    return count;
}

bool sharesRunWithEarlierRecord(const RecordList& records, const Reading& reading,
                                std::size_t record, std::size_t run) {
    const RecordList earlier(records.begin(),
                             records.begin() + static_cast<std::ptrdiff_t>(record - 1));
    for (const auto& q : reading.questions) {
        if (q.record != record) {
            continue;
        }
        const std::string_view sentence = q.sentence;
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < sentence.size(); i = QuestionBank::nextCharacter(sentence, i)) {
            starts.push_back(i);
        }
        starts.push_back(sentence.size());
        for (std::size_t k = 0; k + run < starts.size(); ++k) {
            const std::string_view window = sentence.substr(starts[k], starts[k + run] - starts[k]);
            if (QuestionBank::findAnswerRecord(earlier, window)) {
                return true;
            }
        }
    }
    return false;
}

Statistics statisticsOf(std::string_view file) {
    Statistics s;
    s.bytes = file.size();
    for (std::size_t i = 0; i < file.size();) {
        const unsigned char b = byteAt(file, i);
        if (b == 0) {
            ++s.nulBytes;
        } else if (b == '\t') {
            ++s.tabs;
        } else if (b == '~') {
            ++s.delimiters;
        } else if (b == '\r' && i + 1 < file.size() && file[i + 1] == '\n') {
            ++s.crLfPairs;
        }
        ++s.characters;
        const std::size_t next = QuestionBank::nextCharacter(file, i);
        if (next == i + 2) {
            ++s.doubleByteCharacters;
            const unsigned char t = byteAt(file, i + 1);
            if (b < 0xA1 || b > 0xFE || t < 0xA1 || t > 0xFE) {
                ++s.outsideGb2312;
            }
            if (t == 0x7E) {
                ++s.secondBytesTilde;
            }
        } else {
            ++s.singleByteCharacters;
        }
        if (next == QuestionBank::npos) {
            break;
        }
        i = next;
    }

    const std::string_view bytes = file;
    const RecordList records = QuestionBank::recordsOfBank(
        {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
    s.records = records.size();
    s.reading = readQuestions(records);
    for (const auto& q : s.reading.questions) {
        if (s.questionsPerSeries.size() < q.series) {
            s.questionsPerSeries.resize(q.series);
        }
        ++s.questionsPerSeries[q.series - 1];
        ++s.optionsPerQuestion[q.options.size()];
        if (q.answer) {
            ++s.answers[q.answer->letters];
        }
    }

    std::set<std::string_view> characters;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const std::string_view record = records[r];
        for (std::size_t i = 0; i < record.size();) {
            const std::size_t next = QuestionBank::nextCharacter(record, i);
            characters.insert(record.substr(i, next == QuestionBank::npos ? next : next - i));
            if (next == QuestionBank::npos) {
                break;
            }
            i = next;
        }
        if (isBlank(record)) {
            continue;
        }
        const std::size_t count = characterCount(record);
        if (s.nonBlankRecords == 0) {
            s.minRecordBytes = s.maxRecordBytes = record.size();
            s.minRecordCharacters = s.maxRecordCharacters = count;
        }
        ++s.nonBlankRecords;
        s.minRecordBytes = std::min(s.minRecordBytes, record.size());
        s.maxRecordBytes = std::max(s.maxRecordBytes, record.size());
        s.minRecordCharacters = std::min(s.minRecordCharacters, count);
        s.maxRecordCharacters = std::max(s.maxRecordCharacters, count);
    }
    s.distinctCharacters = characters.size();
    for (const auto character : characters) {
        if (findRecordByBytes(records, character) !=
            QuestionBank::findAnswerRecord(records, character)) {
            ++s.distinctCharactersShownByBytesElsewhere;
        }
    }

    std::set<std::size_t> laterSeriesRecords;
    for (const auto& q : s.reading.questions) {
        if (q.series > 1) {
            laterSeriesRecords.insert(q.record);
        }
    }
    for (const std::size_t record : laterSeriesRecords) {
        if (sharesRunWithEarlierRecord(records, s.reading, record, 10)) {
            ++s.laterSeriesRecordsSharingRun;
        }
    }
    s.shadowings = shadowingsOf(records, s.reading);
    return s;
}

} // namespace BankCheck
