// Figure texts: two decimals for every value, as the cursor read-out and the header show them.
#include "graph/figuretexts.h"

#include <cmath>

#include "graph/viewmath.h"

namespace {

const QString kDash = QStringLiteral("–");

QString temperatureText(double value, const MessageTable& messages) {
    return QString::number(value, 'f', 2) + messages.text(Msg::DegreeSign);
}

QString humidityText(double value, const MessageTable& messages) {
    return QString::number(value, 'f', 2) + messages.text(Msg::CursorHumidityUnit).trimmed();
}

QString extremeText(const analysis::Extreme& extreme, bool temperature,
                    const MessageTable& messages) {
    return (temperature ? temperatureText(extreme.value, messages)
                        : humidityText(extreme.value, messages)) +
           QStringLiteral("  ") + figureTimeText(extreme.time);
}

QString timeBeyondText(bool bounded, double seconds, double share) {
    if (!bounded) {
        return kDash;
    }
    return durationText(seconds) + QStringLiteral(" (") + QString::number(share * 100, 'f', 1) +
           QStringLiteral(" %)");
}

}  // namespace

QString figureTimeText(double seconds) {
    return fullDateTimeText(timeFieldsOf(std::llround(seconds)));
}

QString durationText(double seconds) {
    const long long whole = std::llround(std::max(0.0, seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

std::vector<FigureRow> figureRows(const analysis::Figures& figures, const MessageTable& messages) {
    const analysis::Summary& s = figures.summary;
    const bool any = s.count > 0;
    const auto when = [&](QString text) { return any ? text : kDash; };
    const analysis::DerivedFigures& dew = figures.dewPoint;
    const auto dewText = [&](double value) {
        return dew.count > 0 ? temperatureText(value, messages) : kDash;
    };
    const analysis::Excursions& x = figures.excursions;
    return {
        {Msg::StatsCount, QString::number(s.count)},
        {Msg::StatsFirst, when(figureTimeText(s.firstTime))},
        {Msg::StatsLast, when(figureTimeText(s.lastTime))},
        {Msg::StatsDuration, when(durationText(s.duration))},
        {Msg::StatsTemperatureMin, when(extremeText(s.temperature.minimum, true, messages))},
        {Msg::StatsTemperatureMax, when(extremeText(s.temperature.maximum, true, messages))},
        {Msg::StatsTemperatureMean, when(temperatureText(s.temperature.mean, messages))},
        {Msg::StatsTemperatureDeviation,
         when(temperatureText(s.temperature.standardDeviation, messages))},
        {Msg::StatsHumidityMin, when(extremeText(s.humidity.minimum, false, messages))},
        {Msg::StatsHumidityMax, when(extremeText(s.humidity.maximum, false, messages))},
        {Msg::StatsHumidityMean, when(humidityText(s.humidity.mean, messages))},
        {Msg::StatsHumidityDeviation, when(humidityText(s.humidity.standardDeviation, messages))},
        {Msg::StatsMeanKinetic, figures.meanKineticTemperature
                                    ? temperatureText(*figures.meanKineticTemperature, messages)
                                    : kDash},
        {Msg::StatsDewPointMin, dewText(dew.minimum.value)},
        {Msg::StatsDewPointMean, dewText(dew.mean)},
        {Msg::StatsDewPointMax, dewText(dew.maximum.value)},
        {Msg::StatsTimeAbove,
         timeBeyondText(any && figures.bounds.upper.has_value(), x.timeAbove, x.shareAbove)},
        {Msg::StatsTimeBelow,
         timeBeyondText(any && figures.bounds.lower.has_value(), x.timeBelow, x.shareBelow)},
    };
}

QString excursionText(const analysis::Excursion& excursion, const MessageTable& messages) {
    const bool above = excursion.side == analysis::Side::Above;
    return messages.text(above ? Msg::ExcursionAbove : Msg::ExcursionBelow) + QStringLiteral("  ") +
           figureTimeText(excursion.start) + QStringLiteral(" – ") + figureTimeText(excursion.end) +
           QStringLiteral("  (") + durationText(excursion.duration) + QStringLiteral(")  ") +
           messages.text(Msg::StatsPeak) + QLatin1Char(' ') +
           temperatureText(excursion.peak.value, messages);
}

QStringList excursionLines(const analysis::Figures& figures, int most,
                           const MessageTable& messages) {
    if (!figures.bounds.upper && !figures.bounds.lower) {
        return {messages.text(Msg::NoAlarmBounds)};
    }
    const std::vector<analysis::Excursion>& list = figures.excursions.list;
    if (list.empty()) {
        return {messages.text(Msg::NoExcursions)};
    }
    const int total = static_cast<int>(list.size());
    // When the list is cut, its last line says how many more there are.
    const int shown = total <= most ? total : std::max(0, most - 1);
    QStringList lines;
    for (int i = 0; i < shown; ++i) {
        lines.append(excursionText(list[static_cast<std::size_t>(i)], messages));
    }
    if (shown < total) {
        lines.append(messages.text(Msg::ExcursionsMore).arg(total - shown));
    }
    return lines;
}
