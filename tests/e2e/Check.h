#pragma once

// A small test harness for the Win32 driver. (GoogleTest needs std::mutex on Windows,
// which GCC of the win32 thread model, the toolchain of the product, does not have.)
//
//   TEST_CASE(Suite, Name) { ... }
//   CHECK(condition) << "more";          a failure that lets the test go on
//   REQUIRE(condition) << "more";        a failure that ends the test
//   CHECK_EQ(a, b), CHECK_NE, CHECK_LE, CHECK_GT, and REQUIRE_ of each
//   REQUIRE_OK(expression)               the expression yields "" or what went wrong
//   TRACE(message)                       names the case of a table in later failures
//
// The program takes --filter=Suite.*:Other.Name (":" separates patterns, "*" and "?" as
// in file names) and exits with 1 when a test failed or none matched.

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace check {

using TestBody = void (*)();
bool registerTest(const char* suite, const char* name, TestBody body);
// Takes the --filter=... argument out of argv and returns its value ("" if none).
std::string takeFilter(int& argc, char** argv);
// Runs the tests that the filter selects; the exit code of the program.
int runTests(const std::string& filter);

// How a value appears in a failure message: texts in quotes, control characters escaped,
// long texts cut short. Failure messages are GBK like the texts; they are printed as UTF-8.
std::string describe(std::string_view gbk);
inline std::string describe(const std::string& gbk) {
    return describe(std::string_view(gbk));
}
inline std::string describe(const char* gbk) {
    return describe(std::string_view(gbk));
}
std::string describe(const void* pointer);
inline std::string describe(std::nullptr_t) {
    return "nullptr";
}
std::string describe(bool value);
template <typename T>
requires std::is_arithmetic_v<T> std::string describe(T value) {
    std::ostringstream out;
    out << +value;
    return out.str();
}
template <typename T> std::string describe(const std::optional<T>& value) {
    return value ? describe(*value) : std::string("(none)");
}
template <typename T> std::string describe(const std::vector<T>& values) {
    std::string text = "{";
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += (i ? ", " : "") + describe(values[i]);
    }
    return text + "}";
}

struct Message {
    std::ostringstream text;
    template <typename T> Message& operator<<(const T& value) {
        text << value;
        return *this;
    }
};

// Reports a failure when assigned its message; a fatal one then ends the test by
// throwing past the test body, so REQUIRE works in helpers that return values too.
struct Reporter {
    const char* file;
    int line;
    std::string what;
    bool fatal;
    void operator=(const Message& message) const;
};

// The two sides of a comparison, each evaluated once and kept for the message.
template <typename A, typename B> auto both(const A& a, const B& b) {
    return std::pair<std::decay_t<const A&>, std::decay_t<const B&>>(a, b);
}

template <typename A, typename B>
std::string comparison(const char* a, const char* op, const char* b, const A& x, const B& y) {
    return std::string(a) + " " + op + " " + b + "\n    left:  " + describe(x) +
           "\n    right: " + describe(y);
}

struct Trace {
    explicit Trace(std::string context);
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
};

} // namespace check

#define CHECK_JOIN2(a, b) a##b
#define CHECK_JOIN(a, b) CHECK_JOIN2(a, b)

#define TEST_CASE(suite, name)                                                                     \
    static void suite##_##name##_body();                                                           \
    [[maybe_unused]] static const bool suite##_##name##_registered =                               \
        ::check::registerTest(#suite, #name, suite##_##name##_body);                               \
    static void suite##_##name##_body()

#define TRACE(message)                                                                             \
    const ::check::Trace CHECK_JOIN(trace_, __LINE__)((::check::Message() << message).text.str())

#define CHECK_REPORT_(condition, what, fatal)                                                      \
    if (condition) {                                                                               \
    } else                                                                                         \
        ::check::Reporter{__FILE__, __LINE__, what, fatal} = ::check::Message()

#define CHECK(condition) CHECK_REPORT_((condition), #condition, false)
#define CHECK_FALSE(condition) CHECK_REPORT_(!(condition), "not " #condition, false)
#define REQUIRE(condition) CHECK_REPORT_((condition), #condition, true)
#define REQUIRE_FALSE(condition) CHECK_REPORT_(!(condition), "not " #condition, true)

#define CHECK_COMPARE_(a, op, b, fatal)                                                            \
    if (const auto check_values_ = ::check::both((a), (b));                                        \
        check_values_.first op check_values_.second) {                                             \
    } else                                                                                         \
        ::check::Reporter{                                                                         \
            __FILE__, __LINE__,                                                                    \
            ::check::comparison(#a, #op, #b, check_values_.first, check_values_.second), fatal} =  \
            ::check::Message()

#define CHECK_EQ(a, b) CHECK_COMPARE_(a, ==, b, false)
#define CHECK_NE(a, b) CHECK_COMPARE_(a, !=, b, false)
#define CHECK_LE(a, b) CHECK_COMPARE_(a, <=, b, false)
#define CHECK_GT(a, b) CHECK_COMPARE_(a, >, b, false)
#define REQUIRE_EQ(a, b) CHECK_COMPARE_(a, ==, b, true)
#define REQUIRE_NE(a, b) CHECK_COMPARE_(a, !=, b, true)
#define REQUIRE_GT(a, b) CHECK_COMPARE_(a, >, b, true)

#define REQUIRE_OK(expression)                                                                     \
    if (const std::string check_error_ = (expression); check_error_.empty()) {                     \
    } else                                                                                         \
        ::check::Reporter{__FILE__, __LINE__, #expression ": " + check_error_, true} =             \
            ::check::Message()
