// The lookup against a plain byte search over the same bytes. The character-start rule
// must cost next to nothing: a byte search finds the candidates, and only candidates are
// checked against the character starts.

#include "bank/QuestionBank.h"
#include "bank/QuestionBankData.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <string_view>

namespace {

using QuestionBank::RecordList;

const RecordList& bankRecords() {
    static const RecordList records = QuestionBank::recordsOfBank(QuestionBank::questionBank());
    return records;
}

// Characters that no bank record holds: the lookup visits all 200 records.
const std::string absentSnippet = "\xD7\xF9\xD7\xF8\xD7\xF7\xD7\xF6";

// The question sentence of the last record: the lookup finds it only at the very end.
std::string lastRecordSnippet() {
    const std::string& last = bankRecords().back();
    const std::size_t begin = last.find_first_not_of("\r\n");
    const std::size_t end = last.find("\r\n", begin);
    return last.substr(begin, end - begin);
}

bool containsMemmem(const std::string& text, const std::string& snippet) {
    return ::memmem(text.data(), text.size(), snippet.data(), snippet.size()) != nullptr;
}

bool containsFind(const std::string& text, const std::string& snippet) {
    return text.find(snippet) != std::string::npos;
}

template <bool (*contains)(const std::string&, const std::string&)>
std::size_t plainLookup(const RecordList& records, const std::string& snippet) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (contains(records[i], snippet)) {
            return i + 1;
        }
    }
    return 0;
}

void runLookup(benchmark::State& state, const std::string& snippet, int method) {
    const RecordList& records = bankRecords();
    for (auto _ : state) {
        std::size_t found = 0;
        switch (method) {
        case 0:
            found = QuestionBank::findAnswerRecord(records, snippet).value_or(0);
            break;
        case 1:
            found = plainLookup<containsMemmem>(records, snippet);
            break;
        default:
            found = plainLookup<containsFind>(records, snippet);
            break;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(QuestionBank::questionBankBytesLength));
}

void BankAbsent_findAnswerRecord(benchmark::State& s) {
    runLookup(s, absentSnippet, 0);
}
void BankAbsent_memmem(benchmark::State& s) {
    runLookup(s, absentSnippet, 1);
}
void BankAbsent_stringFind(benchmark::State& s) {
    runLookup(s, absentSnippet, 2);
}
void BankLastRecord_findAnswerRecord(benchmark::State& s) {
    runLookup(s, lastRecordSnippet(), 0);
}
void BankLastRecord_memmem(benchmark::State& s) {
    runLookup(s, lastRecordSnippet(), 1);
}
void BankLastRecord_stringFind(benchmark::State& s) {
    runLookup(s, lastRecordSnippet(), 2);
}

// 10 MB of GBK text: GB2312 characters from the common rows, now and then ASCII and CR LF.
const std::string& bigText() {
    static const std::string text = [] {
        std::mt19937 rng(936);
        std::uniform_int_distribution<int> lead(0xB0, 0xD6);
        std::uniform_int_distribution<int> trail(0xA1, 0xFE);
        std::uniform_int_distribution<int> kind(0, 19);
        std::string t;
        t.reserve(10u << 20);
        while (t.size() < (10u << 20)) {
            const int k = kind(rng);
            if (k == 0) {
                t += "\r\n";
            } else if (k == 1) {
                t += static_cast<char>('a' + trail(rng) % 26);
            } else {
                t += static_cast<char>(lead(rng));
                t += static_cast<char>(trail(rng));
            }
        }
        return t;
    }();
    return text;
}

// Starts with common characters, ends with one from a row the text never uses.
const std::string bigAbsent = "\xB5\xC4\xCA\xC7\xD7\xF9";

void runBig(benchmark::State& state, int method) {
    const std::string& text = bigText();
    for (auto _ : state) {
        bool found = false;
        switch (method) {
        case 0:
            found = QuestionBank::findText(text, bigAbsent) != -1;
            break;
        case 1:
            found = containsMemmem(text, bigAbsent);
            break;
        default:
            found = containsFind(text, bigAbsent);
            break;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void Big10MB_findText(benchmark::State& s) {
    runBig(s, 0);
}
void Big10MB_memmem(benchmark::State& s) {
    runBig(s, 1);
}
void Big10MB_stringFind(benchmark::State& s) {
    runBig(s, 2);
}

BENCHMARK(BankAbsent_findAnswerRecord);
BENCHMARK(BankAbsent_memmem);
BENCHMARK(BankAbsent_stringFind);
BENCHMARK(BankLastRecord_findAnswerRecord);
BENCHMARK(BankLastRecord_memmem);
BENCHMARK(BankLastRecord_stringFind);
BENCHMARK(Big10MB_findText);
BENCHMARK(Big10MB_memmem);
BENCHMARK(Big10MB_stringFind);

} // namespace

BENCHMARK_MAIN();
