#include "tests/unit/FakePlatform.h"

#include "platform/Clipboard.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/Wait.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace fake {

State state;

void reset() {
    state = State{};
}

std::vector<std::string> logLines(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : state.log) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::size_t countLog(const std::string& prefix) {
    return logLines(prefix).size();
}

int logIndex(const std::string& prefix) {
    for (std::size_t i = 0; i < state.log.size(); ++i) {
        if (state.log[i].rfind(prefix, 0) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const CreatedWindow* createdWindow(platform::WindowHandle handle) {
    for (const CreatedWindow& window : state.created) {
        if (window.handle == handle) {
            return &window;
        }
    }
    return nullptr;
}

std::string nameOf(platform::WindowHandle window) {
    if (window == platform::noWindow) {
        return "#none";
    }
    if (window == mainWindow) {
        return "#main";
    }
    if (const CreatedWindow* created = createdWindow(window)) {
        return "#" + std::to_string(created->id);
    }
    std::ostringstream name;
    name << "#0x" << std::hex << static_cast<std::uintptr_t>(window);
    return name.str();
}

namespace {

void record(const std::string& line) {
    state.log.push_back(line);
    if (state.observer) {
        const auto observer = state.observer; // may replace itself
        observer(line);
    }
}

bool isAlive(platform::WindowHandle window) {
    return state.alive.count(window) != 0;
}

void destroyMainWindow() {
    if (!isAlive(mainWindow)) {
        return;
    }
    record("destroy #main");
    for (const CreatedWindow& window : state.created) {
        state.alive.erase(window.handle);
    }
    if (state.events.destroyed != nullptr) {
        state.events.destroyed();
    }
}

} // namespace

Message keyDown(platform::WindowHandle target, platform::KeyPress press) {
    return [target, press](platform::KeyOffer offer) {
        for (platform::WindowHandle window = target; window != platform::noWindow;) {
            if (offer(window, press)) {
                return;
            }
            const CreatedWindow* created = createdWindow(window);
            window = created != nullptr ? created->parent : platform::noWindow;
        }
        record("dispatch key " + std::to_string(press.key) + " to " + nameOf(target));
    };
}

Message hotkey(std::uintptr_t identifier) {
    return [identifier](platform::KeyOffer) {
        if (state.hook != nullptr) {
            state.hook(mainWindow, platform::message::hotkey, identifier, 0);
        } else {
            record("dispatch hotkey to the original procedure");
        }
    };
}

Message click(int controlId) {
    return [controlId](platform::KeyOffer) {
        if (state.events.controlCommand != nullptr) {
            state.events.controlCommand(controlId, platform::buttonClicked);
        }
    };
}

} // namespace fake

namespace platform {

using fake::nameOf;
using fake::record;
using fake::state;

WindowHandle createMainWindow(const WindowLayout& layout, const MainWindowEvents& events) {
    record("createMainWindow");
    if (state.mainWindowFails) {
        return noWindow;
    }
    state.events = events;
    state.created.push_back({fake::mainWindow, noWindow, true, ControlKind::label, 0, layout.outer,
                             layout.style, layout.exStyle, std::string(layout.title)});
    state.alive.insert(fake::mainWindow);
    return fake::mainWindow;
}

WindowHandle createControl(WindowHandle parent, const ControlLayout& layout) {
    record("createControl " + std::to_string(layout.id));
    if (layout.id == state.failingControlId) {
        return noWindow;
    }
    const WindowHandle handle = fake::controlHandle(layout.id);
    state.created.push_back({handle, parent, false, layout.kind, layout.id, layout.bounds,
                             layout.style, layout.exStyle, std::string(layout.text)});
    state.texts[handle] = std::string(layout.text);
    state.alive.insert(handle);
    return handle;
}

Size primaryScreenSize() {
    return state.screen;
}

Rect outerRect(WindowHandle window) {
    const fake::CreatedWindow* created = fake::createdWindow(window);
    if (created == nullptr) {
        return {};
    }
    Rect rect = created->rect;
    if (created->isMainWindow && state.createdOuterSize) {
        rect.width = state.createdOuterSize->width;
        rect.height = state.createdOuterSize->height;
    }
    return rect;
}

void resizeWindow(WindowHandle window, int width, int height) {
    record("resizeWindow " + nameOf(window) + " " + std::to_string(width) + "x" +
           std::to_string(height));
    state.createdOuterSize.reset();
}

void setApplicationIcon(WindowHandle window, int resourceId) {
    record("setApplicationIcon " + nameOf(window));
    state.iconResource[window] = resourceId;
}

void useDefaultGuiFont(WindowHandle window) {
    record("useDefaultGuiFont " + nameOf(window));
    ++state.fontsSet[window];
}

void makeTopmost(WindowHandle window) {
    record("makeTopmost " + nameOf(window));
    state.topmost = true;
}

void placeOnTop(WindowHandle window) {
    record("placeOnTop " + nameOf(window));
}

void placeBelow(WindowHandle window, WindowHandle above) {
    record("placeBelow " + nameOf(window) + " " + nameOf(above));
}

void showWindow(WindowHandle window, Show how) {
    record("showWindow " + nameOf(window) +
           (how == Show::withoutActivating ? " withoutActivating" : " normal"));
}

void setControlColours(WindowHandle control, Colours colours) {
    record("setControlColours " + nameOf(control));
    state.colours[control] = colours;
}

void liftTextLimit(WindowHandle editBox) {
    record("liftTextLimit " + nameOf(editBox));
    state.unlimitedText.insert(editBox);
}

void setWindowText(WindowHandle window, std::string_view text) {
    state.texts[window] = std::string(text);
    record("setWindowText " + nameOf(window) + " " + std::string(text));
}

std::string windowText(WindowHandle window) {
    record("windowText " + nameOf(window));
    return state.texts[window];
}

bool anyWindowExists() {
    return fake::isAlive(fake::mainWindow);
}

std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    std::ostringstream line;
    line << "sendMessage " << nameOf(window) << " 0x" << std::hex << message << std::dec << " "
         << wParam << " " << lParam;
    record(line.str());
    if (!fake::isAlive(window)) {
        return 0;
    }
    if (message == message::close && window == fake::mainWindow) {
        fake::destroyMainWindow();
        return 0;
    }
    const fake::CreatedWindow* created = fake::createdWindow(window);
    if (message == WM_LABEL_FEEDBACK && created != nullptr && !created->isMainWindow &&
        created->kind == ControlKind::label && state.events.labelFeedback != nullptr) {
        return state.events.labelFeedback(window, wParam, lParam);
    }
    return 0;
}

void processPendingMessages() {
    record("processPendingMessages");
    while (!state.pending.empty()) {
        const auto message = state.pending.front();
        state.pending.pop_front();
        message();
    }
}

int pumpMessages(KeyOffer offer) {
    record("pumpMessages");
    for (;;) {
        if (!state.queue.empty()) {
            const auto message = state.queue.front();
            state.queue.pop_front();
            message(offer);
            continue;
        }
        if (state.quitPosted) {
            record("pumpMessages returns");
            return *state.quitPosted;
        }
        throw std::logic_error("the message loop would wait for ever: no quit request");
    }
}

void postQuit(int code) {
    record("postQuit " + std::to_string(code));
    state.quitPosted = code;
}

bool registerHotKey(WindowHandle owner, std::int32_t id, std::uint32_t modifiers,
                    std::uint32_t key) {
    record("registerHotKey " + nameOf(owner) + " " + std::to_string(id) + " " +
           std::to_string(modifiers) + " " + std::to_string(key));
    if (state.whenHotKeyRegistered) {
        state.whenHotKeyRegistered();
    }
    return state.hotKeyRegistrationSucceeds;
}

WindowProcedure replaceWindowProcedure(WindowHandle window, MessageHook hook) {
    record("replaceWindowProcedure " + nameOf(window));
    state.hook = hook;
    return fake::originalProcedure;
}

std::intptr_t callWindowProcedure(WindowProcedure procedure, WindowHandle window,
                                  std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    std::ostringstream line;
    line << "callWindowProcedure 0x" << std::hex << static_cast<std::uintptr_t>(procedure) << " "
         << nameOf(window) << " 0x" << message << std::dec << " " << wParam << " " << lParam;
    record(line.str());
    return state.previousProcedureResult;
}

void sendKeyEvent(std::uint8_t key, KeyDirection direction) {
    record("sendKeyEvent " + std::to_string(key) +
           (direction == KeyDirection::down ? " down" : " up"));
}

void sleep(std::uint32_t milliseconds) {
    record("sleep " + std::to_string(milliseconds));
}

std::string readClipboardText() {
    record("readClipboardText");
    return state.clipboard();
}

WindowHandle findTopLevelWindow(std::string_view title) {
    record("findTopLevelWindow " + std::string(title));
    return state.topLevelWindow;
}

void shellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                  ShowCommand show) {
    record("shellExecute " + nameOf(owner) + " " + std::string(verb) + " " + std::string(file) +
           (show == ShowCommand::normal ? " normal" : " ?"));
}

bool initializeOle() {
    record("initializeOle");
    return state.oleSucceeds;
}

void uninitializeOle() {
    record("uninitializeOle");
}

void showErrorBox(std::string_view text, std::string_view caption) noexcept {
    try {
        record("showErrorBox " + std::string(caption) + ": " + std::string(text));
    } catch (...) {
    }
}

void releaseProgramResources() {
    record("releaseProgramResources");
}

void endProcess(int exitCode) {
    record("endProcess " + std::to_string(exitCode));
    throw fake::ProcessEnded{exitCode};
}

} // namespace platform
