// The CSV captions, panel units and extreme labels, in the order the data operations want them.
#include "data/texts.h"

namespace {

constexpr Msg kCsvCaptions[] = {Msg::CsvIdentNameCaption,       Msg::CsvStartTimeCaption,
                                Msg::CsvRecordingPointsCaption, Msg::CsvRecordIntervalCaption,
                                Msg::CsvUpperBoundCaption,      Msg::CsvLowerBoundCaption};
constexpr Msg kCsvColumns[] = {Msg::CsvRecordNumberColumn, Msg::CsvDateColumn,
                               Msg::CsvTemperatureColumn, Msg::CsvHumidityColumn,
                               Msg::CsvRemarksColumn};

// Maximum temperature, minimum temperature, maximum humidity, minimum humidity.
using ExtremeMessages = std::array<Msg, 4>;
constexpr ExtremeMessages kRemarks = {Msg::MaxTemperatureRemark, Msg::MinTemperatureRemark,
                                      Msg::MaxHumidityRemark, Msg::MinHumidityRemark};
constexpr ExtremeMessages kTableLabels = {Msg::MaxTemperatureLabel, Msg::MinTemperatureLabel,
                                          Msg::MaxHumidityLabel, Msg::MinHumidityLabel};

ExtremeLabels labelsFrom(const MessageTable& table, const ExtremeMessages& messages) {
    ExtremeLabels labels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i] = table.text(messages[i]);
    }
    return labels;
}

}  // namespace

CsvTexts csvTexts(const MessageTable& table) {
    CsvTexts texts;
    static_assert(std::size(kCsvCaptions) == std::tuple_size_v<decltype(texts.captions)>);
    static_assert(std::size(kCsvColumns) == std::tuple_size_v<decltype(texts.columns)>);
    for (std::size_t i = 0; i < texts.captions.size(); ++i) {
        texts.captions[i] = table.text(kCsvCaptions[i]);
    }
    for (std::size_t i = 0; i < texts.columns.size(); ++i) {
        texts.columns[i] = table.text(kCsvColumns[i]);
    }
    texts.pointUnit = table.text(Msg::CsvPointUnit);
    texts.minuteUnit = table.text(Msg::CsvMinutesUnit);
    texts.secondUnit = table.text(Msg::CsvSecondsUnit);
    texts.degreeUnit = table.text(Msg::CsvDegreeUnit);
    texts.encoding = table.language() == Language::Japanese ? codepage::TextEncoding::ShiftJis
                                                            : codepage::TextEncoding::Windows1252;
    return texts;
}

ExtremeLabels fileExtremeLabels(const MessageTable& table) {
    return labelsFrom(table, kRemarks);
}

ExtremeLabels tableExtremeLabels(const MessageTable& table) {
    return labelsFrom(table, kTableLabels);
}
