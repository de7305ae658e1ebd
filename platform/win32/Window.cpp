#include "platform/Window.h"
#include "platform/Messages.h"
#include "platform/win32/Win32.h"

#include <algorithm>
#include <vector>

namespace platform {

static_assert(style::child == WS_CHILD && style::visible == WS_VISIBLE &&
              style::disabled == WS_DISABLED && style::clipSiblings == WS_CLIPSIBLINGS &&
              style::clipChildren == WS_CLIPCHILDREN && style::caption == WS_CAPTION &&
              style::border == WS_BORDER && style::dialogFrame == WS_DLGFRAME &&
              style::verticalScroll == WS_VSCROLL && style::horizontalScroll == WS_HSCROLL &&
              style::systemMenu == WS_SYSMENU && style::thickFrame == WS_THICKFRAME &&
              style::minimizeBox == WS_MINIMIZEBOX && style::maximizeBox == WS_MAXIMIZEBOX &&
              style::tabStop == WS_TABSTOP);
static_assert(style::labelLeft == SS_LEFT && style::labelNoPrefix == SS_NOPREFIX &&
              style::labelCentreVertically == SS_CENTERIMAGE);
static_assert(style::editLeft == ES_LEFT && style::editMultiLine == ES_MULTILINE &&
              style::editAutoVerticalScroll == ES_AUTOVSCROLL &&
              style::editAutoHorizontalScroll == ES_AUTOHSCROLL &&
              style::editNoHideSelection == ES_NOHIDESEL && style::editReadOnly == ES_READONLY &&
              style::editWantReturn == ES_WANTRETURN);
static_assert(style::buttonPush == BS_PUSHBUTTON && style::buttonDefaultPush == BS_DEFPUSHBUTTON &&
              style::buttonCentre == BS_CENTER && style::buttonCentreVertically == BS_VCENTER &&
              style::buttonMultiLine == BS_MULTILINE);
static_assert(exStyle::dialogModalFrame == WS_EX_DLGMODALFRAME &&
              exStyle::topmost == WS_EX_TOPMOST && exStyle::windowEdge == WS_EX_WINDOWEDGE &&
              exStyle::clientEdge == WS_EX_CLIENTEDGE && exStyle::staticEdge == WS_EX_STATICEDGE);
static_assert(message::close == WM_CLOSE && message::hotkey == WM_HOTKEY &&
              buttonClicked == BN_CLICKED);
static_assert(key::enter == VK_RETURN && key::control == VK_CONTROL && key::escape == VK_ESCAPE);
static_assert(rgb(1, 2, 3) == RGB(1, 2, 3));

using namespace win32;

namespace {

constexpr char mainClassNameA[] = "BrindlowMainWindow";
constexpr wchar_t mainClassNameW[] = L"BrindlowMainWindow";

struct ControlLook {
    HWND control;
    Colours colours;
};

struct LabelProcedure {
    HWND label;
    WNDPROC original;
};

// The one main window and what belongs to it. Everything runs on the user-interface
// thread, so nothing here is locked.
MainWindowEvents events;
// The outer size the main window was created with. The system caps a top-level window
// at the screen size plus its frame; the window keeps its size on a smaller screen.
SIZE designedSize{};
HWND lastFocus = nullptr;
HICON largeIcon = nullptr;
HICON smallIcon = nullptr;
int liveWindows = 0;
bool classRegistered = false;
std::vector<ControlLook> looks;
std::vector<LabelProcedure> labelProcedures;

HINSTANCE programInstance() {
    return GetModuleHandleW(nullptr);
}

LRESULT defaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ansiIsGbk() ? DefWindowProcA(window, message, wParam, lParam)
                       : DefWindowProcW(window, message, wParam, lParam);
}

LONG_PTR replaceProcedure(HWND window, WNDPROC procedure) {
    const auto value = reinterpret_cast<LONG_PTR>(procedure);
    return ansiIsGbk() ? SetWindowLongPtrA(window, GWLP_WNDPROC, value)
                       : SetWindowLongPtrW(window, GWLP_WNDPROC, value);
}

// Where the keyboard focus goes when the main window receives it: back to the control
// that had it last, else to the first visible, enabled tab stop in z-order.
void handFocusOn(HWND window) {
    if (lastFocus != nullptr && IsWindow(lastFocus) && IsChild(window, lastFocus)) {
        SetFocus(lastFocus);
        return;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto childStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if ((childStyle & WS_TABSTOP) != 0 && IsWindowVisible(child) && IsWindowEnabled(child)) {
            SetFocus(child);
            return;
        }
    }
}

LRESULT colourControl(HWND control, HDC dc) {
    const auto look = std::find_if(looks.begin(), looks.end(), [control](const ControlLook& l) {
        return l.control == control;
    });
    if (look == looks.end()) {
        return 0;
    }
    SetTextColor(dc, look->colours.text);
    if (look->colours.background == Background::white) {
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void releaseIcons() {
    if (largeIcon != nullptr) {
        DestroyIcon(largeIcon);
        largeIcon = nullptr;
    }
    if (smallIcon != nullptr) {
        DestroyIcon(smallIcon);
        smallIcon = nullptr;
    }
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0 && events.controlCommand != nullptr) {
            events.controlCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (const LRESULT brush =
                colourControl(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
            brush != 0) {
            return brush;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(window, focus)) {
                lastFocus = focus;
            }
        }
        break;
    case WM_SETFOCUS:
        handFocusOn(window);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, designedSize.cx);
        limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, designedSize.cy);
        return 0;
    }
    case WM_NCDESTROY: {
        const LRESULT result = defaultProcedure(window, message, wParam, lParam);
        releaseIcons();
        looks.clear();
        lastFocus = nullptr;
        --liveWindows;
        if (events.destroyed != nullptr) {
            events.destroyed();
        }
        return result;
    }
    default:
        break;
    }
    return defaultProcedure(window, message, wParam, lParam);
}

LRESULT CALLBACK labelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto entry = std::find_if(labelProcedures.begin(), labelProcedures.end(),
                                    [label](const LabelProcedure& p) { return p.label == label; });
    if (entry == labelProcedures.end()) {
        return defaultProcedure(label, message, wParam, lParam);
    }
    const WNDPROC original = entry->original;
    if (message == WM_LABEL_FEEDBACK) {
        return events.labelFeedback != nullptr
                   ? events.labelFeedback(handleOf(label), wParam, lParam)
                   : 0;
    }
    if (message == WM_NCDESTROY) {
        labelProcedures.erase(entry);
    }
    return ansiIsGbk() ? CallWindowProcA(original, label, message, wParam, lParam)
                       : CallWindowProcW(original, label, message, wParam, lParam);
}

bool registerMainClass() {
    if (classRegistered) {
        return true;
    }
    const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    const auto background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    if (ansiIsGbk()) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = mainWindowProcedure;
        windowClass.hInstance = programInstance();
        windowClass.hCursor = arrow;
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = mainClassNameA;
        classRegistered = RegisterClassExA(&windowClass) != 0;
    } else {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = mainWindowProcedure;
        windowClass.hInstance = programInstance();
        windowClass.hCursor = arrow;
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = mainClassNameW;
        classRegistered = RegisterClassExW(&windowClass) != 0;
    }
    return classRegistered;
}

HWND createWindow(std::uint32_t extendedStyle, const char* classA, const wchar_t* classW,
                  std::string_view text, std::uint32_t windowStyle, const Rect& rect, HWND parent,
                  HMENU menuOrId) {
    if (ansiIsGbk()) {
        const std::string title(text);
        return CreateWindowExA(extendedStyle, classA, title.c_str(), windowStyle, rect.left,
                               rect.top, rect.width, rect.height, parent, menuOrId,
                               programInstance(), nullptr);
    }
    const std::wstring title = wideOfGbk(text);
    return CreateWindowExW(extendedStyle, classW, title.c_str(), windowStyle, rect.left, rect.top,
                           rect.width, rect.height, parent, menuOrId, programInstance(), nullptr);
}

void setWindowPosition(HWND window, HWND insertAfter, UINT flags) {
    SetWindowPos(window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | flags);
}

HICON loadIcon(int resourceId, int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(LoadImageW(programInstance(), MAKEINTRESOURCEW(resourceId),
                                         IMAGE_ICON, GetSystemMetrics(sizeMetricX),
                                         GetSystemMetrics(sizeMetricY), 0));
}

} // namespace

WindowHandle createMainWindow(const WindowLayout& layout, const MainWindowEvents& windowEvents) {
    if (!registerMainClass()) {
        return noWindow;
    }
    events = windowEvents;
    designedSize = {layout.outer.width, layout.outer.height};
    const HWND window = createWindow(layout.exStyle, mainClassNameA, mainClassNameW, layout.title,
                                     layout.style & ~WS_VISIBLE, layout.outer, nullptr, nullptr);
    if (window != nullptr) {
        ++liveWindows;
    }
    return handleOf(window);
}

WindowHandle createControl(WindowHandle parent, const ControlLayout& layout) {
    const char* classA = "STATIC";
    const wchar_t* classW = L"STATIC";
    if (layout.kind == ControlKind::editBox) {
        classA = "EDIT";
        classW = L"EDIT";
    } else if (layout.kind == ControlKind::pushButton) {
        classA = "BUTTON";
        classW = L"BUTTON";
    }
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id));
    const HWND control =
        createWindow(layout.exStyle, classA, classW, layout.text, layout.style & ~WS_VISIBLE,
                     layout.bounds, hwndOf(parent), id);
    if (control != nullptr && layout.kind == ControlKind::label) {
        // Labels answer WM_LABEL_FEEDBACK, which the system's label class does not know.
        const auto original = reinterpret_cast<WNDPROC>(replaceProcedure(control, labelProcedure));
        labelProcedures.push_back({control, original});
    }
    return handleOf(control);
}

Size primaryScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Rect outerRect(WindowHandle window) {
    RECT rect{};
    if (!GetWindowRect(hwndOf(window), &rect)) {
        return {};
    }
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void resizeWindow(WindowHandle window, int width, int height) {
    SetWindowPos(hwndOf(window), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void setApplicationIcon(WindowHandle window, int resourceId) {
    const HWND target = hwndOf(window);
    const HICON large = loadIcon(resourceId, SM_CXICON, SM_CYICON);
    const HICON small = loadIcon(resourceId, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    SendMessageW(target, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    releaseIcons(); // those of an earlier call, no longer in use
    largeIcon = large;
    smallIcon = small;
}

void useDefaultGuiFont(WindowHandle window) {
    SendMessageW(hwndOf(window), WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void makeTopmost(WindowHandle window) {
    setWindowPosition(hwndOf(window), HWND_TOPMOST, 0);
}

void placeOnTop(WindowHandle window) {
    setWindowPosition(hwndOf(window), HWND_TOP, 0);
}

void placeBelow(WindowHandle window, WindowHandle above) {
    setWindowPosition(hwndOf(window), hwndOf(above), 0);
}

void showWindow(WindowHandle window, Show how) {
    ShowWindow(hwndOf(window), how == Show::withoutActivating ? SW_SHOWNA : SW_SHOW);
}

void setControlColours(WindowHandle control, Colours colours) {
    const HWND target = hwndOf(control);
    const auto look = std::find_if(looks.begin(), looks.end(),
                                   [target](const ControlLook& l) { return l.control == target; });
    if (look != looks.end()) {
        look->colours = colours;
    } else {
        looks.push_back({target, colours});
    }
}

void liftTextLimit(WindowHandle editBox) {
    // 0 asks for the largest limit the edit control supports.
    SendMessageW(hwndOf(editBox), EM_SETLIMITTEXT, 0, 0);
}

void setWindowText(WindowHandle window, std::string_view text) {
    if (ansiIsGbk()) {
        const std::string copy(text);
        SetWindowTextA(hwndOf(window), copy.c_str());
    } else {
        SetWindowTextW(hwndOf(window), wideOfGbk(text).c_str());
    }
}

std::string windowText(WindowHandle window) {
    const HWND target = hwndOf(window);
    if (ansiIsGbk()) {
        const int length = GetWindowTextLengthA(target);
        if (length <= 0) {
            return {};
        }
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        const int copied = GetWindowTextA(target, text.data(), length + 1);
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        return text;
    }
    const int length = GetWindowTextLengthW(target);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(target, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return gbkOfWide(text);
}

bool anyWindowExists() {
    return liveWindows > 0;
}

std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    return ansiIsGbk() ? SendMessageA(hwndOf(window), message, wParam, lParam)
                       : SendMessageW(hwndOf(window), message, wParam, lParam);
}

namespace win32 {

void unregisterMainClass() {
    if (classRegistered) {
        if (ansiIsGbk()) {
            UnregisterClassA(mainClassNameA, programInstance());
        } else {
            UnregisterClassW(mainClassNameW, programInstance());
        }
        classRegistered = false;
    }
}

} // namespace win32

} // namespace platform
