// Date conversions of the logger.
#include "link/loggerdate.h"

#include <QDate>
#include <QTime>

#include "data/datetime.h"

std::optional<int> packedToNumber(std::uint8_t byte) {
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9) {
        return std::nullopt;
    }
    return high * 10 + low;
}

int twoDigitYear(int year) {
    // One or two decimal digits take the century 2000.
    if (year >= 0 && year <= 99) {
        return 2000 + year;
    }
    return 1999;
}

std::optional<double> loggerDateTime(int year, int month, int day, int hour, int minute,
                                     int second) {
    const QDate date(twoDigitYear(year), month, day);
    if (!date.isValid() || !QTime::isValid(hour, minute, second)) {
        return std::nullopt;
    }
    return datetime::fromDateAndTime(date, QTime(hour, minute, second));
}

std::optional<double> packedDateTime(const std::uint8_t* bytes) {
    int numbers[6];
    for (int i = 0; i < 6; ++i) {
        const auto n = packedToNumber(bytes[i]);
        if (!n) {
            return std::nullopt;
        }
        numbers[i] = *n;
    }
    return loggerDateTime(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]);
}

QString dateTimeText(double value) {
    return datetime::format(value, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}
