// Day-count date-times. Arithmetic is done on whole seconds from the base date so that no
// time-zone or daylight-saving rule of the machine can shift a recorded time.
#include "data/datetime.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace datetime {
namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kMsPerDay = kSecondsPerDay * 1000;

QDate baseDate() {
    return QDate(1899, 12, 30);
}

// A negative day count keeps a positive time of day (-1.25 is 1899-12-29 06:00), so the
// whole days and the fraction are split towards zero.
qint64 toUnits(double days, qint64 unitsPerDay) {
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    const auto units = static_cast<qint64>(whole) * unitsPerDay +
                       (whole < 0 ? -1 : 1) * std::llround(fraction * unitsPerDay);
    return units;
}

QDate dateOf(qint64 units, qint64 unitsPerDay, qint64& withinDay) {
    qint64 day = units / unitsPerDay;
    withinDay = std::llabs(units % unitsPerDay);
    return baseDate().addDays(day);
}

}  // namespace

qint64 toSeconds(double days) {
    return toUnits(days, kSecondsPerDay);
}

double fromSeconds(qint64 seconds) {
    const qint64 day = seconds / kSecondsPerDay;
    const qint64 rest = std::llabs(seconds % kSecondsPerDay);
    const double fraction = static_cast<double>(rest) / kSecondsPerDay;
    return seconds < 0 ? day - fraction : day + fraction;
}

QDateTime toDateTime(double days) {
    if (!std::isfinite(days)) {
        return QDateTime();
    }
    qint64 ms = 0;
    const QDate date = dateOf(toUnits(days, kMsPerDay), kMsPerDay, ms);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

double fromDateAndTime(const QDate& date, const QTime& time) {
    if (!date.isValid() || !time.isValid()) {
        return 0;
    }
    const qint64 day = baseDate().daysTo(date);
    const double fraction = static_cast<double>(time.msecsSinceStartOfDay()) / kMsPerDay;
    return day < 0 ? day - fraction : day + fraction;
}

double fromDateTime(const QDateTime& dateTime) {
    return dateTime.isValid() ? fromDateAndTime(dateTime.date(), dateTime.time()) : 0;
}

QString format(double days, const QString& pattern) {
    if (!std::isfinite(days)) {
        return QString();
    }
    qint64 seconds = 0;
    const QDate date = dateOf(toSeconds(days), kSecondsPerDay, seconds);
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000));
    return QLocale::c().toString(QDateTime(date, time, Qt::UTC), pattern);
}

QString format(double days) {
    if (!std::isfinite(days)) {
        return QString();
    }
    const bool midnight = toSeconds(days) % kSecondsPerDay == 0;
    return format(days,
                  midnight ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

std::optional<double> parse(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 64) {
        return std::nullopt;
    }
    // Date and time are parsed apart, so no local-time rule can reject or move the value.
    const QStringList parts = trimmed.split(QRegularExpression(QStringLiteral("[ T]+")));
    if (parts.size() > 2) {
        return std::nullopt;
    }
    QDate date = QDate::fromString(parts[0], QStringLiteral("yyyy/M/d"));
    if (!date.isValid()) {
        date = QDate::fromString(parts[0], Qt::ISODate);
    }
    if (!date.isValid()) {
        return std::nullopt;
    }
    if (parts.size() == 1) {
        return fromDateAndTime(date, QTime(0, 0));
    }
    for (const char* form : {"H:m:s", "H:m"}) {
        const QTime time = QTime::fromString(parts[1], QLatin1String(form));
        if (time.isValid()) {
            return fromDateAndTime(date, time);
        }
    }
    const QTime isoTime = QTime::fromString(parts[1], Qt::ISODateWithMs);
    if (isoTime.isValid()) {
        return fromDateAndTime(date, isoTime);
    }
    // An ISO text with a zone offset: the wall-clock fields it wrote are kept.
    const QDateTime zoned = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    if (zoned.isValid()) {
        return fromDateAndTime(zoned.date(), zoned.time());
    }
    return std::nullopt;
}

qint64 secondsBetween(double from, double to) {
    const double seconds = (to - from) * kSecondsPerDay;
    return static_cast<qint64>(std::floor(seconds + 0.5));
}

}  // namespace datetime
