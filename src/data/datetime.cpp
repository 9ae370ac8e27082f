// Day-count date-times. Arithmetic is done on whole seconds from the base date so that no
// time-zone or daylight-saving rule of the machine can shift a recorded time.
#include "data/datetime.h"

#include <QLocale>
#include <QStringList>
#include <cmath>
#include <limits>

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

// Day counts of the years 100 to 9999, the range four-digit year fields can hold; NaN is
// outside it.
bool inRange(double days) {
    return days > -657435.0 && days < 2958466.0;
}

void appendDigits(QString& text, int value, int width) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 11);
    for (int i = n; i < width; ++i) {
        text += u'0';
    }
    while (n > 0) {
        text += QLatin1Char(digits[--n]);
    }
}

// Reads a run of 1..maxDigits decimal digits at at.
bool readNumber(QStringView text, qsizetype& at, int maxDigits, int& value) {
    value = 0;
    int digits = 0;
    while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128 &&
           digits < maxDigits) {
        value = value * 10 + (text[at].unicode() - '0');
        ++at;
        ++digits;
    }
    return digits > 0 && (at == text.size() || !text[at].isDigit());
}

bool expect(QStringView text, qsizetype& at, char16_t c) {
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

// "yyyy/M/d", optionally followed by one or more spaces and "H:m" or "H:m:s".
std::optional<double> parseWritten(QStringView text) {
    qsizetype at = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!readNumber(text, at, 4, year) || at != 4 || !expect(text, at, u'/') ||
        !readNumber(text, at, 2, month) || !expect(text, at, u'/') ||
        !readNumber(text, at, 2, day)) {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        return std::nullopt;
    }
    if (at == text.size()) {
        return fromDateAndTime(date, QTime(0, 0));
    }
    if (!expect(text, at, u' ')) {
        return std::nullopt;
    }
    while (expect(text, at, u' ')) {
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!readNumber(text, at, 2, hour) || !expect(text, at, u':') ||
        !readNumber(text, at, 2, minute)) {
        return std::nullopt;
    }
    if (expect(text, at, u':') && !readNumber(text, at, 2, second)) {
        return std::nullopt;
    }
    if (at != text.size() || !QTime::isValid(hour, minute, second)) {
        return std::nullopt;
    }
    return fromDateAndTime(date, QTime(hour, minute, second));
}

}  // namespace

qint64 toSeconds(double days) {
    return inRange(days) ? toUnits(days, kSecondsPerDay) : 0;
}

QDateTime toDateTime(double days) {
    if (!inRange(days)) {
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
    if (!inRange(days)) {
        return QString();
    }
    qint64 seconds = 0;
    const QDate date = dateOf(toSeconds(days), kSecondsPerDay, seconds);
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000));
    return QLocale::c().toString(QDateTime(date, time, Qt::UTC), pattern);
}

QString format(double days) {
    if (!inRange(days)) {
        return QString();
    }
    qint64 seconds = 0;
    const QDate date = dateOf(toSeconds(days), kSecondsPerDay, seconds);
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    // Written by hand: this runs once per CSV line.
    QString text;
    text.reserve(19);
    appendDigits(text, year, 4);
    text += u'/';
    appendDigits(text, month, 2);
    text += u'/';
    appendDigits(text, day, 2);
    if (seconds != 0) {
        text += u' ';
        appendDigits(text, static_cast<int>(seconds / 3600), 2);
        text += u':';
        appendDigits(text, static_cast<int>(seconds / 60 % 60), 2);
        text += u':';
        appendDigits(text, static_cast<int>(seconds % 60), 2);
    }
    return text;
}

std::optional<double> parse(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 64) {
        return std::nullopt;
    }
    if (const std::optional<double> written = parseWritten(trimmed)) {
        return written;
    }
    // Date and time are parsed apart, so no local-time rule can reject or move the value.
    qsizetype split = trimmed.indexOf(u'T');
    if (split < 0) {
        split = trimmed.indexOf(u' ');
    }
    const QDate date = QDate::fromString(trimmed.left(split), Qt::ISODate);
    if (!date.isValid()) {
        return std::nullopt;
    }
    if (split < 0) {
        return fromDateAndTime(date, QTime(0, 0));
    }
    const QTime time = QTime::fromString(trimmed.mid(split + 1), Qt::ISODateWithMs);
    if (time.isValid()) {
        return fromDateAndTime(date, time);
    }
    // An ISO text with a zone offset: the wall-clock fields it wrote are kept.
    const QDateTime zoned = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    if (zoned.isValid()) {
        return fromDateAndTime(zoned.date(), zoned.time());
    }
    return std::nullopt;
}

qint64 secondsBetween(double from, double to) {
    const double seconds = std::floor((to - from) * kSecondsPerDay + 0.5);
    if (!(std::fabs(seconds) < 9e18)) {
        return seconds < 0 ? std::numeric_limits<qint64>::min()
                           : std::numeric_limits<qint64>::max();
    }
    return static_cast<qint64>(seconds);
}

}  // namespace datetime
