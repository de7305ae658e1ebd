#include "actions/HotkeyCapture.h"
#include "actions/HotkeyRouter.h"
#include "app/MainWindow.h"
#include "bank/QuestionBank.h"
#include "platform/Clipboard.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Wait.h"

std::int32_t answerHotkeyId = 0;

namespace {

constexpr std::int32_t noModifier = 0;
constexpr std::int32_t keyQ = 81;
constexpr std::int32_t keyC = 67;

} // namespace

void onMainWindowCreated() {
    answerHotkeyId = HotkeyRouter::registerGlobalHotkey(
        windowHandleOf(Item::mainWindow), windowHandleOf(Item::标签1), noModifier, keyQ);
    QuestionBank::loadAnswerRecords();
}

void onHotkeyFeedback(std::int32_t first, std::int32_t /*second*/) {
    if (first != answerHotkeyId) {
        return;
    }
    platform::sendKeyChord(platform::key::control, keyC);
    // The program in front copies on its own thread meanwhile; nothing here pumps
    // messages, so no other press or click is handled before this capture ends.
    platform::waitMilliseconds(captureWaitMilliseconds);
    {
        const QuestionBank::GbkText copied = platform::readClipboardText();
        setEditBoxText(Item::编辑框1, copied);
    }
    platform::waitMilliseconds(captureWaitMilliseconds);
    showFirstMatchingRecord();
}

void showFirstMatchingRecord() {
    const QuestionBank::RecordList& records = QuestionBank::answerRecords;
    const std::size_t count = records.size();
    for (std::size_t i = 0; i < count; ++i) {
        // The snippet is what the box holds, which may differ from what was written
        // into it: a single-line edit box decides what becomes of line breaks.
        const QuestionBank::GbkText snippet = readEditBoxText(Item::编辑框1);
        if (QuestionBank::findText(records[i], snippet) != -1) {
            setEditBoxText(Item::编辑框2, records[i]);
            return;
        }
    }
}
