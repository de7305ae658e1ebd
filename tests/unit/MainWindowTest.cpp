// What the main window asks the window layer for, its edit-box texts and its events.

#include "app/Resources.h"
#include "app/WindowDescription.h"
#include "tests/unit/Fixture.h"

namespace {

using namespace platform::style;
using platform::Background;
using platform::ControlKind;
using platform::rgb;
using platform::exStyle::clientEdge;

using MainWindow = ProgramTest;
using EditBoxText = ProgramTest;
using Events = ProgramTest;

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char byte : bytes) {
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

TEST_F(MainWindow, HasItsTitleSizeAndFrame) {
    buildMainWindow();
    const fake::CreatedWindow* window = fake::createdWindow(fake::mainWindow);
    ASSERT_NE(window, nullptr);
    // "Brindlow", seven blanks, "BY:Kestrove".
    EXPECT_EQ(hex(window->text), "4272696e646c6f772020202020202042593a4b657374726f7665");
    EXPECT_EQ(window->rect, (platform::Rect{246, 120, 531, 528}));
    for (const std::uint32_t present : {caption, systemMenu, minimizeBox, clipChildren}) {
        EXPECT_EQ(window->style & present, present) << std::hex << present;
    }
    for (const std::uint32_t absent :
         {thickFrame, maximizeBox, visible, disabled, child, verticalScroll, horizontalScroll}) {
        EXPECT_EQ(window->style & absent, 0u) << std::hex << absent;
    }
    EXPECT_EQ(window->exStyle, 0u) << "no extra edge and not topmost by style";
    EXPECT_EQ(window->parent, platform::noWindow);
}

TEST_F(MainWindow, GetsItsIconAndFontAndIsMadeTopmostBeforeItIsShown) {
    initSystem();
    loadMainWindow();
    EXPECT_EQ(fake::state.iconResource[fake::mainWindow], BRINDLOW_ICON);
    EXPECT_EQ(fake::state.iconResource.size(), 1u);
    EXPECT_TRUE(fake::state.topmost);
    const int shown = fake::logIndex("showWindow #main normal");
    EXPECT_LT(fake::logIndex("makeTopmost #main"), fake::logIndex("createControl 100"));
    EXPECT_LT(fake::logIndex("setApplicationIcon #main"), shown);
    EXPECT_LT(fake::logIndex("useDefaultGuiFont #main"), shown);
    for (const platform::WindowHandle window :
         {fake::mainWindow, fake::controlHandle(100), fake::controlHandle(110),
          fake::controlHandle(120), fake::controlHandle(130), fake::controlHandle(140)}) {
        EXPECT_EQ(fake::state.fontsSet[window], 1) << fake::nameOf(window);
    }
}

struct ControlCase {
    Item item;
    int id;
    ControlKind kind;
    platform::Rect rect;
    std::uint32_t present;
    std::uint32_t absent;
    std::uint32_t exStyle;
    std::string text;
    std::optional<platform::Colours> colours;
    bool unlimitedText;
};

const std::uint32_t childBits = child | clipSiblings;
const std::uint32_t neverOnAControl = visible | verticalScroll | horizontalScroll | thickFrame;

const ControlCase controlCases[] = {
    {Item::标签1,
     100,
     ControlKind::label,
     {128, 32, 40, 16},
     childBits | labelCentreVertically,
     neverOnAControl | disabled | border | tabStop,
     0,
     "标签",
     platform::Colours{rgb(0, 0, 0), Background::buttonFace},
     false},
    {Item::编辑框1,
     110,
     ControlKind::editBox,
     {15, 8, 344, 40},
     childBits | disabled | editAutoHorizontalScroll,
     neverOnAControl | editMultiLine | editReadOnly | editNoHideSelection | tabStop,
     clientEdge,
     "",
     platform::Colours{rgb(0, 0, 0), Background::white},
     true},
    {Item::编辑框2,
     120,
     ControlKind::editBox,
     {16, 64, 344, 424},
     childBits | disabled | editMultiLine | editAutoVerticalScroll | editWantReturn,
     neverOnAControl | editAutoHorizontalScroll | editReadOnly | editNoHideSelection | tabStop,
     clientEdge,
     "",
     platform::Colours{rgb(0, 0, 0), Background::white},
     true},
    {Item::按钮1,
     130,
     ControlKind::pushButton,
     {384, 8, 112, 40},
     childBits | tabStop | buttonCentre | buttonCentreVertically | buttonMultiLine,
     neverOnAControl | disabled | buttonDefaultPush,
     0,
     "打开答题网址",
     std::nullopt,
     false},
    {Item::标签2,
     140,
     ControlKind::label,
     {368, 64, 152, 424},
     childBits | border | labelNoPrefix,
     neverOnAControl | disabled | labelCentreVertically | tabStop,
     0,
     "使用说明：\r\n\r\n1.点击 打开答题网址。\r\n\r\n\r\n\r\n2.在网页中登陆 "
     "用户名密码，点击正式开始答题。"
     "\r\n\r\n\r\n\r\n3.在网页中的题目按住鼠标左键随便滑选几个几十个字。\r\n\r\n\r\n\r\n4."
     "按一次键盘上"
     "的 Q 键，软件中即可出现正确答案。如果出现的试题不符，重新滑选文字，按Q键。",
     platform::Colours{rgb(255, 0, 0), Background::buttonFace},
     false},
};

TEST_F(MainWindow, CreatesEachControlAsDescribed) {
    buildMainWindow();
    for (const ControlCase& control : controlCases) {
        SCOPED_TRACE(control.id);
        const platform::WindowHandle handle = windowHandleOf(control.item);
        EXPECT_EQ(handle, fake::controlHandle(control.id));
        const fake::CreatedWindow* created = fake::createdWindow(handle);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(created->parent, fake::mainWindow);
        EXPECT_EQ(created->kind, control.kind);
        EXPECT_EQ(created->rect, control.rect);
        EXPECT_EQ(created->style & control.present, control.present) << std::hex << created->style;
        EXPECT_EQ(created->style & control.absent, 0u) << std::hex << created->style;
        EXPECT_EQ(created->exStyle, control.exStyle);
        EXPECT_EQ(hex(created->text), hex(control.text));
        EXPECT_EQ(fake::state.colours.count(handle) != 0, control.colours.has_value());
        if (control.colours) {
            EXPECT_EQ(fake::state.colours[handle], *control.colours);
        }
        EXPECT_EQ(fake::state.unlimitedText.count(handle), control.unlimitedText ? 1u : 0u);
    }
    EXPECT_EQ(windowHandleOf(Item::mainWindow), fake::mainWindow);
}

TEST_F(MainWindow, InstructionsAreTheExactGbkBytes) {
    buildMainWindow();
    const std::string& text = fake::state.texts[fake::controlHandle(140)];
    EXPECT_EQ(text.size(), 242u);
    // "使用说明：" then CR LF CR LF "1."
    EXPECT_EQ(hex(text.substr(0, 16)), "cab9d3c3cbb5c3f7a3ba0d0a0d0a312e");
    EXPECT_EQ(text.find('&'), std::string::npos);
}

TEST_F(MainWindow, OnlyTheButtonIsATabStop) {
    buildMainWindow();
    for (const fake::CreatedWindow& window : fake::state.created) {
        if (!window.isMainWindow) {
            EXPECT_EQ((window.style & tabStop) != 0, window.id == 130) << window.id;
        }
    }
}

TEST_F(MainWindow, CreatesSetsTheZOrderAndShowsInItsOrder) {
    initSystem();
    loadMainWindow();
    EXPECT_EQ(
        fake::logLines("createControl"),
        (std::vector<std::string>{"createControl 100", "createControl 110", "createControl 120",
                                  "createControl 130", "createControl 140"}));
    EXPECT_EQ(
        fake::logLines("place"),
        (std::vector<std::string>{"placeOnTop #140", "placeBelow #130 #140", "placeBelow #120 #130",
                                  "placeBelow #110 #120", "placeBelow #100 #110"}));
    EXPECT_EQ(fake::logLines("showWindow"),
              (std::vector<std::string>{
                  "showWindow #100 withoutActivating", "showWindow #110 withoutActivating",
                  "showWindow #120 withoutActivating", "showWindow #130 withoutActivating",
                  "showWindow #140 withoutActivating", "showWindow #main normal"}));
    EXPECT_LT(fake::logIndex("createControl 140"), fake::logIndex("placeOnTop"));
    EXPECT_LT(fake::logIndex("placeBelow #100"), fake::logIndex("showWindow #100"));
    // Waiting messages are processed before the window is created and again once the
    // controls are shown, before the created event registers the hot key.
    std::vector<int> processed;
    for (std::size_t i = 0; i < fake::state.log.size(); ++i) {
        if (fake::state.log[i] == "processPendingMessages") {
            processed.push_back(static_cast<int>(i));
        }
    }
    ASSERT_EQ(processed.size(), 2u);
    EXPECT_LT(processed[0], fake::logIndex("createMainWindow"));
    EXPECT_GT(processed[1], fake::logIndex("showWindow #140"));
    EXPECT_LT(processed[1], fake::logIndex("registerHotKey"));
}

TEST_F(EditBoxText, SettingReplacesTheWholeTextAndTheEmptyTextEmptiesTheBox) {
    buildMainWindow();
    const std::string crlf = "line 1\r\nline 2";
    const std::string oneMegabyte(1 << 20, 'x');
    const std::string gbk = "答案：A";
    for (const Item box : {Item::编辑框1, Item::编辑框2}) {
        for (const std::string& text : {crlf, oneMegabyte, gbk, std::string()}) {
            setEditBoxText(box, text);
            EXPECT_EQ(fake::state.texts[windowHandleOf(box)], text) << "bytes reach the control";
            EXPECT_EQ(readEditBoxText(box), text);
        }
    }
}

TEST_F(EditBoxText, ReadingAsksTheControlEveryTime) {
    buildMainWindow();
    const platform::WindowHandle box = windowHandleOf(Item::编辑框1);
    setEditBoxText(Item::编辑框1, "written");
    fake::state.texts[box] = "what the control made of it";
    EXPECT_EQ(readEditBoxText(Item::编辑框1), "what the control made of it");
    fake::state.texts[box] = "";
    EXPECT_EQ(readEditBoxText(Item::编辑框1), "");
    EXPECT_EQ(fake::countLog("windowText #110"), 2u);
}

TEST_F(Events, TheButtonClickRunsTheQuizSiteHandler) {
    buildMainWindow();
    fake::state.events.controlCommand(130, platform::buttonClicked);
    EXPECT_EQ(fake::countLog("shellExecute"), 1u);

    // Other notifications of the button, and commands of other controls, have no handler.
    fake::state.log.clear();
    fake::state.events.controlCommand(130, 5);
    for (const int id : {100, 110, 120, 140, 999}) {
        fake::state.events.controlCommand(id, platform::buttonClicked);
    }
    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(Events, Only标签1HasAFeedbackHandlerAndTheMessageYieldsZero) {
    buildMainWindow();
    EXPECT_EQ(platform::sendMessage(fake::controlHandle(140), WM_LABEL_FEEDBACK, 33001, 0), 0);
    EXPECT_EQ(fake::countLog("sendKeyEvent"), 0u);
    EXPECT_EQ(platform::sendMessage(fake::controlHandle(100), WM_LABEL_FEEDBACK, 33001, 0), 0);
    EXPECT_EQ(fake::countLog("sendKeyEvent"), 4u);
}

TEST_F(Events, NoHandlerRunsOnceShutdownHasBegun) {
    buildMainWindow();
    EXPECT_THROW(shutDown(0), fake::ProcessEnded);
    fake::state.log.clear();
    fake::state.events.controlCommand(130, platform::buttonClicked);
    platform::sendMessage(fake::controlHandle(100), WM_LABEL_FEEDBACK, 33001, 0);
    EXPECT_EQ(fake::countLog("shellExecute"), 0u);
    EXPECT_EQ(fake::countLog("sendKeyEvent"), 0u);
}

} // namespace
