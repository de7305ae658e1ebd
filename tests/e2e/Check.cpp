#include "Check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace check {

namespace {

struct Test {
    std::string suite;
    std::string name;
    TestBody body;
};

std::vector<Test>& tests() {
    static std::vector<Test> all;
    return all;
}

std::vector<std::string>& traces() {
    static std::vector<std::string> stack;
    return stack;
}

int& failuresOfCurrentTest() {
    static int failures = 0;
    return failures;
}

// Thrown by a fatal failure to leave the test body.
struct TestEnded {};

bool globMatch(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) {
        return text.empty();
    }
    if (pattern[0] == '*') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip) {
            if (globMatch(pattern.substr(1), text.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    return !text.empty() && (pattern[0] == '?' || pattern[0] == text[0]) &&
           globMatch(pattern.substr(1), text.substr(1));
}

bool selected(std::string_view filter, const std::string& fullName) {
    if (filter.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t end = std::min(filter.find(':', start), filter.size());
        if (globMatch(filter.substr(start, end - start), fullName)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Messages are GBK, like the texts they show; the reader's terminal wants UTF-8.
std::string utf8OfGbk(const std::string& gbk) {
    const int wideLength =
        MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    if (wideLength <= 0) {
        return gbk;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

double nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

} // namespace

bool registerTest(const char* suite, const char* name, TestBody body) {
    tests().push_back({suite, name, body});
    return true;
}

std::string describe(std::string_view gbk) {
    constexpr std::size_t shown = 300;
    std::string escaped;
    std::size_t at = 0;
    for (; at < gbk.size() && at < shown; ++at) {
        const char c = gbk[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A double-byte character: its second byte may look like '\\' or '"'.
            escaped += gbk.substr(at, 2);
            ++at;
            continue;
        }
        switch (c) {
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '"':
            escaped += "\\\"";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        default:
            if (byte < 0x20) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", byte);
                escaped += hex;
            } else {
                escaped += c;
            }
        }
    }
    std::string text = "\"" + escaped + "\"";
    if (at < gbk.size()) {
        text += "... (" + std::to_string(gbk.size()) + " bytes)";
    }
    return text;
}

std::string describe(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

std::string describe(bool value) {
    return value ? "true" : "false";
}

void Reporter::operator=(const Message& message) const {
    ++failuresOfCurrentTest();
    std::printf("%s:%d: failure\n  %s\n", file, line, utf8OfGbk(what).c_str());
    const std::string more = message.text.str();
    if (!more.empty()) {
        std::printf("  %s\n", utf8OfGbk(more).c_str());
    }
    for (const std::string& trace : traces()) {
        std::printf("  in: %s\n", utf8OfGbk(trace).c_str());
    }
    std::fflush(stdout);
    if (fatal) {
        throw TestEnded{};
    }
}

Trace::Trace(std::string context) {
    traces().push_back(std::move(context));
}

Trace::~Trace() {
    traces().pop_back();
}

std::string takeFilter(int& argc, char** argv) {
    std::string filter;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--filter=", 9) == 0) {
            filter = argv[i] + 9;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return filter;
}

int runTests(const std::string& filter) {
    std::vector<std::string> failed;
    int run = 0;
    for (const Test& test : tests()) {
        const std::string fullName = test.suite + "." + test.name;
        if (!selected(filter, fullName)) {
            continue;
        }
        ++run;
        std::printf("[ RUN      ] %s\n", fullName.c_str());
        std::fflush(stdout);
        failuresOfCurrentTest() = 0;
        const double start = nowMs();
        try {
            test.body();
        } catch (const TestEnded&) {
        } catch (const std::exception& error) {
            ++failuresOfCurrentTest();
            std::printf("  exception: %s\n", error.what());
        }
        traces().clear();
        const double took = nowMs() - start;
        if (failuresOfCurrentTest() == 0) {
            std::printf("[       OK ] %s (%.0f ms)\n", fullName.c_str(), took);
        } else {
            std::printf("[  FAILED  ] %s (%.0f ms)\n", fullName.c_str(), took);
            failed.push_back(fullName);
        }
        std::fflush(stdout);
    }
    if (run == 0) {
        std::printf("no test matches the filter '%s'\n", filter.c_str());
        return 1;
    }
    std::printf("%d test(s) run, %zu failed\n", run, failed.size());
    for (const std::string& name : failed) {
        std::printf("  FAILED: %s\n", name.c_str());
    }
    return failed.empty() ? 0 : 1;
}

} // namespace check
