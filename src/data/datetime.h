// Date-times as day counts from 1899-12-30 (the fraction is the time of day), read as local
// wall-clock times without a time zone, and their text forms.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace datetime {

// The whole seconds since 1899-12-30 00:00, to the nearest second (0 outside the years
// 100 to 9999).
qint64 toSeconds(double days);

// Local date-time of a day count (to the millisecond); the fields are taken as they stand.
QDateTime toDateTime(double days);
// Day count of the date and time fields of a date-time; an invalid date-time gives 0.
double fromDateTime(const QDateTime& dateTime);
double fromDateAndTime(const QDate& date, const QTime& time);

// "yyyy/MM/dd HH:mm:ss", or "yyyy/MM/dd" alone when the time of day is exactly midnight;
// empty text outside the years 100 to 9999.
QString format(double days);
// A custom Qt date-time pattern applied to the date and time fields (e.g. "yyMMdd_HHmmss").
QString format(double days, const QString& pattern);
// Accepts the form written by format(), single-digit fields, the date alone and ISO 8601.
std::optional<double> parse(const QString& text);

// Whole seconds from one date-time to a later one, rounded half up.
qint64 secondsBetween(double from, double to);

}  // namespace datetime
