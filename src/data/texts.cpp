// Message indices of the CSV captions, panel units and extreme labels.
#include "data/texts.h"

namespace {

ExtremeLabels labelsFrom(const MessageTable& table, int first) {
    return {table.text(first), table.text(first + 1), table.text(first + 2), table.text(first + 3)};
}

}  // namespace

CsvTexts csvTexts(const MessageTable& table) {
    CsvTexts texts;
    for (int i = 0; i < 6; ++i) {
        texts.captions[i] = table.text(1054 + i);
    }
    for (int i = 0; i < 5; ++i) {
        texts.columns[i] = table.text(1060 + i);
    }
    texts.pointUnit = table.text(1110);
    texts.minuteUnit = table.text(1111);
    texts.secondUnit = table.text(1112);
    texts.degreeUnit = table.text(1122);
    texts.encoding = table.language() == Language::Japanese ? codepage::TextEncoding::ShiftJis
                                                            : codepage::TextEncoding::Windows1252;
    return texts;
}

ExtremeLabels fileExtremeLabels(const MessageTable& table) {
    return labelsFrom(table, 1000);
}

ExtremeLabels tableExtremeLabels(const MessageTable& table) {
    return labelsFrom(table, 1004);
}
