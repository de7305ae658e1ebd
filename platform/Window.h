#pragma once

// The main window and its child controls: creation, placement, look and text.
// Texts are GBK byte strings; the empty text stands for the absent one.

#include "platform/Handles.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Window style bits, with the system's values.
namespace style {
inline constexpr std::uint32_t child = 0x40000000;
inline constexpr std::uint32_t visible = 0x10000000;
inline constexpr std::uint32_t disabled = 0x08000000;
inline constexpr std::uint32_t clipSiblings = 0x04000000;
inline constexpr std::uint32_t clipChildren = 0x02000000;
inline constexpr std::uint32_t caption = 0x00C00000;
inline constexpr std::uint32_t border = 0x00800000;
inline constexpr std::uint32_t dialogFrame = 0x00400000;
inline constexpr std::uint32_t verticalScroll = 0x00200000;
inline constexpr std::uint32_t horizontalScroll = 0x00100000;
inline constexpr std::uint32_t systemMenu = 0x00080000;
inline constexpr std::uint32_t thickFrame = 0x00040000;
inline constexpr std::uint32_t minimizeBox = 0x00020000;
inline constexpr std::uint32_t maximizeBox = 0x00010000;
inline constexpr std::uint32_t tabStop = 0x00010000;

inline constexpr std::uint32_t labelLeft = 0x0000;
inline constexpr std::uint32_t labelNoPrefix = 0x0080;
inline constexpr std::uint32_t labelCentreVertically = 0x0200;

inline constexpr std::uint32_t editLeft = 0x0000;
inline constexpr std::uint32_t editMultiLine = 0x0004;
inline constexpr std::uint32_t editAutoVerticalScroll = 0x0040;
inline constexpr std::uint32_t editAutoHorizontalScroll = 0x0080;
inline constexpr std::uint32_t editNoHideSelection = 0x0100;
inline constexpr std::uint32_t editReadOnly = 0x0800;
inline constexpr std::uint32_t editWantReturn = 0x1000;

inline constexpr std::uint32_t buttonPush = 0x0000;
inline constexpr std::uint32_t buttonDefaultPush = 0x0001;
inline constexpr std::uint32_t buttonCentre = 0x0300;
inline constexpr std::uint32_t buttonCentreVertically = 0x0C00;
inline constexpr std::uint32_t buttonMultiLine = 0x2000;
} // namespace style

// Extended window style bits, with the system's values.
namespace exStyle {
inline constexpr std::uint32_t dialogModalFrame = 0x00000001;
inline constexpr std::uint32_t topmost = 0x00000008;
inline constexpr std::uint32_t windowEdge = 0x00000100;
inline constexpr std::uint32_t clientEdge = 0x00000200;
inline constexpr std::uint32_t staticEdge = 0x00020000;
} // namespace exStyle

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

enum class ControlKind { label, editBox, pushButton };

struct WindowLayout {
    std::string_view title;
    Rect outer; // the window rectangle, frame and caption included
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};

struct ControlLayout {
    ControlKind kind = ControlKind::label;
    int id = 0;
    Rect bounds; // in the parent's client coordinates
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::string_view text;
};

// A colour as the system keeps it: red in the low byte, then green, then blue.
constexpr std::uint32_t rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (std::uint32_t{green} << 8) | (std::uint32_t{blue} << 16);
}

enum class Background { buttonFace, white };

struct Colours {
    std::uint32_t text = 0;
    Background background = Background::buttonFace;
    friend bool operator==(const Colours&, const Colours&) = default;
};

// What the main window reports to the program. The platform calls these on the
// user-interface thread while it dispatches the window's messages.
struct MainWindowEvents {
    // A child control sent a command notification (a button click, for instance).
    void (*controlCommand)(int controlId, int notification) = nullptr;
    // A label received WM_LABEL_FEEDBACK; the result is what the message yields.
    std::intptr_t (*labelFeedback)(WindowHandle label, std::uintptr_t wParam,
                                   std::intptr_t lParam) = nullptr;
    // The main window has handled its last message and is gone.
    void (*destroyed)() = nullptr;
};

enum class Show { withoutActivating, normal };

// Creates the main window hidden, with the button-face background, the standard
// pointer and no menu. It closes at once when asked, grants the end of the session,
// hands the keyboard focus on to its controls and lets labels answer
// WM_LABEL_FEEDBACK. Returns noWindow when the window cannot be created.
WindowHandle createMainWindow(const WindowLayout& layout, const MainWindowEvents& events);

// Creates a hidden child control of `parent`; noWindow when it cannot be created.
WindowHandle createControl(WindowHandle parent, const ControlLayout& layout);

Size primaryScreenSize();
Rect outerRect(WindowHandle window);
// Changes the outer size, keeping the position and the z-order, without activating.
void resizeWindow(WindowHandle window, int width, int height);
// Sets the icon resource `resourceId` of the program as the large and the small icon;
// the window releases them when it is destroyed.
void setApplicationIcon(WindowHandle window, int resourceId);
void useDefaultGuiFont(WindowHandle window);
// Makes the window topmost without moving, sizing or activating it.
void makeTopmost(WindowHandle window);
// Z-order among siblings, without moving, sizing or activating.
void placeOnTop(WindowHandle window);
void placeBelow(WindowHandle window, WindowHandle above);
void showWindow(WindowHandle window, Show how);
// Colours in which a label or an edit box draws its text and background.
void setControlColours(WindowHandle control, Colours colours);
// Lets an edit box hold as much text as the system allows.
void liftTextLimit(WindowHandle editBox);

void setWindowText(WindowHandle window, std::string_view text);
// A new copy of the window's whole text as the window reports it now.
std::string windowText(WindowHandle window);

// Whether any window that the program created still exists.
bool anyWindowExists();

} // namespace platform
