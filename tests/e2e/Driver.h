#pragma once

// Drives brindlow.exe from a process of its own through the Win32 API, the way a user
// and an inspector would: it starts the tool, finds its window, reads its controls,
// injects keys and clicks, and owns a window whose edit control answers the Ctrl+C that
// the tool synthesises. Nothing here is specific to Wine; the same calls run on Windows.
//
// Texts are GBK byte strings, as the tool keeps them. The driver talks to windows through
// the wide functions and converts with code page 936 itself, so that it reads the same
// bytes whatever the ANSI code page of the session.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Timeouts and pauses in milliseconds. (<chrono> cannot be compiled with the GBK
// execution character set: it holds a "µs" that GBK lacks.)
using Millis = DWORD;
constexpr Millis seconds(DWORD n) {
    return n * 1000;
}

inline constexpr char mainTitle[] = "Brindlow       BY:Kestrove";

struct Options {
    std::wstring tool;    // brindlow.exe
    std::wstring floor;   // brindlow_floor.exe: the same window without bank or hot key
    std::wstring bank;    // the GBK bank file that the tool embeds
    std::string address;  // the quiz address that 按钮1 opens
    std::wstring openLog; // where the recording xdg-open appends one line per call
    std::optional<SIZE> screen;
    std::optional<POINT> origin; // where the outer rectangle must start on that screen
};

Options& options();
// Takes the --name=value arguments that follow the GoogleTest ones; false on a bad one.
bool parseOptions(int argc, char** argv);

std::wstring wideOfGbk(std::string_view gbk);
std::string gbkOfWide(std::wstring_view wide);

// --- the tool's process and window -------------------------------------------------

// A started process. Ending the owner closes the tool if it still runs (WM_CLOSE to its
// windows, then TerminateProcess after a grace period) and releases the handles.
struct ToolProcess {
    HANDLE process = nullptr;
    HANDLE thread = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;

    ToolProcess() = default;
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;
    ToolProcess(ToolProcess&& other) noexcept;
    ToolProcess& operator=(ToolProcess&& other) noexcept;
    ~ToolProcess();
};

// Starts an executable with no command line; an empty process on failure.
ToolProcess launch(const std::wstring& exe);
bool isRunning(const ToolProcess& tool);
std::optional<DWORD> waitForExit(const ToolProcess& tool, Millis timeout);

// The visible top-level window of the process titled mainTitle, or nullptr after the
// timeout. The driver keeps pumping its own messages meanwhile.
HWND waitForMainWindow(const ToolProcess& tool, Millis timeout = seconds(30));
// Every top-level window of a process, visible or not.
std::vector<HWND> topLevelWindowsOf(DWORD processId);

struct Controls {
    HWND 标签1 = nullptr;
    HWND 编辑框1 = nullptr;
    HWND 编辑框2 = nullptr;
    HWND 按钮1 = nullptr;
    HWND 标签2 = nullptr;
};
// The five controls by their identifiers 100 to 140.
Controls controlsOf(HWND main);

// The GBK text of a window, asked with WM_GETTEXT; nullopt when it does not answer.
std::optional<std::string> readText(HWND window, Millis timeout = seconds(30));
std::wstring classOf(HWND window);
// A child's rectangle in the client coordinates of its parent.
RECT rectInParent(HWND child);
POINT centreOnScreen(HWND window);

// True once the tool's thread has taken every message posted to it so far from its queue,
// that is once the handler that it runs now (a capture run, say) has ended. It posts a
// marker to the tool's 编辑框1 (a text limit, which the tool never uses: its boxes take
// no typing) and waits, from a helper thread, until the box reports it; the caller's
// messages keep flowing meanwhile. Only what reaches the tool's queue before the call
// counts: the caller sees a run start (its Ctrl+C) before it waits for the run's end.
bool waitUntilIdle(HWND main, Millis timeout = seconds(60));
// The same, giving the moment (QueryPerformanceCounter, in ms) when the marker was seen.
std::optional<double> runEndedAt(HWND main, Millis timeout = seconds(60));

// --- input -------------------------------------------------------------------------

// Presses vk `times` times with the modifiers held (pressed in order, released in reverse
// order), all in one SendInput call, so that no other input comes in between: a Ctrl
// that the tool synthesises meanwhile would turn a later Q into Ctrl+Q.
void tapKey(WORD vk, std::initializer_list<WORD> modifiers = {}, int times = 1);
// A real left click: moves the pointer there and presses and releases the button.
void clickAt(POINT screen);

// --- the driver's own messages -----------------------------------------------------

void pumpMessages();
bool pumpUntil(const std::function<bool()>& done, Millis timeout);
void pumpFor(Millis duration);

// --- the application in front: the driver's own window ------------------------------

struct KeySeen {
    HWND window;
    UINT message; // WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR ...
    WPARAM key;
    bool ctrl, shift, alt;
};

// A top-level window with a multi-line edit control, whose text the tool copies, and a
// sink that takes the focus and every key but copies nothing. Both log the keys they get.
struct Target {
    HWND frame = nullptr;
    HWND edit = nullptr;
    HWND sink = nullptr;
    std::vector<KeySeen> keys;

    Target() = default;
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    ~Target();

    // Ctrl+C presses (key-downs of C with Ctrl held) that reached the edit or the sink.
    int copies() const;
    // Key-ups of C: the last key of the tool's chord, after its Ctrl has gone up.
    int chordsEnded() const;
};

std::unique_ptr<Target> openTarget(const wchar_t* title = L"brindlow e2e target");
// Puts before + snippet + after into the edit control and selects the snippet.
void setEditText(Target& target, std::string_view before, std::string_view snippet,
                 std::string_view after);
std::string editText(const Target& target);
// Brings the target's frame to the front and gives the focus to `window` (edit or sink).
bool focusTarget(Target& target, HWND window);

// Presses Q with the target in front, answers the Ctrl+C of `runs` runs and waits until
// the tool's thread is idle again. False when a Ctrl+C did not come or the tool hung.
bool pressQAndWait(Target& target, HWND toolMain, int runs = 1, Millis timeout = seconds(60));

// --- the clipboard -----------------------------------------------------------------

struct ClipboardItem {
    UINT format;
    std::string bytes; // the memory block's bytes; empty for handles that are not memory
    bool isMemory;
};
// Every format on the clipboard, in the order in which the clipboard lists them.
std::optional<std::vector<ClipboardItem>> readClipboard(HWND owner);
// Empties the clipboard and places these memory blocks, in this order.
bool placeOnClipboard(HWND owner, const std::vector<ClipboardItem>& items);
bool placeBitmapOnly(HWND owner);
std::string memoryOf(std::wstring_view text); // a CF_UNICODETEXT block
std::string memoryOf(std::string_view gbk);   // a CF_TEXT block
std::string memoryOfLocale(LCID locale);      // a CF_LOCALE block

// Holds the clipboard open from a thread of its own until the holder ends.
struct ClipboardHolder {
    HANDLE thread = nullptr;
    HANDLE release = nullptr;
    bool opened = false;
    ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder();
};

// --- the question bank, cut independently of the tool --------------------------------

// The records of the bank file, from 1; record 0 is unused. A record is the text between
// two "~", with "~" recognised only where a character begins.
const std::vector<std::string>& bankRecords();
// Position of the first record holding the snippet at a character start, or 0.
std::size_t oracleRecordOf(std::string_view snippet);

// --- the recording xdg-open --------------------------------------------------------

// The calls recorded so far, one line each: the argument count, then each argument in
// brackets, e.g. "1 [https://host/competition]".
std::vector<std::string> recordedOpens();
// What one call with the quiz address records.
std::string expectedOpen();
// Waits until `count` calls are recorded and no browser helper process is left, then a
// little longer, so that a duplicate call would have shown up too.
std::vector<std::string> waitForOpens(std::size_t count, Millis timeout = seconds(60));

} // namespace e2e
