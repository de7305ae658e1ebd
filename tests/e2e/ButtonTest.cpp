// 按钮1 end to end: the shell asked to open the quiz address, as a recording xdg-open
// first on the PATH of the Wine processes sees it.

#include "Driver.h"

#include "Check.h"

namespace e2e {
namespace {

struct Started {
    ToolProcess tool;
    HWND main = nullptr;
    HWND button = nullptr;
};

Started startTool() {
    Started started;
    started.tool = launch(options().tool);
    if (started.tool.process != nullptr) {
        started.main = waitForMainWindow(started.tool);
    }
    if (started.main != nullptr) {
        started.button = controlsOf(started.main).按钮1;
    }
    return started;
}

// The calls recorded after the first `before`, once `count` of them have come.
std::vector<std::string> opensAfter(std::size_t before, std::size_t count) {
    const auto lines = waitForOpens(before + count);
    return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(before, lines.size())),
            lines.end()};
}

bool buttonFocused(const Started& started) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(started.tool.threadId, &info) && info.hwndFocus == started.button;
}

TEST_CASE(Button, MouseClickAndSpaceBarEachOpenTheQuizAddressOnce) {
    const std::size_t before = recordedOpens().size();
    Started started = startTool();
    REQUIRE_NE(started.button, nullptr);

    clickAt(centreOnScreen(started.button));
    CHECK_EQ(opensAfter(before, 1), std::vector<std::string>{expectedOpen()});

    REQUIRE(pumpUntil(
        [&] {
            if (GetForegroundWindow() != started.main) {
                SetForegroundWindow(started.main);
            }
            return buttonFocused(started);
        },
        seconds(10)));
    tapKey(VK_SPACE);
    CHECK_EQ(opensAfter(before, 2), (std::vector<std::string>{expectedOpen(), expectedOpen()}));
    CHECK(isRunning(started.tool));
}

TEST_CASE(Button, WindowTitledInternetExplorerChangesNothingOfTheAddress) {
    const std::size_t before = recordedOpens().size();
    Started started = startTool();
    REQUIRE_NE(started.button, nullptr);
    auto owner = openTarget(L"Microsoft Internet Explorer");
    REQUIRE(owner != nullptr);
    REQUIRE_EQ(FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer"),
               owner->frame);

    clickAt(centreOnScreen(started.button));
    CHECK_EQ(opensAfter(before, 1), std::vector<std::string>{expectedOpen()});
    CHECK(isRunning(started.tool));
    CHECK(IsWindow(owner->frame));
}

} // namespace
} // namespace e2e
