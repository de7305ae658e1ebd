#include "Driver.h"
#include "Oracle.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <sstream>
#include <utility>

namespace e2e {

namespace {

constexpr UINT gbkCodePage = 936;

std::wstring wideOfAnsi(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::optional<LONG> parseLong(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    LONG value = 0;
    bool negative = false;
    std::size_t i = 0;
    if (text[0] == '-') {
        negative = true;
        i = 1;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<std::pair<LONG, LONG>> parsePair(std::string_view text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto first = parseLong(text.substr(0, at));
    const auto second = parseLong(text.substr(at + 1));
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair{*first, *second};
}

void closeHandle(HANDLE& handle) {
    if (handle != nullptr) {
        CloseHandle(handle);
        handle = nullptr;
    }
}

} // namespace

Options& options() {
    static Options instance;
    return instance;
}

bool parseOptions(int argc, char** argv) {
    Options& o = options();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto eq = arg.find('=');
        if (arg.substr(0, 2) != "--" || eq == std::string_view::npos) {
            std::fprintf(stderr, "unexpected argument '%s'\n", argv[i]);
            return false;
        }
        const auto name = arg.substr(2, eq - 2);
        const auto value = arg.substr(eq + 1);
        if (name == "tool") {
            o.tool = wideOfAnsi(value);
        } else if (name == "floor") {
            o.floor = wideOfAnsi(value);
        } else if (name == "bank") {
            o.bank = wideOfAnsi(value);
        } else if (name == "address") {
            o.address = std::string(value);
        } else if (name == "open-log") {
            o.openLog = wideOfAnsi(value);
        } else if (name == "screen") {
            const auto size = parsePair(value, 'x');
            if (!size) {
                std::fprintf(stderr, "--screen wants WxH\n");
                return false;
            }
            o.screen = SIZE{size->first, size->second};
        } else if (name == "origin") {
            const auto at = parsePair(value, ',');
            if (!at) {
                std::fprintf(stderr, "--origin wants X,Y\n");
                return false;
            }
            o.origin = POINT{at->first, at->second};
        } else {
            std::fprintf(stderr, "unknown option '%s'\n", argv[i]);
            return false;
        }
    }
    return true;
}

std::wstring wideOfGbk(std::string_view gbk) {
    if (gbk.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(gbkCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(gbkCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), n);
    return wide;
}

std::string gbkOfWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(gbkCodePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(gbkCodePage, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), n,
                        nullptr, nullptr);
    return gbk;
}

// --- the tool's process and window -------------------------------------------------

ToolProcess::ToolProcess(ToolProcess&& other) noexcept
    : process(std::exchange(other.process, nullptr)), thread(std::exchange(other.thread, nullptr)),
      processId(std::exchange(other.processId, 0)), threadId(std::exchange(other.threadId, 0)) {}

ToolProcess& ToolProcess::operator=(ToolProcess&& other) noexcept {
    if (this != &other) {
        ToolProcess gone(std::move(*this));
        process = std::exchange(other.process, nullptr);
        thread = std::exchange(other.thread, nullptr);
        processId = std::exchange(other.processId, 0);
        threadId = std::exchange(other.threadId, 0);
    }
    return *this;
}

ToolProcess::~ToolProcess() {
    if (process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        for (HWND window : topLevelWindowsOf(processId)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
    }
    closeHandle(thread);
    closeHandle(process);
}

ToolProcess launch(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        std::fprintf(stderr, "CreateProcess failed with error %lu\n", GetLastError());
        return {};
    }
    ToolProcess tool;
    tool.process = info.hProcess;
    tool.thread = info.hThread;
    tool.processId = info.dwProcessId;
    tool.threadId = info.dwThreadId;
    return tool;
}

bool isRunning(const ToolProcess& tool) {
    return tool.process != nullptr && WaitForSingleObject(tool.process, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> waitForExit(const ToolProcess& tool, Millis timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    while (true) {
        if (WaitForSingleObject(tool.process, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(tool.process, &code);
            return code;
        }
        if (GetTickCount64() >= deadline) {
            return std::nullopt;
        }
        MsgWaitForMultipleObjects(1, &tool.process, FALSE, 20, QS_ALLINPUT);
        pumpMessages();
    }
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindowOfProcess(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(collectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForMainWindow(const ToolProcess& tool, Millis timeout) {
    const std::wstring title = wideOfGbk(mainTitle);
    HWND found = nullptr;
    pumpUntil(
        [&] {
            for (HWND window : topLevelWindowsOf(tool.processId)) {
                wchar_t text[64] = {};
                GetWindowTextW(window, text, 64);
                if (IsWindowVisible(window) && title == text) {
                    found = window;
                    return true;
                }
            }
            return !isRunning(tool);
        },
        timeout);
    return found;
}

Controls controlsOf(HWND main) {
    return {GetDlgItem(main, 100), GetDlgItem(main, 110), GetDlgItem(main, 120),
            GetDlgItem(main, 130), GetDlgItem(main, 140)};
}

std::optional<std::string> readText(HWND window, Millis timeout) {
    const UINT ms = timeout;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, ms, &length)) {
        return std::nullopt;
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, ms, &copied)) {
        return std::nullopt;
    }
    text.resize(std::min<std::size_t>(copied, length));
    return gbkOfWide(text);
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

RECT rectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT centreOnScreen(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

namespace {

struct IdleCall {
    HWND box;
    WPARAM marker;
    DWORD deadline;
    bool seen = false;
    double seenAt = 0;
};

double nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

DWORD WINAPI awaitMarker(void* data) {
    auto& call = *static_cast<IdleCall*>(data);
    while (GetTickCount() < call.deadline) {
        DWORD_PTR limit = 0;
        const DWORD left = call.deadline - GetTickCount();
        if (SendMessageTimeoutW(call.box, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, left, &limit) &&
            limit == call.marker) {
            call.seenAt = nowMs();
            call.seen = true;
            break;
        }
        if (!IsWindow(call.box)) {
            break;
        }
    }
    return 0;
}

} // namespace

std::optional<double> runEndedAt(HWND main, Millis timeout) {
    // The marker: a text limit that 编辑框1 takes only from its queue. A sent message
    // would not do: Wine's clipboard calls inside a run answer sent messages too.
    static WPARAM count = 0;
    IdleCall call{GetDlgItem(main, 110), 0x7FFF0000 + (++count & 0xFFFF), GetTickCount() + timeout};
    if (call.box == nullptr || !PostMessageW(call.box, EM_SETLIMITTEXT, call.marker, 0)) {
        return std::nullopt;
    }
    HANDLE worker = CreateThread(nullptr, 0, awaitMarker, &call, 0, nullptr);
    if (worker == nullptr) {
        return std::nullopt;
    }
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        pumpMessages();
    }
    CloseHandle(worker);
    pumpMessages();
    return call.seen ? std::optional<double>(call.seenAt) : std::nullopt;
}

bool waitUntilIdle(HWND main, Millis timeout) {
    return runEndedAt(main, timeout).has_value();
}

// --- input -------------------------------------------------------------------------

namespace {

INPUT keyInput(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

void tapKey(WORD vk, std::initializer_list<WORD> modifiers, int times) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(keyInput(modifier, false));
    }
    for (int i = 0; i < times; ++i) {
        inputs.push_back(keyInput(vk, false));
        inputs.push_back(keyInput(vk, true));
    }
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        inputs.push_back(keyInput(*it, true));
    }
    send(std::move(inputs));
}

void clickAt(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = static_cast<LONG>((screen.x * 65536LL + width / 2) / width);
    move.mi.dy = static_cast<LONG>((screen.y * 65536LL + height / 2) / height);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT down = move;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    INPUT up = move;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    send({move});
    pumpFor(50);
    send({down, up});
}

// --- the driver's own messages -----------------------------------------------------

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& done, Millis timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    while (true) {
        pumpMessages();
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pumpFor(Millis duration) {
    pumpUntil([] { return false; }, duration);
}

// --- the application in front ------------------------------------------------------

namespace {

constexpr wchar_t targetClass[] = L"BrindlowE2eTarget";
constexpr wchar_t sinkClass[] = L"BrindlowE2eSink";

Target*& currentTarget() {
    static Target* target = nullptr;
    return target;
}

void logKey(HWND window, UINT message, WPARAM key) {
    Target* target = currentTarget();
    if (target == nullptr) {
        return;
    }
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        target->keys.push_back({window, message, key, GetKeyState(VK_CONTROL) < 0,
                                GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0});
        break;
    default:
        break;
    }
}

LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    logKey(window, message, wParam);
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK sinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    logKey(window, message, wParam);
    if (message == WM_GETDLGCODE) {
        return DLGC_WANTALLKEYS;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClasses() {
    static const bool registered = [] {
        WNDCLASSW frame{};
        frame.lpfnWndProc = frameProc;
        frame.hInstance = GetModuleHandleW(nullptr);
        frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        frame.lpszClassName = targetClass;
        RegisterClassW(&frame);
        WNDCLASSW sink = frame;
        sink.lpfnWndProc = sinkProc;
        sink.lpszClassName = sinkClass;
        RegisterClassW(&sink);
        return true;
    }();
    (void)registered;
}

} // namespace

Target::~Target() {
    if (currentTarget() == this) {
        currentTarget() = nullptr;
    }
    if (frame != nullptr) {
        DestroyWindow(frame);
    }
    pumpMessages();
}

int Target::copies() const {
    return static_cast<int>(std::count_if(keys.begin(), keys.end(), [](const KeySeen& k) {
        return k.message == WM_KEYDOWN && k.key == 'C' && k.ctrl;
    }));
}

int Target::chordsEnded() const {
    return static_cast<int>(std::count_if(keys.begin(), keys.end(), [](const KeySeen& k) {
        return k.message == WM_KEYUP && k.key == 'C';
    }));
}

std::unique_ptr<Target> openTarget(const wchar_t* title) {
    registerClasses();
    auto target = std::make_unique<Target>();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // Placed apart from the tool's centred window, so that a click meant for one never
    // lands on the other.
    target->frame = CreateWindowExW(0, targetClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    240, 200, nullptr, nullptr, instance, nullptr);
    target->edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL, 4, 4,
                        220, 100, target->frame, reinterpret_cast<HMENU>(1), instance, nullptr);
    target->sink =
        CreateWindowExW(0, sinkClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 4, 110, 220, 40,
                        target->frame, reinterpret_cast<HMENU>(2), instance, nullptr);
    if (target->frame == nullptr || target->edit == nullptr || target->sink == nullptr) {
        return nullptr;
    }
    SendMessageW(target->edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    SetWindowLongPtrW(
        target->edit, GWLP_USERDATA,
        SetWindowLongPtrW(target->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));
    currentTarget() = target.get();
    pumpMessages();
    return target;
}

void setEditText(Target& target, std::string_view before, std::string_view snippet,
                 std::string_view after) {
    const std::wstring head = wideOfGbk(before);
    const std::wstring middle = wideOfGbk(snippet);
    const std::wstring text = head + middle + wideOfGbk(after);
    SetWindowTextW(target.edit, text.c_str());
    SendMessageW(target.edit, EM_SETSEL, head.size(), head.size() + middle.size());
}

std::string editText(const Target& target) {
    const int length = GetWindowTextLengthW(target.edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(target.edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return gbkOfWide(text);
}

bool focusTarget(Target& target, HWND window) {
    return pumpUntil(
        [&] {
            if (GetForegroundWindow() != target.frame) {
                SetForegroundWindow(target.frame);
                return false;
            }
            if (GetFocus() != window) {
                SetFocus(window);
                return false;
            }
            return true;
        },
        seconds(10));
}

bool pressQAndWait(Target& target, HWND toolMain, int runs, Millis timeout) {
    const int before = target.copies();
    tapKey('Q', {}, runs);
    if (!pumpUntil([&] { return target.copies() >= before + runs; }, timeout)) {
        return false;
    }
    return waitUntilIdle(toolMain, timeout);
}

// --- the clipboard -----------------------------------------------------------------

namespace {

// The clipboard may be busy for a moment (Wine's own clipboard manager opens it too).
bool openClipboard(HWND owner) {
    return pumpUntil([&] { return OpenClipboard(owner) != 0; }, seconds(5));
}

std::string memoryBlock(const void* data, std::size_t size) {
    return {static_cast<const char*>(data), size};
}

} // namespace

std::optional<std::vector<ClipboardItem>> readClipboard(HWND owner) {
    if (!openClipboard(owner)) {
        return std::nullopt;
    }
    std::vector<ClipboardItem> items;
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        ClipboardItem item{format, {}, false};
        const bool handleFormat = format == CF_BITMAP || format == CF_PALETTE ||
                                  format == CF_ENHMETAFILE || format == CF_METAFILEPICT;
        if (!handleFormat) {
            if (HANDLE data = GetClipboardData(format)) {
                if (const void* bytes = GlobalLock(data)) {
                    item.bytes = memoryBlock(bytes, GlobalSize(data));
                    item.isMemory = true;
                    GlobalUnlock(data);
                }
            }
        }
        items.push_back(std::move(item));
    }
    CloseClipboard();
    return items;
}

bool placeOnClipboard(HWND owner, const std::vector<ClipboardItem>& items) {
    if (!openClipboard(owner)) {
        return false;
    }
    bool placed = EmptyClipboard() != 0;
    for (const ClipboardItem& item : items) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(item.bytes.size(), 1));
        if (block == nullptr) {
            placed = false;
            break;
        }
        std::memcpy(GlobalLock(block), item.bytes.data(), item.bytes.size());
        GlobalUnlock(block);
        if (SetClipboardData(item.format, block) == nullptr) {
            GlobalFree(block);
            placed = false;
        }
    }
    CloseClipboard();
    return placed;
}

bool placeBitmapOnly(HWND owner) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr || !openClipboard(owner)) {
        return false;
    }
    const bool placed = EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return placed;
}

std::string memoryOf(std::wstring_view text) {
    std::wstring terminated(text);
    return memoryBlock(terminated.c_str(), (terminated.size() + 1) * sizeof(wchar_t));
}

std::string memoryOf(std::string_view gbk) {
    std::string terminated(gbk);
    terminated.push_back('\0');
    return terminated;
}

std::string memoryOfLocale(LCID locale) {
    return memoryBlock(&locale, sizeof locale);
}

namespace {

struct HolderStart {
    HANDLE release;
    HANDLE openedEvent;
    bool* opened;
};

DWORD WINAPI holdClipboard(void* data) {
    std::unique_ptr<HolderStart> start(static_cast<HolderStart*>(data));
    // Opened for a window: Wine lets a second OpenClipboard(NULL) through while the
    // clipboard is open for no window, whichever thread holds it.
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    for (int attempt = 0; attempt < 250 && window != nullptr && !*start->opened; ++attempt) {
        *start->opened = OpenClipboard(window) != 0;
        if (!*start->opened) {
            Sleep(20);
        }
    }
    SetEvent(start->openedEvent);
    WaitForSingleObject(start->release, INFINITE);
    if (*start->opened) {
        CloseClipboard();
    }
    if (window != nullptr) {
        DestroyWindow(window);
    }
    return 0;
}

} // namespace

ClipboardHolder::ClipboardHolder() {
    release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE openedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto* start = new HolderStart{release, openedEvent, &opened};
    thread = CreateThread(nullptr, 0, holdClipboard, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
    } else {
        WaitForSingleObject(openedEvent, INFINITE);
    }
    CloseHandle(openedEvent);
}

ClipboardHolder::~ClipboardHolder() {
    SetEvent(release);
    if (thread != nullptr) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(release);
}

// --- the question bank ---------------------------------------------------------------

namespace {

std::string readWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

} // namespace

// The expected records come from the oracle of the bank's unit tests, a plain
// transcription of the cutting and search rules, independent of the program's code.
const std::vector<std::string>& bankRecords() {
    static const std::vector<std::string> records = [] {
        std::string bank = readWholeFile(options().bank);
        bank = bank.substr(0, bank.find('\0'));
        // Index 0 stays empty so that an index is a record's position.
        std::vector<std::string> cut{std::string()};
        for (std::string& piece : Oracle::splitText(bank, "~")) {
            cut.push_back(std::move(piece));
        }
        return cut;
    }();
    return records;
}

std::size_t oracleRecordOf(std::string_view snippet) {
    static const std::vector<std::string> records(bankRecords().begin() + 1, bankRecords().end());
    return Oracle::findAnswerRecord(records, snippet).value_or(0);
}

// --- the recording xdg-open --------------------------------------------------------

std::vector<std::string> recordedOpens() {
    std::vector<std::string> lines;
    std::istringstream log(readWholeFile(options().openLog));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string expectedOpen() {
    return "1 [" + options().address + "]";
}

namespace {

bool browserHelperRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool found = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        found = _wcsicmp(entry.szExeFile, L"winebrowser.exe") == 0;
    }
    CloseHandle(snapshot);
    return found;
}

} // namespace

std::vector<std::string> waitForOpens(std::size_t count, Millis timeout) {
    pumpUntil([&] { return recordedOpens().size() >= count && !browserHelperRunning(); }, timeout);
    pumpFor(500);
    return recordedOpens();
}

} // namespace e2e
