// The main window as another process sees it: title, frame, place, controls, z-order,
// focus, colours and the keys that close it or do not.

#include "Driver.h"

#include "Check.h"

#include <cwchar>

namespace e2e {
namespace {

constexpr char instructions[] =
    "使用说明：\r\n\r\n1.点击 打开答题网址。\r\n\r\n\r\n\r\n2.在网页中登陆 "
    "用户名密码，点击正式开始答题。"
    "\r\n\r\n\r\n\r\n3.在网页中的题目按住鼠标左键随便滑选几个几十个字。\r\n\r\n\r\n\r\n4."
    "按一次键盘上的 Q "
    "键，软件中即可出现正确答案。如果出现的试题不符，重新滑选文字，按Q键。";

// A started tool whose main window is up, in front and has handed the focus on.
struct Running {
    ToolProcess tool;
    HWND main = nullptr;
    Controls controls;
};

Running startTool() {
    Running running;
    running.tool = launch(options().tool);
    CHECK_NE(running.tool.process, nullptr) << "brindlow.exe did not start";
    if (running.tool.process == nullptr) {
        return running;
    }
    running.main = waitForMainWindow(running.tool);
    CHECK_NE(running.main, nullptr) << "no visible window titled \"" << mainTitle << "\"";
    if (running.main != nullptr) {
        running.controls = controlsOf(running.main);
    }
    return running;
}

HWND focusOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

// Activates the tool's window from outside and waits until its focus rule has run.
bool activateTool(const Running& running) {
    return pumpUntil(
        [&] {
            if (GetForegroundWindow() != running.main) {
                SetForegroundWindow(running.main);
                return false;
            }
            return focusOf(running.tool.threadId) == running.controls.按钮1;
        },
        seconds(10));
}

std::string styleBits(DWORD bits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(bits));
    return text;
}

TEST_CASE(Window, TitleFrameAndPlace) {
    Running running = startTool();
    REQUIRE_NE(running.main, nullptr);

    CHECK_EQ(readText(running.main), std::string(mainTitle));
    wchar_t wideTitle[64] = {};
    GetWindowTextW(running.main, wideTitle, 64);
    CHECK_EQ(gbkOfWide(wideTitle), std::string(mainTitle));

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(running.main, GWL_STYLE));
    const DWORD present = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE;
    const DWORD absent = WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_DISABLED | WS_MAXIMIZE |
                         WS_MINIMIZE | WS_VSCROLL | WS_HSCROLL;
    CHECK_EQ(style & present, present) << "style " << styleBits(style);
    CHECK_EQ(style & absent, 0u) << "style " << styleBits(style);

    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(running.main, GWL_EXSTYLE));
    CHECK_EQ(exStyle & WS_EX_TOPMOST, static_cast<DWORD>(WS_EX_TOPMOST))
        << "extended style " << styleBits(exStyle);
    const DWORD exAbsent =
        WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_TOOLWINDOW;
    CHECK_EQ(exStyle & exAbsent, 0u) << "extended style " << styleBits(exStyle);

    CHECK_EQ(GetWindow(running.main, GW_OWNER), nullptr);
    CHECK_EQ(GetMenu(running.main), nullptr);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (options().screen) {
        REQUIRE_EQ(screenWidth, options().screen->cx)
            << "the session's screen is not the one asked";
        REQUIRE_EQ(screenHeight, options().screen->cy);
    }
    RECT outer{};
    GetWindowRect(running.main, &outer);
    CHECK_EQ(outer.right - outer.left, 531);
    CHECK_EQ(outer.bottom - outer.top, 528);
    // C++ division truncates toward zero, as the placement rule asks.
    CHECK_EQ(outer.left, (screenWidth - 531) / 2);
    CHECK_EQ(outer.top, (screenHeight - 528) / 2);
    if (options().origin) {
        CHECK_EQ(outer.left, options().origin->x);
        CHECK_EQ(outer.top, options().origin->y);
    }
}

struct ExpectedControl {
    const char* name;
    HWND Controls::*member;
    int id;
    const wchar_t* className;
    RECT rect; // left, top, right, bottom in the main window's client coordinates
    DWORD present;
    DWORD absent;
    DWORD exPresent;
    DWORD exAbsent;
    // Groups of bits that must hold one of the listed values, e.g. the kind of a static.
    std::vector<std::pair<DWORD, std::vector<DWORD>>> fields;
    const char* text;
};

const std::vector<ExpectedControl>& controlTable() {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    constexpr DWORD editAbsent = ES_READONLY | ES_NOHIDESEL | ES_CENTER | ES_RIGHT | ES_PASSWORD |
                                 ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER | WS_VSCROLL | WS_HSCROLL |
                                 WS_TABSTOP;
    static const std::vector<ExpectedControl> table = {
        {"标签2",
         &Controls::标签2,
         140,
         L"Static",
         {368, 64, 368 + 152, 64 + 424},
         child | WS_BORDER | SS_NOPREFIX,
         WS_DISABLED | SS_CENTERIMAGE | WS_TABSTOP,
         0,
         WS_EX_CLIENTEDGE | WS_EX_STATICEDGE,
         {{SS_TYPEMASK, {SS_LEFT}}},
         instructions},
        {"按钮1",
         &Controls::按钮1,
         130,
         L"Button",
         {384, 8, 384 + 112, 8 + 40},
         child | WS_TABSTOP | BS_MULTILINE,
         WS_DISABLED,
         0,
         0,
         {{BS_TYPEMASK, {BS_PUSHBUTTON}},
          {BS_CENTER, {0, BS_CENTER}},
          {BS_VCENTER, {0, BS_VCENTER}}},
         "打开答题网址"},
        {"编辑框2",
         &Controls::编辑框2,
         120,
         L"Edit",
         {16, 64, 16 + 344, 64 + 424},
         child | WS_DISABLED | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
         ES_AUTOHSCROLL | editAbsent,
         WS_EX_CLIENTEDGE,
         0,
         {},
         ""},
        {"编辑框1",
         &Controls::编辑框1,
         110,
         L"Edit",
         {15, 8, 15 + 344, 8 + 40},
         child | WS_DISABLED | ES_AUTOHSCROLL,
         ES_MULTILINE | editAbsent,
         WS_EX_CLIENTEDGE,
         0,
         {},
         ""},
        {"标签1",
         &Controls::标签1,
         100,
         L"Static",
         {128, 32, 128 + 40, 32 + 16},
         child,
         WS_BORDER | WS_DISABLED | WS_TABSTOP,
         0,
         WS_EX_CLIENTEDGE | WS_EX_STATICEDGE,
         {{SS_TYPEMASK, {SS_LEFT, SS_LEFTNOWORDWRAP, SS_SIMPLE}}},
         "标签"},
    };
    return table;
}

TEST_CASE(Window, Controls) {
    Running running = startTool();
    REQUIRE_NE(running.main, nullptr);

    for (const ExpectedControl& want : controlTable()) {
        TRACE(want.name);
        const HWND control = running.controls.*want.member;
        REQUIRE_NE(control, nullptr) << "no child with identifier " << want.id;
        CHECK_EQ(GetParent(control), running.main);
        CHECK_EQ(GetDlgCtrlID(control), want.id);
        CHECK_EQ(_wcsicmp(classOf(control).c_str(), want.className), 0)
            << "class " << gbkOfWide(classOf(control));

        const RECT rect = rectInParent(control);
        CHECK_EQ(rect.left, want.rect.left);
        CHECK_EQ(rect.top, want.rect.top);
        CHECK_EQ(rect.right, want.rect.right);
        CHECK_EQ(rect.bottom, want.rect.bottom);

        const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        CHECK_EQ(style & want.present, want.present) << "style " << styleBits(style);
        CHECK_EQ(style & want.absent, 0u) << "style " << styleBits(style);
        for (const auto& [mask, allowed] : want.fields) {
            CHECK(std::find(allowed.begin(), allowed.end(), style & mask) != allowed.end())
                << "bits " << styleBits(mask) << " of style " << styleBits(style);
        }
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
        CHECK_EQ(exStyle & want.exPresent, want.exPresent)
            << "extended style " << styleBits(exStyle);
        CHECK_EQ(exStyle & want.exAbsent, 0u) << "extended style " << styleBits(exStyle);

        CHECK_EQ(readText(control), std::string(want.text));
    }
}

TEST_CASE(Window, ZOrderIsTheTableOrder) {
    Running running = startTool();
    REQUIRE_NE(running.main, nullptr);

    std::vector<HWND> order;
    for (HWND child = GetWindow(running.main, GW_CHILD); child != nullptr && order.size() < 10;
         child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(child);
    }
    const Controls& c = running.controls;
    const std::vector<HWND> expected = {c.标签2, c.按钮1, c.编辑框2, c.编辑框1, c.标签1};
    CHECK_EQ(order, expected);

    // 标签1 lies wholly under 编辑框1, so it is never seen.
    RECT label{}, box{}, both{};
    GetWindowRect(c.标签1, &label);
    GetWindowRect(c.编辑框1, &box);
    IntersectRect(&both, &label, &box);
    CHECK(EqualRect(&both, &label));
}

TEST_CASE(Window, FocusGoesToTheButton) {
    Running running = startTool();
    REQUIRE_NE(running.main, nullptr);

    // Shown and activated at start: the focus has gone on to 按钮1.
    CHECK(pumpUntil([&] { return focusOf(running.tool.threadId) == running.controls.按钮1; },
                    seconds(10)));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    REQUIRE(GetGUIThreadInfo(running.tool.threadId, &info));
    CHECK_EQ(info.hwndActive, running.main);

    // Away and back: the focus returns to 按钮1 again.
    auto target = openTarget();
    REQUIRE(target != nullptr);
    REQUIRE(focusTarget(*target, target->edit));
    CHECK_NE(focusOf(running.tool.threadId), running.controls.按钮1);
    CHECK(activateTool(running));
}

TEST_CASE(Window, StaysAboveTheApplicationInFront) {
    Running running = startTool();
    REQUIRE_NE(running.main, nullptr);
    auto target = openTarget();
    REQUIRE(target != nullptr);
    REQUIRE(focusTarget(*target, target->edit));
    REQUIRE_EQ(GetForegroundWindow(), target->frame);

    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(running.main, GWL_EXSTYLE));
    CHECK_EQ(exStyle & WS_EX_TOPMOST, static_cast<DWORD>(WS_EX_TOPMOST));
    bool toolFirst = false;
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == running.main) {
            toolFirst = true;
            break;
        }
        if (window == target->frame) {
            break;
        }
    }
    CHECK(toolFirst) << "the application in front is above the tool";
}

COLORREF screenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

POINT onScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

int pixelsOfColour(RECT screenRect, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = screenRect.top; y < screenRect.bottom; ++y) {
        for (int x = screenRect.left; x < screenRect.right; ++x) {
            count += GetPixel(screen, x, y) == colour ? 1 : 0;
        }
    }
    ReleaseDC(nullptr, screen);
    return count;
}

TEST_CASE(Window, ColoursOfBackgroundAndInstructions) {
    Running running = startTool();
    REQUIRE_NE(running.main, nullptr);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Points of the client area that no control covers.
    const POINT background[] = {{5, 30}, {370, 54}, {5, 300}, {363, 300}};
    for (POINT point : background) {
        TRACE("client point " << point.x << "," << point.y);
        CHECK(pumpUntil([&] { return screenPixel(onScreen(running.main, point)) == face; },
                        seconds(10)))
            << "colour " << styleBits(screenPixel(onScreen(running.main, point)));
    }
    RECT label{};
    GetWindowRect(running.controls.标签2, &label);
    InflateRect(&label, -2, -2);
    CHECK(pumpUntil([&] { return pixelsOfColour(label, RGB(255, 0, 0)) > 100; }, seconds(10)))
        << "标签2 shows no red text";
    CHECK_EQ(pixelsOfColour(label, RGB(0, 0, 0)), 0) << "标签2 shows black text";
}

// --- keys ------------------------------------------------------------------------

struct Closer {
    const char* name;
    std::function<void(HWND main)> close;
};

TEST_CASE(Keys, CloseEndsTheProcessWithExitCodeZero) {
    const std::vector<Closer> closers = {
        {"Esc", [](HWND) { tapKey(VK_ESCAPE); }},
        {"Alt+F4", [](HWND) { tapKey(VK_F4, {VK_MENU}); }},
        {"Close in the system menu",
         [](HWND main) { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](HWND main) { PostMessageW(main, WM_CLOSE, 0, 0); }},
    };
    for (const Closer& closer : closers) {
        TRACE(closer.name);
        Running running = startTool();
        REQUIRE_NE(running.main, nullptr);
        REQUIRE(activateTool(running));
        closer.close(running.main);
        const auto code = waitForExit(running.tool, seconds(20));
        REQUIRE(code.has_value()) << "the tool is still running";
        CHECK_EQ(*code, 0u);
        CHECK_FALSE(IsWindow(running.main));
    }
}

struct Keystroke {
    const char* name;
    WORD vk;
    std::initializer_list<WORD> modifiers;
};

// Each keystroke goes to the tool in front, then a space bar on 按钮1: once that press
// has opened the quiz address, the keystroke before it has been handled too.
TEST_CASE(Keys, OtherKeysNeitherCloseNorClick) {
    const Keystroke keystrokes[] = {
        {"Shift+Esc", VK_ESCAPE, {VK_SHIFT}},
        {"Ctrl+Esc", VK_ESCAPE, {VK_CONTROL}},
        {"Enter", VK_RETURN, {}},
        {"Tab", VK_TAB, {}},
    };
    std::size_t opens = recordedOpens().size();
    for (const Keystroke& keystroke : keystrokes) {
        TRACE(keystroke.name);
        Running running = startTool();
        REQUIRE_NE(running.main, nullptr);
        REQUIRE(activateTool(running));
        tapKey(keystroke.vk, keystroke.modifiers);
        REQUIRE(activateTool(running)) << "the focus is no longer on 按钮1";
        tapKey(VK_SPACE);
        pumpUntil([&] { return recordedOpens().size() > opens || !isRunning(running.tool); },
                  seconds(60));
        REQUIRE(isRunning(running.tool)) << "the keystroke closed the tool";
        const auto lines = waitForOpens(opens + 1);
        REQUIRE_EQ(lines.size(), opens + 1) << "the keystroke or the space bar opened a page";
        CHECK_EQ(lines.back(), expectedOpen());
        opens = lines.size();
        CHECK(isRunning(running.tool));
        CHECK(IsWindowVisible(running.main));
    }
}

} // namespace
} // namespace e2e
