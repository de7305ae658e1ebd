#pragma once

// The main window: its items, the texts of its edit boxes, its building and its events.

#include "bank/QuestionBank.h"
#include "platform/Handles.h"
#include "platform/MessageLoop.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The main window and its five controls.
enum class Item { mainWindow, 标签1, 编辑框1, 编辑框2, 按钮1, 标签2 };
inline constexpr std::size_t itemCount = 6;

// The handlers bound to the window's events. Each program supplies one table; an
// event whose entry is empty has no handler.
struct MainWindowBindings {
    void (*created)() = nullptr;                                               // main window
    void (*openSiteClicked)() = nullptr;                                       // 按钮1 click
    void (*hotkeyFeedback)(std::int32_t first, std::int32_t second) = nullptr; // 标签1
};
extern const MainWindowBindings mainWindowBindings;

// Builds the window hidden, runs the created event, then shows the window. Ends in the
// error box when the window or a control cannot be created.
void loadMainWindow();

// The item's window handle: valid from the created event until the window is gone.
platform::WindowHandle windowHandleOf(Item item);

// Replaces the box's whole text; the empty text empties it. The box keeps a copy.
void setEditBoxText(Item box, std::string_view text);
// A new copy of the box's whole text, fetched from the control on every call.
QuestionBank::GbkText readEditBoxText(Item box);

// The main window's keys, as the message loop offers them: plain Esc closes the window,
// plain Enter does nothing. Returns whether the key was taken.
bool takeWindowKey(platform::WindowHandle window, const platform::KeyPress& press);
