#include "app/WindowDescription.h"
#include "app/Resources.h"

namespace {

using namespace platform::style;
using platform::Background;
using platform::ControlKind;
using platform::rgb;
using platform::exStyle::clientEdge;

constexpr std::uint32_t childStyle = child | clipSiblings;
constexpr platform::Colours blackOnButtonFace{rgb(0, 0, 0), Background::buttonFace};
constexpr platform::Colours redOnButtonFace{rgb(255, 0, 0), Background::buttonFace};
constexpr platform::Colours blackOnWhite{rgb(0, 0, 0), Background::white};

constexpr std::string_view instructions =
    "使用说明：\r\n\r\n1.点击 打开答题网址。\r\n\r\n\r\n\r\n2.在网页中登陆 "
    "用户名密码，点击正式开始答"
    "题。\r\n\r\n\r\n\r\n3.在网页中的题目按住鼠标左键随便滑选几个几十个字。\r\n\r\n\r\n\r\n4.按一次"
    "键盘上的 Q 键，软件中即可出现正确答案。如果出现的试题不符，重新滑选文字，按Q键。";

const WindowDescription description{
    "Brindlow       BY:Kestrove",
    531,
    528,
    caption | systemMenu | minimizeBox | clipChildren,
    0,
    BRINDLOW_ICON,
    {{
        // 标签1 only receives the hot key's feedback; it lies under 编辑框1, unseen.
        {Item::标签1,
         {ControlKind::label,
          100,
          {128, 32, 40, 16},
          childStyle | labelLeft | labelCentreVertically,
          0,
          "标签"},
         blackOnButtonFace,
         false},
        {Item::编辑框1,
         {ControlKind::editBox,
          110,
          {15, 8, 344, 40},
          childStyle | disabled | editLeft | editAutoHorizontalScroll,
          clientEdge,
          ""},
         blackOnWhite,
         true},
        {Item::编辑框2,
         {ControlKind::editBox,
          120,
          {16, 64, 344, 424},
          childStyle | disabled | editLeft | editMultiLine | editAutoVerticalScroll |
              editWantReturn,
          clientEdge,
          ""},
         blackOnWhite,
         true},
        {Item::按钮1,
         {ControlKind::pushButton,
          130,
          {384, 8, 112, 40},
          childStyle | tabStop | buttonPush | buttonCentre | buttonCentreVertically |
              buttonMultiLine,
          0,
          "打开答题网址"},
         std::nullopt,
         false},
        {Item::标签2,
         {ControlKind::label,
          140,
          {368, 64, 152, 424},
          childStyle | border | labelLeft | labelNoPrefix,
          0,
          instructions},
         redOnButtonFace,
         false},
    }},
};

} // namespace

const WindowDescription& mainWindowDescription() {
    return description;
}

platform::Rect centredOuterRect(platform::Size screen, int width, int height) {
    // Integer division truncates toward zero, also for a negative difference.
    return {(screen.width - width) / 2, (screen.height - height) / 2, width, height};
}
