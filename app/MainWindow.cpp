#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ShellState.h"
#include "app/WindowDescription.h"
#include "platform/Messages.h"
#include "platform/Window.h"

#include <exception>

ShellState shellState;

namespace {

std::size_t indexOf(Item item) {
    return static_cast<std::size_t>(item);
}

// Runs an event's handler unless handlers are blocked. A handler that throws has run
// out of memory; the program cannot go on from there.
template <typename Handler> void runHandler(Handler&& handler) {
    if (shellState.handlersBlocked) {
        return;
    }
    try {
        handler();
    } catch (const std::exception&) {
        endWithErrorBox();
    }
}

const ControlDescription* controlWithId(int id) {
    if (shellState.description == nullptr) {
        return nullptr;
    }
    for (const ControlDescription& control : shellState.description->controls) {
        if (control.layout.id == id) {
            return &control;
        }
    }
    return nullptr;
}

void onControlCommand(int controlId, int notification) {
    const ControlDescription* control = controlWithId(controlId);
    if (control != nullptr && control->item == Item::按钮1 &&
        notification == platform::buttonClicked && mainWindowBindings.openSiteClicked != nullptr) {
        runHandler(mainWindowBindings.openSiteClicked);
    }
}

std::intptr_t onLabelFeedback(platform::WindowHandle label, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    if (label != platform::noWindow && label == windowHandleOf(Item::标签1) &&
        mainWindowBindings.hotkeyFeedback != nullptr) {
        const auto first = static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam));
        const auto second = static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam));
        runHandler([first, second] { mainWindowBindings.hotkeyFeedback(first, second); });
    }
    return 0;
}

void onMainWindowGone() {
    shellState.handles = {};
    applyQuitRule();
}

constexpr platform::MainWindowEvents windowEvents{&onControlCommand, &onLabelFeedback,
                                                  &onMainWindowGone};

platform::WindowHandle createControlOrFail(platform::WindowHandle parent,
                                           const ControlDescription& control) {
    const platform::WindowHandle handle = platform::createControl(parent, control.layout);
    if (handle == platform::noWindow) {
        endWithErrorBox();
    }
    platform::useDefaultGuiFont(handle);
    if (control.colours) {
        platform::setControlColours(handle, *control.colours);
    }
    if (control.unlimitedText) {
        platform::liftTextLimit(handle);
    }
    return handle;
}

} // namespace

void loadMainWindow() {
    if (shellState.description == nullptr) {
        endWithErrorBox();
    }
    const WindowDescription& description = *shellState.description;

    shellState.handlersBlocked = true;
    platform::processPendingMessages();

    const platform::Rect outer =
        centredOuterRect(platform::primaryScreenSize(), description.width, description.height);
    const platform::WindowHandle window = platform::createMainWindow(
        {description.title, outer, description.style, description.exStyle}, windowEvents);
    if (window == platform::noWindow) {
        endWithErrorBox();
    }
    shellState.handles[indexOf(Item::mainWindow)] = window;
    const platform::Rect created = platform::outerRect(window);
    if (created.width != description.width || created.height != description.height) {
        platform::resizeWindow(window, description.width, description.height);
    }

    platform::setApplicationIcon(window, description.iconResourceId);
    platform::useDefaultGuiFont(window);
    platform::makeTopmost(window);

    for (const ControlDescription& control : description.controls) {
        shellState.handles[indexOf(control.item)] = createControlOrFail(window, control);
    }

    // The last control created goes on top, each earlier one directly below the next.
    const auto& controls = description.controls;
    platform::placeOnTop(windowHandleOf(controls.back().item));
    for (std::size_t i = controls.size() - 1; i-- > 0;) {
        platform::placeBelow(windowHandleOf(controls[i].item),
                             windowHandleOf(controls[i + 1].item));
    }
    for (const ControlDescription& control : controls) {
        platform::showWindow(windowHandleOf(control.item), platform::Show::withoutActivating);
    }

    platform::processPendingMessages();
    shellState.handlersBlocked = false;

    if (mainWindowBindings.created != nullptr) {
        runHandler(mainWindowBindings.created);
    }
    // The moved and resized events that follow have no handler.
    platform::showWindow(window, platform::Show::normal);
}

platform::WindowHandle windowHandleOf(Item item) {
    return shellState.handles[indexOf(item)];
}

void setEditBoxText(Item box, std::string_view text) {
    platform::setWindowText(windowHandleOf(box), text);
}

QuestionBank::GbkText readEditBoxText(Item box) {
    return platform::windowText(windowHandleOf(box));
}

bool takeWindowKey(platform::WindowHandle window, const platform::KeyPress& press) {
    const platform::WindowHandle mainWindow = windowHandleOf(Item::mainWindow);
    if (mainWindow == platform::noWindow || window != mainWindow || press.control || press.shift ||
        press.alt) {
        return false;
    }
    if (press.key == platform::key::escape) {
        platform::sendMessage(mainWindow, platform::message::close, 0, 0);
        return true;
    }
    return press.key == platform::key::enter;
}
