#include "bank/QuestionBank.h"
#include "bank/QuestionBankData.h"

namespace QuestionBank {

void loadAnswerRecords() {
    RecordList records = recordsOfBank(questionBank());
    answerRecords.swap(records);
    // `records` now holds the list that was replaced; it is released here.
}

} // namespace QuestionBank
