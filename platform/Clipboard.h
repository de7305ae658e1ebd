#pragma once

// Reading the clipboard's text. The clipboard is only read: never emptied or written.

#include <cstdint>
#include <span>
#include <string>

namespace platform {

// Clipboard format numbers, with the system's values.
namespace clipboardFormat {
inline constexpr std::uint32_t text = 1;
inline constexpr std::uint32_t unicodeText = 13;
} // namespace clipboardFormat

enum class ClipboardForm { eightBit, unicode };

// Which form of the text to read, given the formats in the order in which the
// clipboard lists them. The system converts between the two forms with the code page
// of the keyboard layout active at copy time, which loses Chinese text copied under
// an English layout; so the form that the copying program placed first is read, and
// where the system's own 8-bit code page is not GBK the Unicode form always is.
constexpr ClipboardForm chooseClipboardForm(std::span<const std::uint32_t> formatsInOrder,
                                            bool systemCodePageIsGbk) {
    if (!systemCodePageIsGbk) {
        return ClipboardForm::unicode;
    }
    for (const std::uint32_t format : formatsInOrder) {
        if (format == clipboardFormat::unicodeText) {
            return ClipboardForm::unicode;
        }
        if (format == clipboardFormat::text) {
            return ClipboardForm::eightBit;
        }
    }
    return ClipboardForm::eightBit;
}

// The clipboard's text as a new GBK text up to its first NUL, or the empty (absent)
// text when the clipboard cannot be opened or holds no text. One attempt, no retry.
std::string readClipboardText();

} // namespace platform
