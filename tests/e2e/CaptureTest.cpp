// The hot-key capture end to end: Q pressed over the driver's own window, the tool's
// Ctrl+C answered by the driver's edit control, the clipboard read, and the two edit
// boxes of the tool read back.

#include "Driver.h"
#include "Snippets.h"

#include "Check.h"

namespace e2e {
namespace {

struct Session {
    ToolProcess tool;
    HWND main = nullptr;
    Controls controls;
    std::unique_ptr<Target> target;
};

Session openSession(bool withTarget = true) {
    Session session;
    session.tool = launch(options().tool);
    CHECK_NE(session.tool.process, nullptr) << "brindlow.exe did not start";
    if (session.tool.process == nullptr) {
        return session;
    }
    session.main = waitForMainWindow(session.tool);
    CHECK_NE(session.main, nullptr) << "no visible window titled \"" << mainTitle << "\"";
    if (session.main == nullptr) {
        return session;
    }
    session.controls = controlsOf(session.main);
    if (withTarget) {
        session.target = openTarget();
        CHECK(session.target != nullptr);
    }
    return session;
}

bool ready(const Session& session) {
    return session.main != nullptr && session.target != nullptr;
}

std::string box1(const Session& session) {
    return readText(session.controls.编辑框1).value_or("<no answer>");
}

std::string box2(const Session& session) {
    return readText(session.controls.编辑框2).value_or("<no answer>");
}

const std::string& record(std::size_t position) {
    static const std::string none = "<no such record>";
    const auto& records = bankRecords();
    return position < records.size() ? records[position] : none;
}

// Selects the snippet in the driver's edit control, presses Q and waits for the run.
std::string captureSelection(Session& session, const SnippetCase& c) {
    setEditText(*session.target, c.before, c.snippet, c.after);
    if (!focusTarget(*session.target, session.target->edit)) {
        return "the driver's window did not come to the front";
    }
    if (!pressQAndWait(*session.target, session.main)) {
        return "no complete run after Q";
    }
    return {};
}

// Presses Q while the driver's sink, which copies nothing, has the focus: the run reads
// whatever the driver put on the clipboard.
std::string captureClipboard(Session& session) {
    if (!focusTarget(*session.target, session.target->sink)) {
        return "the driver's window did not come to the front";
    }
    if (!pressQAndWait(*session.target, session.main)) {
        return "no complete run after Q";
    }
    return {};
}

// Brings 编辑框2 to a record other than record 2, so that a later change shows.
void showSomeRecord(Session& session) {
    const SnippetCase& first = snippetTable().front();
    REQUIRE_NE(first.record, 2u);
    REQUIRE_OK(captureSelection(session, first));
    REQUIRE_EQ(box2(session), record(first.record));
}

TEST_CASE(Capture, SnippetTable) {
    REQUIRE_GT(bankRecords().size(), 2u) << "the bank file was not read";
    Session session = openSession();
    REQUIRE(ready(session));

    std::string shown; // 编辑框2 is empty at start
    CHECK_EQ(box2(session), shown);
    for (const SnippetCase& c : snippetTable()) {
        TRACE(c.name);
        // The table itself must agree with the bank as cut here.
        CHECK_EQ(oracleRecordOf(c.snippet), c.record);
        const int copiesBefore = session.target->copies();
        REQUIRE_OK(captureSelection(session, c));
        CHECK_EQ(session.target->copies(), copiesBefore + 1);
        CHECK_EQ(box1(session), c.snippet);
        if (c.record != 0) {
            shown = record(c.record);
        }
        CHECK_EQ(box2(session), shown);
    }
}

struct Modified {
    const char* name;
    WORD modifier;
    UINT message; // what the driver's control must get for the Q key
};

TEST_CASE(Capture, ModifiedQStartsNoRunAndReachesTheApplication) {
    Session session = openSession();
    REQUIRE(ready(session));
    const Modified cases[] = {
        {"Shift+Q", VK_SHIFT, WM_KEYDOWN},
        {"Ctrl+Q", VK_CONTROL, WM_KEYDOWN},
        {"Alt+Q", VK_MENU, WM_SYSKEYDOWN},
    };
    setEditText(*session.target, "前", "选中", "后");
    REQUIRE(focusTarget(*session.target, session.target->edit));
    for (const Modified& c : cases) {
        TRACE(c.name);
        session.target->keys.clear();
        tapKey('Q', {c.modifier});
        const auto reached = [&] {
            for (const KeySeen& key : session.target->keys) {
                const bool held = c.modifier == VK_SHIFT     ? key.shift
                                  : c.modifier == VK_CONTROL ? key.ctrl
                                                             : key.alt;
                if (key.window == session.target->edit && key.message == c.message &&
                    key.key == 'Q' && held) {
                    return true;
                }
            }
            return false;
        };
        CHECK(pumpUntil(reached, seconds(10))) << "the keystroke did not reach the edit control";
    }
    // Shift+Q typed its letter over the selection.
    CHECK_EQ(editText(*session.target), "前Q后");

    // A plain Q now: its run is the only one, so none of the above started a run.
    session.target->keys.clear();
    const SnippetCase& c = snippetTable().front();
    REQUIRE_OK(captureSelection(session, c));
    CHECK_EQ(session.target->copies(), 1);
    CHECK_EQ(box1(session), c.snippet);
    CHECK_EQ(box2(session), record(c.record));
}

TEST_CASE(Capture, ClipboardHeldOpenGivesTheEmptySnippet) {
    Session session = openSession();
    REQUIRE(ready(session));
    showSomeRecord(session);

    ClipboardHolder holder;
    REQUIRE(holder.opened) << "the driver could not open the clipboard";
    REQUIRE_OK(captureClipboard(session));
    CHECK_EQ(box1(session), "");
    CHECK_EQ(box2(session), record(2));
}

TEST_CASE(Capture, BitmapOnlyClipboardGivesTheEmptySnippet) {
    Session session = openSession();
    REQUIRE(ready(session));
    showSomeRecord(session);

    REQUIRE(placeBitmapOnly(session.target->frame));
    const auto formats = readClipboard(session.target->frame);
    REQUIRE(formats.has_value());
    for (const ClipboardItem& item : *formats) {
        REQUIRE_NE(item.format, static_cast<UINT>(CF_TEXT));
        REQUIRE_NE(item.format, static_cast<UINT>(CF_UNICODETEXT));
    }
    REQUIRE_OK(captureClipboard(session));
    CHECK_EQ(box1(session), "");
    CHECK_EQ(box2(session), record(2));
}

TEST_CASE(Capture, EveryClipboardFormatIsLeftAsItWas) {
    Session session = openSession();
    REQUIRE(ready(session));
    const SnippetCase& c = snippetTable().front();
    const UINT privateFormat = RegisterClipboardFormatW(L"Brindlow e2e private data");
    REQUIRE_NE(privateFormat, 0u);
    REQUIRE(placeOnClipboard(session.target->frame,
                             {{CF_TEXT, memoryOf(std::string_view(c.snippet)), true},
                              {CF_UNICODETEXT, memoryOf(wideOfGbk(c.snippet)), true},
                              {privateFormat, std::string("\x01\x00\x02\xff", 4), true}}));
    const auto before = readClipboard(session.target->frame);
    REQUIRE(before.has_value());
    const DWORD sequence = GetClipboardSequenceNumber();

    REQUIRE_OK(captureClipboard(session));
    CHECK_EQ(box1(session), c.snippet);
    CHECK_EQ(box2(session), record(c.record));

    CHECK_EQ(GetClipboardSequenceNumber(), sequence) << "the clipboard was written";
    const auto after = readClipboard(session.target->frame);
    REQUIRE(after.has_value());
    REQUIRE_EQ(after->size(), before->size());
    for (std::size_t i = 0; i < before->size(); ++i) {
        TRACE("format " << (*before)[i].format);
        CHECK_EQ((*after)[i].format, (*before)[i].format);
        CHECK_EQ((*after)[i].bytes, (*before)[i].bytes);
    }
}

// Wine converts Unicode clipboard text to CF_TEXT with the code page of the clipboard's
// locale; with an English locale Chinese text turns into "?" there. The tool must take
// the Unicode text that was placed first and convert it to GBK itself.
TEST_CASE(Capture, UnicodeTextPlacedWithAnEnglishLocale) {
    Session session = openSession();
    REQUIRE(ready(session));
    const SnippetCase& c = snippetTable().front();
    const std::wstring wide = wideOfGbk(c.snippet);
    REQUIRE(placeOnClipboard(
        session.target->frame,
        {{CF_UNICODETEXT, memoryOf(wide), true},
         {CF_LOCALE,
          memoryOfLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)),
          true}}));
    const auto formats = readClipboard(session.target->frame);
    REQUIRE(formats.has_value());
    const auto text = std::find_if(formats->begin(), formats->end(),
                                   [](const ClipboardItem& i) { return i.format == CF_TEXT; });
    REQUIRE(text != formats->end());
    REQUIRE_NE(std::string(text->bytes.c_str()), c.snippet)
        << "the system's own CF_TEXT is not lossy here, so this case proves nothing";

    REQUIRE_OK(captureClipboard(session));
    CHECK_EQ(box1(session), c.snippet);
    CHECK_EQ(box2(session), record(c.record));
}

std::string megabyteText() {
    // Longer than any record, so that no record holds it.
    const std::string piece = "甲乙丙丁戊己庚辛壬癸abcdefghij0123456789";
    std::string text;
    while (text.size() + piece.size() <= (1u << 20)) {
        text += piece;
    }
    text += std::string((1u << 20) - text.size(), 'z');
    return text;
}

TEST_CASE(Capture, MegabyteTextIsShownWhole) {
    Session session = openSession();
    REQUIRE(ready(session));
    showSomeRecord(session);
    const std::string shown = box2(session);

    const std::string text = megabyteText();
    REQUIRE_EQ(text.size(), 1u << 20);
    REQUIRE(placeOnClipboard(session.target->frame, {{CF_TEXT, memoryOf(text), true}}));
    REQUIRE_OK(captureClipboard(session));
    REQUIRE(isRunning(session.tool));
    const std::string got = box1(session);
    CHECK_EQ(got.size(), text.size());
    CHECK(got == text) << "编辑框1 does not hold the text whole";
    CHECK_EQ(box2(session), shown);
}

int visibleWindowsOf(DWORD processId) {
    int visible = 0;
    for (HWND window : topLevelWindowsOf(processId)) {
        visible += IsWindowVisible(window) ? 1 : 0;
    }
    return visible;
}

TEST_CASE(Capture, BurstOfTwentyPressesRunsTwentyTimes) {
    Session session = openSession();
    REQUIRE(ready(session));
    const SnippetCase& c = snippetTable().front();
    setEditText(*session.target, "", c.snippet, "");
    REQUIRE(focusTarget(*session.target, session.target->edit));
    // The burst goes in while a first run waits in its sleep, after that run's Ctrl has
    // gone up: a Q injected while the tool holds Ctrl down would be Ctrl+Q, no hot key.
    tapKey('Q');
    REQUIRE(pumpUntil([&] { return session.target->chordsEnded() == 1; }, seconds(20)));
    tapKey('Q', {}, 20);
    REQUIRE(pumpUntil([&] { return session.target->copies() == 21; }, seconds(120)))
        << session.target->copies() << " runs came";
    REQUIRE(waitUntilIdle(session.main));
    CHECK_EQ(session.target->copies(), 21);
    REQUIRE(isRunning(session.tool));
    CHECK_EQ(visibleWindowsOf(session.tool.processId), 1) << "an error box is open";
    CHECK_EQ(box1(session), c.snippet);
    CHECK_EQ(box2(session), record(c.record));
}

TEST_CASE(Capture, SecondCopyRunsQuietlyAndOnlyTheFirstCaptures) {
    Session first = openSession(false);
    REQUIRE_NE(first.main, nullptr);
    Session second = openSession();
    REQUIRE(ready(second));
    REQUIRE_NE(second.main, first.main);

    // No error box: the second copy shows its main window and nothing else.
    CHECK(isRunning(second.tool));
    CHECK_EQ(visibleWindowsOf(second.tool.processId), 1);

    Target& target = *second.target;
    const SnippetCase& c = snippetTable().front();
    setEditText(target, "", c.snippet, "");
    REQUIRE(focusTarget(target, target.edit));
    REQUIRE(pressQAndWait(target, first.main));
    REQUIRE(waitUntilIdle(second.main));
    CHECK_EQ(target.copies(), 1);
    CHECK_EQ(box1(first), c.snippet);
    CHECK_EQ(box2(first), record(c.record));
    CHECK_EQ(box1(second), "");
    CHECK_EQ(box2(second), "");
    CHECK(isRunning(second.tool));
    CHECK_EQ(visibleWindowsOf(second.tool.processId), 1);

    // The second copy closes normally and the first keeps its hot key.
    PostMessageW(second.main, WM_CLOSE, 0, 0);
    CHECK_EQ(waitForExit(second.tool, seconds(20)), std::optional<DWORD>(0));
    const SnippetCase& other = snippetTable()[1];
    setEditText(target, "", other.snippet, "");
    REQUIRE(focusTarget(target, target.edit));
    REQUIRE(pressQAndWait(target, first.main));
    CHECK_EQ(box1(first), other.snippet);
}

} // namespace
} // namespace e2e
