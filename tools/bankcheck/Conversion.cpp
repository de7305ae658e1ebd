#include "tools/bankcheck/BankCheck.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <memory>

namespace BankCheck {

namespace {

struct IconvClose {
    void operator()(void* descriptor) const noexcept {
        iconv_close(static_cast<iconv_t>(descriptor));
    }
};
using Converter = std::unique_ptr<void, IconvClose>;

Converter openConverter(const char* to, const char* from) {
    const iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        return nullptr;
    }
    return Converter(descriptor);
}

// The whole text or nothing: a sequence that the source encoding does not know, or that
// the target cannot hold, fails the conversion.
std::optional<std::string> convert(const Converter& converter, std::string_view text) {
    if (!converter) {
        return std::nullopt;
    }
    const auto descriptor = static_cast<iconv_t>(converter.get());
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    std::string in(text);
    std::string out(text.size() * 2 + 16, '\0');
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    std::size_t done = 0;
    for (;;) {
        char* outPointer = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t result = iconv(descriptor, &inPointer, &inLeft, &outPointer, &outLeft);
        done = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            // Flush any shift state; neither encoding here has one, but iconv asks for it.
            if (iconv(descriptor, nullptr, nullptr, &outPointer, &outLeft) ==
                static_cast<std::size_t>(-1)) {
                return std::nullopt;
            }
            out.resize(out.size() - outLeft);
            return out;
        }
        if (errno != E2BIG) {
            return std::nullopt;
        }
        out.resize(out.size() * 2);
    }
}

const Converter& gbkToUtf8Converter() {
    static const Converter converter = openConverter("UTF-8", "GBK");
    return converter;
}

} // namespace

bool isGbkPair(unsigned char lead, unsigned char trail) {
    // All pairs are decided once; the bank is checked pair by pair.
    static const std::vector<bool> known = [] {
        std::vector<bool> table(0x10000, false);
        for (unsigned l = 0x81; l <= 0xFE; ++l) {
            for (unsigned t = 0x40; t <= 0xFE; ++t) {
                if (t == 0x7F) {
                    continue;
                }
                const char pair[] = {static_cast<char>(l), static_cast<char>(t)};
                table[l << 8 | t] = convert(gbkToUtf8Converter(), {pair, 2}).has_value();
            }
        }
        return table;
    }();
    return known[static_cast<unsigned>(lead) << 8 | trail];
}

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    static const Converter converter = openConverter("GBK", "UTF-8");
    return convert(converter, utf8);
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    // Checked against the pair table first: iconv's GBK reads 0x80 as the euro sign,
    // while the program takes 0x80 as the first byte of a two-byte character.
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b >= 0x80) {
            if (i + 1 == gbk.size() || !isGbkPair(b, static_cast<unsigned char>(gbk[i + 1]))) {
                return std::nullopt;
            }
            ++i;
        }
    }
    return convert(gbkToUtf8Converter(), gbk);
}

std::string gbkToUtf8ForDisplay(std::string_view gbk) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string out;
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            out += gbk[i];
            ++i;
        } else if (i + 1 < gbk.size() && isGbkPair(b, static_cast<unsigned char>(gbk[i + 1]))) {
            out +=
                convert(gbkToUtf8Converter(), gbk.substr(i, 2)).value_or(std::string(replacement));
            i += 2;
        } else {
            out += replacement;
            ++i;
        }
    }
    return out;
}

} // namespace BankCheck
