// A thousand captures in a row: the tool's objects and private memory must not grow.

#include "Driver.h"
#include "Snippets.h"

#include "Check.h"
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace e2e {
namespace {

struct Usage {
    DWORD userObjects = 0;
    DWORD gdiObjects = 0;
    bool guiCounted = true;        // false where GetGuiResources is not implemented (Wine)
    std::optional<int> gdiInTable; // Wine's fallback: the process's GDI handle table
    SIZE_T privateBytes = 0;
    int windows = 0;
};

BOOL CALLBACK countWindow(HWND, LPARAM data) {
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}

int windowsOf(DWORD processId) {
    int count = 0;
    for (HWND window : topLevelWindowsOf(processId)) {
        ++count;
        EnumChildWindows(window, countWindow, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// Wine keeps each process's GDI handles in a table that the process's PEB points to
// (GdiSharedHandleTable), 65536 entries whose type byte is 0 when free. Windows has
// GetGuiResources for this, and this is only asked where that fails.
std::optional<int> gdiHandlesInTable(HANDLE process) {
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24);
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  &length) != 0) {
        return std::nullopt;
    }
    const std::size_t tableField = sizeof(void*) == 8 ? 0xF8 : 0x94;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + tableField,
                           &table, sizeof table, &read) ||
        table == nullptr) {
        return std::nullopt;
    }
    std::vector<Entry> entries(0x10000);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &read)) {
        return std::nullopt;
    }
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.type != 0; }));
}

Usage usageOf(const ToolProcess& tool) {
    Usage usage;
    SetLastError(0);
    usage.userObjects = GetGuiResources(tool.process, GR_USEROBJECTS);
    usage.gdiObjects = GetGuiResources(tool.process, GR_GDIOBJECTS);
    if (usage.userObjects == 0 && usage.gdiObjects == 0 &&
        GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        usage.guiCounted = false;
        usage.gdiInTable = gdiHandlesInTable(tool.process);
    }
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(tool.process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        // Wine leaves PrivateUsage 0 and reports the process's anonymous memory, resident
        // or swapped, as PagefileUsage, which Windows keeps equal to PrivateUsage.
        usage.privateBytes =
            counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    }
    usage.windows = windowsOf(tool.processId);
    return usage;
}

void print(const char* when, const Usage& usage) {
    if (usage.guiCounted) {
        std::printf("%s: USER objects %lu, GDI objects %lu", when,
                    static_cast<unsigned long>(usage.userObjects),
                    static_cast<unsigned long>(usage.gdiObjects));
    } else {
        std::printf("%s: USER objects not counted here, GDI handles in use %d", when,
                    usage.gdiInTable.value_or(-1));
    }
    std::printf(", private bytes %llu, windows %d\n",
                static_cast<unsigned long long>(usage.privateBytes), usage.windows);
    std::fflush(stdout);
}

TEST_CASE(Soak, ThousandCapturesLeaveObjectsAndMemoryAsTheyWere) {
    ToolProcess tool = launch(options().tool);
    REQUIRE_NE(tool.process, nullptr);
    const HWND main = waitForMainWindow(tool);
    REQUIRE_NE(main, nullptr);
    const Controls controls = controlsOf(main);
    auto target = openTarget();
    REQUIRE(target != nullptr);

    const auto& records = bankRecords();
    const std::string found = snippetOfLastRecord();
    const std::string nowhere = snippetFoundNowhere();
    REQUIRE_FALSE(found.empty());
    REQUIRE_EQ(oracleRecordOf(nowhere), 0u);

    // Alternately a snippet of the last record and a long one found nowhere: every run
    // reads 编辑框1 once per record, and every copy that leaked would be at least as long
    // as the snippet.
    int runs = 0;
    const auto capture = [&](const std::string& snippet) -> std::string {
        setEditText(*target, "", snippet, "");
        if (!focusTarget(*target, target->edit) || !pressQAndWait(*target, main)) {
            return "no complete run " + std::to_string(runs);
        }
        ++runs;
        if (readText(controls.编辑框1) != snippet || readText(controls.编辑框2) != records.back()) {
            return "wrong boxes after run " + std::to_string(runs);
        }
        return {};
    };

    for (int i = 0; i < 20; ++i) {
        REQUIRE_OK(capture(i % 2 == 0 ? found : nowhere));
    }
    const Usage before = usageOf(tool);
    print("after 20 warm-up captures", before);
    for (int i = 0; i < 1000; ++i) {
        REQUIRE_OK(capture(i % 2 == 0 ? found : nowhere));
    }
    const Usage after = usageOf(tool);
    print("after 1000 more captures", after);

    CHECK_EQ(after.windows, before.windows);
    if (before.guiCounted) {
        CHECK_LE(after.userObjects, before.userObjects + 2);
        CHECK_LE(after.gdiObjects, before.gdiObjects + 2);
    } else {
        std::printf("GetGuiResources is not implemented here: USER objects are not counted "
                    "(the windows are), GDI handles are counted in the process's table.\n");
        REQUIRE(before.gdiInTable.has_value()) << "no way to count GDI objects here";
        CHECK_LE(*after.gdiInTable, *before.gdiInTable + 2);
    }
    REQUIRE_GT(before.privateBytes, 0u) << "private bytes are not reported";
    // 500 leaked copies of the long snippet alone would be a megabyte.
    CHECK_LE(after.privateBytes, before.privateBytes + 512 * 1024);
    CHECK_EQ(target->copies(), runs);
}

} // namespace
} // namespace e2e
