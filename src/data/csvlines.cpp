// Byte-wise sample lines. Each shortcut gives exactly what the general code gives for the
// same line: dates within the logger's years only, numbers with two decimals whose value is
// the correctly rounded quotient of two exact integers (as a decimal parser rounds them).
#include "data/csvlines.h"

#include <cmath>
#include <cstring>

#include "data/datetime.h"

namespace csvline {
namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr double kMsPerDay = 86400000.0;
// 1970-01-01 counted from 1899-12-30.
constexpr qint64 kUnixDay = 25569;
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;
// A logger's readings have at most three whole digits; seven keep every parsed value exact.
constexpr int kMaxWholeDigits = 7;

// Day count of a proleptic Gregorian date.
qint64 daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<qint64>(era) * 146097 + dayOfEra - 719468 + kUnixDay;
}

void civilFromDays(qint64 days, int& year, int& month, int& day) {
    const qint64 z = days - kUnixDay + 719468;
    const qint64 era = z / 146097;
    const int dayOfEra = static_cast<int>(z - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<int>(era * 400 + yearOfEra) + (month <= 2 ? 1 : 0);
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

char* twoDigits(char* at, int value) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
    return at + 2;
}

// Decimal digits of a non-negative value.
char* digits(char* at, long long value) {
    char reversed[20];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n > 0) {
        *at++ = reversed[--n];
    }
    return at;
}

// "yyyy/MM/dd HH:mm:ss", the date alone at midnight.
char* dateTimeText(char* at, double days) {
    const qint64 seconds = datetime::toSeconds(days);
    int year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(seconds / kSecondsPerDay, year, month, day);
    at = twoDigits(at, year / 100);
    at = twoDigits(at, year % 100);
    *at++ = '/';
    at = twoDigits(at, month);
    *at++ = '/';
    at = twoDigits(at, day);
    const int time = static_cast<int>(seconds % kSecondsPerDay);
    if (time != 0) {
        *at++ = ' ';
        at = twoDigits(at, time / 3600);
        *at++ = ':';
        at = twoDigits(at, time / 60 % 60);
        *at++ = ':';
        at = twoDigits(at, time % 60);
    }
    return at;
}

// "##.00"; false for a value the general formatter writes in another form.
bool hundredthsText(char*& at, float value) {
    const double scaled = static_cast<double>(value) * 100.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 1e17) {
        return false;
    }
    const long long hundredths = std::llround(scaled);
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    if (hundredths < 0) {
        *at++ = '-';
    }
    if (magnitude >= 100) {
        at = digits(at, magnitude / 100);
    }
    *at++ = '.';
    at = twoDigits(at, static_cast<int>(magnitude % 100));
    return true;
}

// Bytes the Japanese code page reads differently from ASCII, or not as one character.
bool plainAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7D || u == 0x5C) {
            return false;
        }
    }
    return true;
}

class Cursor {
  public:
    explicit Cursor(QByteArrayView line) : at_(line.data()), end_(line.data() + line.size()) {}

    bool done() const { return at_ == end_; }
    bool take(char c) {
        if (at_ != end_ && *at_ == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool twoDigits(int& value) {
        if (end_ - at_ < 2 || !isDigit(at_[0]) || !isDigit(at_[1])) {
            return false;
        }
        value = (at_[0] - '0') * 10 + (at_[1] - '0');
        at_ += 2;
        return true;
    }
    // One or more digits, the value ignored.
    bool someDigits() {
        const char* start = at_;
        while (at_ != end_ && isDigit(*at_)) {
            ++at_;
        }
        return at_ != start;
    }
    // A quoted "yyyy/MM/dd" or "yyyy/MM/dd HH:mm:ss" within the logger's years.
    bool dateTime(double& days) {
        int century = 0;
        int yy = 0;
        int month = 0;
        int day = 0;
        if (!take('"') || !twoDigits(century) || !twoDigits(yy) || !take('/') ||
            !twoDigits(month) || !take('/') || !twoDigits(day)) {
            return false;
        }
        const int year = century * 100 + yy;
        if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
            day > daysInMonth(year, month)) {
            return false;
        }
        int hour = 0;
        int minute = 0;
        int second = 0;
        if (take(' ') && (!twoDigits(hour) || !take(':') || !twoDigits(minute) || !take(':') ||
                          !twoDigits(second) || hour > 23 || minute > 59 || second > 59)) {
            return false;
        }
        const qint64 ms = (hour * 3600LL + minute * 60 + second) * 1000;
        days = static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30)) +
               static_cast<double>(ms) / kMsPerDay;
        return take('"');
    }
    // A quoted "##.00": an optional minus, whole digits not starting with 0, two decimals.
    bool hundredths(double& value) {
        if (!take('"')) {
            return false;
        }
        const bool negative = take('-');
        long long whole = 0;
        int wholeDigits = 0;
        while (at_ != end_ && isDigit(*at_) && wholeDigits < kMaxWholeDigits) {
            if (wholeDigits == 0 && *at_ == '0') {
                return false;
            }
            whole = whole * 10 + (*at_++ - '0');
            ++wholeDigits;
        }
        int fraction = 0;
        if (!take('.') || !twoDigits(fraction) || !take('"')) {
            return false;
        }
        const double magnitude = static_cast<double>(whole * 100 + fraction) / 100.0;
        value = negative ? -magnitude : magnitude;
        return true;
    }
    // A quoted text ending the line.
    bool lastText(QByteArrayView& text) {
        if (!take('"')) {
            return false;
        }
        const auto* close = static_cast<const char*>(std::memchr(at_, '"', end_ - at_));
        if (close == nullptr || close + 1 != end_) {
            return false;
        }
        text = QByteArrayView(at_, close - at_);
        at_ = end_;
        return true;
    }

  private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const char* at_;
    const char* end_;
};

}  // namespace

bool append(QByteArray& out, int record, const ScratchFile::Fields& fields,
            codepage::TextEncoding encoding) {
    if (!LoggerRange::holdsDate(fields.dateTime) ||
        (encoding != codepage::TextEncoding::Windows1252 && !plainAscii(fields.remarks))) {
        return false;
    }
    // Room for the record number, the date-time, two values, quotes, commas and the line end.
    constexpr int kMostFixedBytes = 128;
    const qsizetype start = out.size();
    out.resize(start + kMostFixedBytes + fields.remarks.size());
    char* at = out.data() + start;
    at = digits(at, record);
    *at++ = ',';
    *at++ = '"';
    at = dateTimeText(at, fields.dateTime);
    *at++ = '"';
    *at++ = ',';
    *at++ = '"';
    if (!hundredthsText(at, fields.temperature)) {
        out.resize(start);
        return false;
    }
    *at++ = '"';
    *at++ = ',';
    *at++ = '"';
    if (!hundredthsText(at, fields.humidity)) {
        out.resize(start);
        return false;
    }
    *at++ = '"';
    *at++ = ',';
    *at++ = '"';
    std::memcpy(at, fields.remarks.data(), fields.remarks.size());
    at += fields.remarks.size();
    *at++ = '"';
    *at++ = '\r';
    *at++ = '\n';
    out.resize(at - out.constData());
    return true;
}

std::optional<Values> parse(QByteArrayView line, codepage::TextEncoding encoding) {
    Values v;
    Cursor c(line);
    if (!c.someDigits() || !c.take(',') || !c.dateTime(v.dateTime) || !c.take(',') ||
        !c.hundredths(v.temperature) || !c.take(',') || !c.hundredths(v.humidity) || !c.take(',') ||
        !c.lastText(v.remarks)) {
        return std::nullopt;
    }
    if (encoding != codepage::TextEncoding::Windows1252 && !plainAscii(v.remarks)) {
        return std::nullopt;
    }
    return v;
}

}  // namespace csvline
