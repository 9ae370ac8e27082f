// Date conversions of the logger: packed-decimal bytes and the two-digit year rule, giving the
// program's date-time values (data/datetime.h).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// 0x25 is 25; a byte with a nibble above 9 is not a number.
std::optional<int> packedToNumber(std::uint8_t byte);
// 5 gives 2005, 25 gives 2025; a number of any other length of decimal text gives 1999.
int twoDigitYear(int year);

// A date-time from plain numbers (two-digit year rule applied); nothing when not a valid date.
std::optional<double> loggerDateTime(int year, int month, int day, int hour, int minute,
                                     int second);
// The same from six packed-decimal bytes; nothing when a byte is not a number.
std::optional<double> packedDateTime(const std::uint8_t* bytes);

// "yyyy/mm/dd hh:nn:ss", the text form used for logger clock and sample times.
QString dateTimeText(double value);
