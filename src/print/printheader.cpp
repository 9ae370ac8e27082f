// Header lines: texts from the message table, statistics read back from the record file.
#include "print/printheader.h"

#include <algorithm>

#include "data/datetime.h"

namespace {

constexpr char kAlarmModel[] = "QM320-HX";
constexpr char kDateTimePattern[] = "yyyy/MM/dd HH:mm:ss";
constexpr char kNoSample[] = "----- ----/--/-- --:--:-- -.--";
// The reset values lie outside every real reading.
constexpr double kResetMagnitude = 10000.0;

// A number as the header writes it: a leading space before a non-negative one.
QString signedText(int value) {
    return value >= 0 ? QStringLiteral(" %1").arg(value) : QString::number(value);
}

QString statsLine(const QString& label, int record, bool held, bool temperature, DataSet& set,
                  const MessageTable& messages) {
    Sample sample;
    if (!held || set.read(record, sample) != DataError::None) {
        return label + QLatin1String(kNoSample);
    }
    const float value = temperature ? sample.temperature : sample.humidity;
    return label + QStringLiteral("%1").arg(record, 5, 10, QLatin1Char('0')) + QLatin1Char(' ') +
           datetime::format(sample.dateTime, QLatin1String(kDateTimePattern)) + QLatin1Char(' ') +
           QString::number(static_cast<double>(value), 'f', 2) +
           messages.text(temperature ? Msg::CsvDegreeUnit : Msg::CursorHumidityUnit);
}

}  // namespace

QString intervalText(int seconds, const MessageTable& messages) {
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    QString text;
    if (minutes > 0) {
        text += signedText(minutes) + messages.text(Msg::PrintMinutesUnit);
    }
    if (rest > 0) {
        text += signedText(rest) + messages.text(Msg::PrintSecondsUnit);
    }
    return text;
}

QString boundText(int bound, bool on, const MessageTable& messages) {
    if (!on) {
        return QStringLiteral("OFF");
    }
    return QStringLiteral("ON\u3000") + signedText(bound) + messages.text(Msg::CsvDegreeUnit);
}

QStringList headerFactLines(const PrintHeaderFacts& facts, const DataSet& set,
                            const MessageTable& messages) {
    QStringList lines{
        messages.text(Msg::PrintIdentNameCaption) + facts.name,
        messages.text(Msg::PrintStartTimeCaption) +
            datetime::format(facts.startTime, QLatin1String(kDateTimePattern)),
        messages.text(Msg::PrintRecordingPointsCaption) + QString::number(facts.count) +
            messages.text(Msg::PrintPointUnit),
        messages.text(Msg::PrintRecordIntervalCaption) + intervalText(facts.interval, messages),
    };
    if (set.model == QLatin1String(kAlarmModel)) {
        lines.append(messages.text(Msg::PrintUpperBoundCaption) +
                     boundText(set.upperBound, set.upperOn != 0, messages));
        lines.append(messages.text(Msg::PrintLowerBoundCaption) +
                     boundText(set.lowerBound, set.lowerOn != 0, messages));
    }
    return lines;
}

std::array<QString, 4> statsLines(const SampleStats& stats, DataSet& set,
                                  const MessageTable& messages) {
    return {
        statsLine(messages.text(Msg::PrintMaxTemperature), stats.maxTemperatureRecord,
                  stats.maxTemperature > -kResetMagnitude, true, set, messages),
        statsLine(messages.text(Msg::PrintMinTemperature), stats.minTemperatureRecord,
                  stats.minTemperature < kResetMagnitude, true, set, messages),
        statsLine(messages.text(Msg::PrintMaxHumidity), stats.maxHumidityRecord,
                  stats.maxHumidity > -kResetMagnitude, false, set, messages),
        statsLine(messages.text(Msg::PrintMinHumidity), stats.minHumidityRecord,
                  stats.minHumidity < kResetMagnitude, false, set, messages),
    };
}

double printPageHeader(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set,
                       const MessageTable& messages) {
    const double lh = page.lh();
    const PrintColumns& p = page.columns();
    page.setBold(false);
    double left = 3 * lh;
    for (const QString& line : headerFactLines(facts, set, messages)) {
        page.text(p[0], left, line);
        left += lh;
    }
    double right = 3 * lh;
    const std::array<std::pair<Msg, const SampleStats*>, 2> blocks = {
        std::pair{Msg::PrintAllRecords, &set.stats},
        std::pair{Msg::PrintSelectionRange, &set.windowStats}};
    for (const auto& [title, stats] : blocks) {
        page.text(p[9], right, messages.text(title));
        right += lh;
        for (const QString& line : statsLines(*stats, set, messages)) {
            page.text(p[10], right, line);
            right += lh;
        }
    }
    return std::max(left, right);
}
