// Starts brindlow.exe, waits for its window and runs one capture, so that the window
// shows a snippet and its record; then leaves the tool running, prints the window's outer
// rectangle ("window LEFT TOP WIDTH HEIGHT") and ends. tools/run.sh takes its screenshot
// afterwards.
//
//   brindlow_demo.exe --tool=... [--bank=...]

#include "Driver.h"
#include "Snippets.h"

#include <cstdio>
#include <utility>

using namespace e2e;

namespace {

// "荨" shows a record deep in the shipped bank; with another bank the first double-byte
// character of its first record serves.
std::string demoSnippet() {
    const std::string 荨 = "荨";
    if (oracleRecordOf(荨) != 0) {
        return 荨;
    }
    const auto& records = bankRecords();
    for (std::size_t i = 1; i < records.size(); ++i) {
        const std::string& record = records[i];
        for (std::size_t at = 0; at + 1 < record.size(); ++at) {
            if (static_cast<unsigned char>(record[at]) >= 0x80) {
                return record.substr(at, 2);
            }
        }
    }
    return "Q";
}

int fail(const char* what) {
    std::fprintf(stderr, "brindlow_demo: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (!parseOptions(argc, argv) || options().tool.empty()) {
        return fail("usage: brindlow_demo.exe --tool=brindlow.exe --bank=bank.txt");
    }
    ToolProcess tool = launch(options().tool);
    const HWND main = tool.process != nullptr ? waitForMainWindow(tool) : nullptr;
    if (main == nullptr) {
        return fail("the tool's window did not come up");
    }
    if (!options().bank.empty()) {
        auto target = openTarget(L"demo");
        if (target == nullptr) {
            return fail("no window of its own");
        }
        const std::string snippet = demoSnippet();
        if (!placeOnClipboard(target->frame,
                              {{CF_TEXT, memoryOf(std::string_view(snippet)), true}}) ||
            !focusTarget(*target, target->sink) || !pressQAndWait(*target, main)) {
            return fail("the capture did not run");
        }
        target.reset();
        // With the driver's window gone, the tool comes to the front.
        SetForegroundWindow(main);
        waitUntilIdle(main);
        pumpFor(500);
    }
    // The tool keeps running after this program has ended.
    CloseHandle(std::exchange(tool.process, nullptr));
    CloseHandle(std::exchange(tool.thread, nullptr));
    RECT outer{};
    GetWindowRect(main, &outer);
    std::printf("window %ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
                outer.bottom - outer.top);
    return 0;
}
