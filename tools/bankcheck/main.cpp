// bankcheck FILE            checks a GBK bank file and prints its figures
// bankcheck FILE --find TEXT shows which record the UTF-8 snippet TEXT would show
//
// Exit codes: 0 a valid bank, or a snippet that shows a record; 1 faults, or a snippet
// that shows none; 2 wrong arguments or an unreadable file or snippet.

#include "tools/bankcheck/BankCheck.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr int exitFaults = 1;
constexpr int exitTrouble = 2;

int usage() {
    std::cerr << "usage: bankcheck FILE\n"
                 "       bankcheck FILE --find TEXT   (TEXT in UTF-8)\n";
    return exitTrouble;
}

std::optional<std::string> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(bytes).str();
}

int check(const char* path, std::string_view file) {
    const auto faults = BankCheck::faultsOf(file);
    if (!faults.empty()) {
        std::cout << path << ": " << faults.size() << (faults.size() == 1 ? " fault" : " faults")
                  << " (lines and columns from 1, columns in bytes)\n";
        for (const auto& fault : faults) {
            std::cout << path << ':' << fault.line << ':' << fault.column << ": "
                      << BankCheck::nameOf(fault.kind) << ": "
                      << BankCheck::gbkToUtf8ForDisplay(fault.detail) << '\n';
        }
        return exitFaults;
    }
    std::cout << path << ": a valid bank\n\n";
    BankCheck::printStatistics(std::cout, BankCheck::statisticsOf(file));
    return 0;
}

int find(std::string_view file, std::string_view utf8) {
    const auto snippet = BankCheck::utf8ToGbk(utf8);
    if (!snippet) {
        std::cerr << "bankcheck: the snippet is not UTF-8 or holds a character that GBK lacks\n";
        return exitTrouble;
    }
    // The file as the build would embed it.
    const auto records = QuestionBank::recordsOfBank(
        {reinterpret_cast<const unsigned char*>(file.data()), file.size()});
    const auto shown = QuestionBank::findAnswerRecord(records, *snippet);
    if (!shown) {
        std::cout << "none\n";
        return exitFaults;
    }
    std::cout << "record " << *shown << '\n'
              << BankCheck::gbkToUtf8ForDisplay(records[*shown - 1]) << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool findMode = argc == 4 && std::string_view(argv[2]) == "--find";
    if (argc != 2 && !findMode) {
        return usage();
    }
    const auto file = readFile(argv[1]);
    if (!file) {
        std::cerr << "bankcheck: cannot read " << argv[1] << '\n';
        return exitTrouble;
    }
    return findMode ? find(*file, argv[3]) : check(argv[1], *file);
}
