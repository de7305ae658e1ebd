#include "platform/Clipboard.h"
#include "platform/win32/Win32.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace platform {

static_assert(clipboardFormat::text == CF_TEXT && clipboardFormat::unicodeText == CF_UNICODETEXT);

using namespace win32;

namespace {

struct OpenClipboardScope {
    ~OpenClipboardScope() { CloseClipboard(); }
};

template <typename Character> class LockedText {
public:
    explicit LockedText(HANDLE handle)
        : handle_(handle), text_(static_cast<const Character*>(GlobalLock(handle))) {}
    ~LockedText() {
        if (text_ != nullptr) {
            GlobalUnlock(handle_);
        }
    }
    LockedText(const LockedText&) = delete;
    LockedText& operator=(const LockedText&) = delete;

    // The characters up to the first NUL, never past the end of the memory block even
    // when a careless program left the NUL out.
    std::basic_string_view<Character> text() const {
        if (text_ == nullptr) {
            return {};
        }
        const SIZE_T bytes = GlobalSize(handle_);
        std::size_t length = 0;
        const std::size_t limit = bytes / sizeof(Character);
        while ((bytes == 0 || length < limit) && text_[length] != Character{}) {
            ++length;
        }
        return {text_, length};
    }

private:
    HANDLE handle_;
    const Character* text_;
};

// The clipboard's formats in their order, up to the first text format.
std::vector<std::uint32_t> leadingFormats() {
    std::vector<std::uint32_t> formats;
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        formats.push_back(format);
        if (format == CF_TEXT || format == CF_UNICODETEXT) {
            break;
        }
    }
    return formats;
}

} // namespace

std::string readClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return {};
    }
    const OpenClipboardScope scope;
    const ClipboardForm form = chooseClipboardForm(leadingFormats(), ansiIsGbk());
    if (form == ClipboardForm::unicode) {
        const HANDLE handle = GetClipboardData(CF_UNICODETEXT);
        if (handle == nullptr) {
            return {};
        }
        const LockedText<wchar_t> locked(handle);
        return gbkOfWide(locked.text());
    }
    const HANDLE handle = GetClipboardData(CF_TEXT);
    if (handle == nullptr) {
        return {};
    }
    const LockedText<char> locked(handle);
    return std::string(locked.text());
}

} // namespace platform
