#pragma once

// Recording replacement of the platform layer for the host tests. Every service call
// that changes something is written to `fake::state.log` in order, as one line of text;
// the answers of the services are scripted through `fake::state`.

#include "platform/Handles.h"
#include "platform/Hotkey.h"
#include "platform/MessageLoop.h"
#include "platform/Window.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fake {

// Thrown by platform::endProcess, which must not return.
struct ProcessEnded {
    int exitCode;
};

inline constexpr platform::WindowHandle mainWindow{0x10};
inline constexpr platform::WindowProcedure originalProcedure{0xABC};
// A control's handle is derived from its identifier.
constexpr platform::WindowHandle controlHandle(int id) {
    return static_cast<platform::WindowHandle>(0x1000 + id);
}

struct CreatedWindow {
    platform::WindowHandle handle{};
    platform::WindowHandle parent{};
    bool isMainWindow = false;
    platform::ControlKind kind = platform::ControlKind::label;
    int id = 0;
    platform::Rect rect;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::string text;
};

// A queued message as the fake message loop takes it; it gets the loop's key offer.
using Message = std::function<void(platform::KeyOffer)>;

struct State {
    std::vector<std::string> log;
    // Called with every line as it is logged, to look at the program at that moment.
    std::function<void(const std::string&)> observer;

    // Scripted answers.
    platform::Size screen{1024, 768};
    std::optional<platform::Size> createdOuterSize; // the system's choice, if not the asked one
    bool mainWindowFails = false;
    int failingControlId = 0;
    bool oleSucceeds = true;
    std::function<std::string()> clipboard = [] { return std::string(); };
    bool hotKeyRegistrationSucceeds = true;
    std::function<void()> whenHotKeyRegistered;
    platform::WindowHandle topLevelWindow{};
    std::intptr_t previousProcedureResult = 0;
    // Run by processPendingMessages, as if these messages had been waiting.
    std::deque<std::function<void()>> pending;
    std::deque<Message> queue;

    // What the program asked for.
    platform::MainWindowEvents events;
    std::vector<CreatedWindow> created;
    std::map<platform::WindowHandle, std::string> texts;
    std::map<platform::WindowHandle, int> fontsSet;
    std::map<platform::WindowHandle, int> iconResource;
    std::map<platform::WindowHandle, platform::Colours> colours;
    std::set<platform::WindowHandle> unlimitedText;
    std::set<platform::WindowHandle> alive;
    platform::MessageHook hook = nullptr;
    std::optional<int> quitPosted;
    bool topmost = false;
};

extern State state;

void reset();

// The log lines that begin with `prefix`, in order.
std::vector<std::string> logLines(const std::string& prefix);
// How many log lines begin with `prefix`.
std::size_t countLog(const std::string& prefix);
// Index of the first log line that begins with `prefix`, or -1.
int logIndex(const std::string& prefix);

std::string nameOf(platform::WindowHandle window);

const CreatedWindow* createdWindow(platform::WindowHandle handle);

// Queued messages.
Message keyDown(platform::WindowHandle target, platform::KeyPress press);
Message hotkey(std::uintptr_t identifier);
Message click(int controlId);

} // namespace fake
