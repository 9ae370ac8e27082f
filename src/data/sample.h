// One measured point and the extremes of a set of points.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

// What a logger can hold: its conversion keeps readings within these bounds, and its clock
// counts years 2000 to 2099 (dates as days since 1899-12-30).
struct LoggerRange {
    static constexpr float kLowestTemperature = -40.0f;
    static constexpr float kHighestTemperature = 100.0f;
    static constexpr float kLowestHumidity = 0.0f;
    static constexpr float kHighestHumidity = 100.0f;
    static constexpr double kFirstDay = 36526.0;  // 2000-01-01
    static constexpr double kEndDay = 73051.0;    // 2100-01-01

    static bool holdsTemperature(double v) {
        return v >= kLowestTemperature && v <= kHighestTemperature;
    }
    static bool holdsHumidity(double v) { return v >= kLowestHumidity && v <= kHighestHumidity; }
    static bool holdsDate(double days) { return days >= kFirstDay && days < kEndDay; }
};

struct Sample {
    static constexpr int kRemarksLength = 50;

    float temperature = 0;  // degrees Celsius
    float humidity = 0;     // %RH
    double dateTime = 0;    // days since 1899-12-30, fraction = time of day
    float series = 0;       // 1-based recording run
    // Exactly 50 bytes, one byte per character (Windows-1252), space padded.
    QByteArray remarks = QByteArray(kRemarksLength, ' ');
    std::int16_t index = 0;  // record number within its data set (1-based)
    std::array<std::uint8_t, 4> raw{};

    // Stores text as the 50-byte remarks: encoded, cut at 50 and space padded.
    void setRemarks(const QString& text);
    // Stores bytes already in the remarks' code page the same way: cut at 50, space padded.
    void setRemarkBytes(QByteArrayView bytes);
    QString remarksText() const;
};

struct SampleStats {
    std::int16_t maxTemperatureRecord = 0;
    double maxTemperature = -10000.0;
    std::int16_t minTemperatureRecord = 0;
    double minTemperature = 10000.0;
    std::int16_t maxHumidityRecord = 0;
    double maxHumidity = -10000.0;
    std::int16_t minHumidityRecord = 0;
    double minHumidity = 10000.0;

    // The four values back to -10000/+10000; the record numbers stay.
    void reset();
    // Strict comparisons against the stored value rounded to single precision: ties keep
    // the earlier record.
    void update(const Sample& sample);
};
