#include "Snippets.h"

#include "Driver.h"

namespace e2e {

#ifdef BRINDLOW_E2E_TINY_BANK

// The four records of the small test bank: 1 absent, 2 a first-series question, 3 the
// lone line break, 4 a second-series question with TABs.
const std::vector<SnippetCase>& snippetTable() {
    static const std::vector<SnippetCase> table = {
        {"number, TAB and character of the second series", "题目：", "1.\t测", "……", 4},
        {"answer line of the second series", "", "答案：B", "", 4},
        {"two characters of the first series", "看", "测试", "看", 2},
        {"a text that no record holds", "", "没有这句话", "", 0},
        {"the first record's answer line", "", "答案：A", "", 2},
        {"a lone character found in both records", "", "测", "", 2},
        {"a delimiter", "", "~", "", 0},
    };
    return table;
}

#else

// The shipped bank: 200 records, record 1 absent, 101 a lone line break.
const std::vector<SnippetCase>& snippetTable() {
    static const std::vector<SnippetCase> table = {
        // A plain byte search would stop at record 2, where 据《 holds the same bytes
        // across its two characters.
        {"荨 found only where a character begins", "选中：", "荨", "麻疹", 27},
        {"93. tells question 93 from its twin 83", "第", "93.", " 在商场", 94},
        {"the whole question sentence of question 93 shows its twin 83", "",
         "在商场、车站等人员密集的场所遇到拥挤时，下列做法正确的是（  ）", "", 84},
        {"a text that no record holds keeps the record shown", "", "这句话不在题库里", "", 0},
        {"question 87's sentence is the third option of question 27", "87. ",
         "发现有人触电时，应立即用手将其拉开", "", 28},
        {"second-series question 88 shares record 189", "88.\t",
         "遇到沙尘暴天气时，应尽量减少外出，外出时戴好口罩和防风眼镜", "", 189},
        {"a delimiter is in no record", "", "~", "", 0},
        {"second-series question 89 shares record 189 too", "",
         "日最高气温达到35℃以上的高温天气外出时，应做好防暑措施，避免长时间在烈日下活动", "", 189},
        {"second-series question 14 repeats first-series question 36", "",
         "做实验时眼睛不慎溅入酸、碱等化学试剂，应当立即（  ）", "", 37},
        {"capital letters of a four-letter answer", "答案：", "ABC", "D", 144},
        {"lower-case letters do not match capitals", "", "abc", "", 0},
        {"full-width brackets", "", "（  ）", "", 2},
        {"ASCII brackets do not match full-width ones", "", "(  )", "", 0},
        {"the two characters 据《 themselves", "根", "据《", "中华", 2},
        {"a snippet of the last record", "", "天气预报：122", "", 200},
        {"number and TAB of the second series", "", "89.\t日最高", "", 189},
    };
    return table;
}

#endif

std::string snippetOnlyIn(std::size_t position) {
    const auto& records = bankRecords();
    if (position >= records.size()) {
        return {};
    }
    const std::string& record = records[position];
    // The first run of printable characters, about 20 bytes long, that no earlier record
    // holds.
    for (std::size_t start = 0; start < record.size();) {
        std::size_t end = start;
        while (end < record.size() && end - start < 20 &&
               static_cast<unsigned char>(record[end]) >= 0x20) {
            end += static_cast<unsigned char>(record[end]) >= 0x80 ? 2 : 1;
        }
        const std::string piece = record.substr(start, end - start);
        if (end - start >= 6 && end <= record.size() && oracleRecordOf(piece) == position) {
            return piece;
        }
        start += static_cast<unsigned char>(record[start]) >= 0x80 ? 2 : 1;
    }
    return {};
}

std::string snippetOfLastRecord() {
    return snippetOnlyIn(bankRecords().size() - 1);
}

std::string snippetFoundNowhere() {
    std::string text;
    while (text.size() < 2000) {
        text += "这一段文字不在题库里。";
    }
    return text;
}

} // namespace e2e
