// The status lines and the status JSON; see statusreport.h.
#include "operations/statusreport.h"

#include <QJsonValue>

#include "data/datetime.h"

namespace {

// The panel's read-outs in its order, with the message of each caption.
struct CaptionedReadOut {
    Msg caption;
    StatusReadOut readOut;
};
constexpr CaptionedReadOut kReadOuts[] = {
    {Msg::OperationCaption, StatusReadOut::Operation},
    {Msg::BatteryCaption, StatusReadOut::Battery},
    {Msg::BeginningDateCaption, StatusReadOut::Beginning},
    {Msg::RecordingPointsCaption, StatusReadOut::Points},
    {Msg::RecordIntervalCaption, StatusReadOut::Interval},
    {Msg::RecordModeCaption, StatusReadOut::Mode},
    {Msg::UpperBoundCaption, StatusReadOut::Upper},
    {Msg::LowerBoundCaption, StatusReadOut::Lower},
};

QJsonValue boundJson(const std::optional<AlarmBound>& bound, bool shown) {
    if (!shown || !bound) {
        return QJsonValue::Null;
    }
    return QJsonObject{{QStringLiteral("on"), bound->on},
                       {QStringLiteral("degrees"), bound->degrees}};
}

template <typename T>
QJsonValue orNull(const std::optional<T>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

}  // namespace

QByteArray statusLines(const StatusView& view, const MessageTable& messages) {
    QString lines;
    const auto add = [&](const QString& caption, const QString& value) {
        lines += caption + QStringLiteral(": ") + value.trimmed() + QLatin1Char('\n');
    };
    add(messages.text(Msg::CliModel), view.model);
    add(messages.text(Msg::CsvIdentNameCaption),
        statusReadOut(view, StatusReadOut::IdentName, messages).value_or(QString()));
    for (const CaptionedReadOut& line : kReadOuts) {
        const bool bound =
            line.readOut == StatusReadOut::Upper || line.readOut == StatusReadOut::Lower;
        const std::optional<QString> value = statusReadOut(view, line.readOut, messages);
        if (value && (!bound || view.boundsShown)) {
            add(messages.text(line.caption), *value);
        }
    }
    const QString note =
        statusReadOut(view, StatusReadOut::StopNote, messages).value_or(QString()).trimmed();
    if (!note.isEmpty()) {
        add(QString(), note);
    }
    // The warning a start would give: data the logger holds was never downloaded.
    if (view.neverDownloaded) {
        lines += messages.text(Msg::DataNeverDownloaded).trimmed() + QLatin1Char('\n');
    }
    return lines.toUtf8();
}

QJsonObject statusJson(const StatusView& view) {
    QJsonObject json;
    json.insert(QStringLiteral("connected"), view.connected);
    json.insert(QStringLiteral("port"), view.connected ? QJsonValue(view.port) : QJsonValue());
    json.insert(QStringLiteral("model"), view.model);
    json.insert(QStringLiteral("name"),
                view.connected ? QJsonValue(view.identName.trimmed()) : QJsonValue());
    json.insert(QStringLiteral("state"), QLatin1String(recordStateKeyword(view.recordState)));

    // The volts as the logger reports them, when they read as a number.
    bool volts = false;
    const double batteryVolts = view.batteryVolts.trimmed().toDouble(&volts);
    json.insert(QStringLiteral("battery_volts"),
                view.connected && volts ? QJsonValue(batteryVolts) : QJsonValue());
    json.insert(QStringLiteral("battery_good"),
                view.connected ? QJsonValue(view.batteryGood) : QJsonValue());
    json.insert(QStringLiteral("voltage_stop"), view.voltageStop);

    json.insert(
        QStringLiteral("beginning"),
        view.start == StartKind::Time
            ? QJsonValue(datetime::format(view.startTime, QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")))
            : QJsonValue());
    json.insert(QStringLiteral("start_unreadable"), view.start == StartKind::Unreadable);
    json.insert(QStringLiteral("reserved_start"),
                view.start == StartKind::Reservation
                    ? QJsonValue(QJsonObject{{QStringLiteral("day"), view.reservedStart.day},
                                             {QStringLiteral("hour"), view.reservedStart.hour},
                                             {QStringLiteral("minute"), view.reservedStart.minute}})
                    : QJsonValue());

    json.insert(QStringLiteral("points"), orNull(view.points));
    json.insert(QStringLiteral("interval_seconds"), orNull(view.intervalSeconds));
    json.insert(QStringLiteral("loop"), orNull(view.loop));
    json.insert(QStringLiteral("upper_bound"), boundJson(view.upper, view.boundsShown));
    json.insert(QStringLiteral("lower_bound"), boundJson(view.lower, view.boundsShown));
    json.insert(QStringLiteral("downloaded"), !view.neverDownloaded);
    return json;
}
