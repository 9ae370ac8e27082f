// Everything the simulated logger holds: identity, settings, clock, flags and its memory.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "link/commands.h"

struct SimClimate {
    double temperature = 0;  // degrees Celsius
    double humidity = 0;     // %RH
};

// The surroundings the sensor measures at a moment.
using SimClimateCurve = std::function<SimClimate(const QDateTime&)>;

// The logger clock in the plain numbers the clock commands carry (two-digit year).
struct SimClock {
    std::uint8_t year = 26, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    // Invalid when the fields do not form a date, as after a partial clock write.
    QDateTime toDateTime() const;
    static SimClock fromDateTime(const QDateTime& dateTime);
};

inline constexpr int kSimAddressSpace = 0x10000;
inline constexpr int kSimSegmentEntries =
    (kSimAddressSpace - kSegmentTableAddress) / kSegmentEntryBytes;

struct SimLoggerState {
    QByteArray model = "QM320-HX";
    std::uint8_t firmwareMajor = 1;
    std::uint8_t firmwareMinor = 5;
    std::array<std::uint8_t, 4> name{' ', ' ', ' ', ' '};
    std::uint8_t status = 0;
    SimClock clock;
    // Interval of the data in memory (setting area) and of the programmed recording.
    std::uint8_t settingUnit = kUnitMinutes;
    std::uint8_t settingCount = 1;
    std::uint8_t intervalUnit = kUnitMinutes;
    std::uint8_t intervalCount = 1;
    // Start of the current or last recording: yy mm dd hh mm ss, packed decimal.
    std::array<std::uint8_t, 6> startPacked{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::uint8_t reserveDay = 0;
    std::uint8_t reserveHour = 0;
    std::uint8_t reserveMinute = 0;
    // Alarm bounds: raw high byte with bit 7 = enabled, raw low byte.
    std::uint8_t upperAlarmHigh = 0;
    std::uint8_t upperAlarmLow = 0;
    std::uint8_t lowerAlarmHigh = 0;
    std::uint8_t lowerAlarmLow = 0;
    std::uint8_t memoryMode = 0;  // 1 loop, 0 one-time
    std::uint8_t wrapped = 0;
    std::uint16_t batteryReading = 930;  // converter reading; 930 is 3.00 V
    bool batteryLow = false;
    bool downloaded = false;
    bool fastSampling = false;
    int recordPointer = 0;        // bytes of record memory written
    int currentSegment = -1;      // table entry counting the records of the running recording
    int secondsToNextRecord = 0;  // until the running recording takes its next record
    std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(kSimAddressSpace, 0xFF);
};

// A reply held back before it goes out, for `sends` sends of a code (all when negative) after
// the first `after` sends.
struct SimDelay {
    int ms = 0;
    int sends = -1;
    int after = 0;
};

// Misbehaviour on demand, keyed by command code.
struct SimFaults {
    std::map<std::uint8_t, int> refuseFirst;    // refuse the first K sends of a code
    std::set<std::uint8_t> silent;              // never answer a code
    int stallAfterRecords = -1;                 // a stream stops after this many records
    std::map<std::uint8_t, int> garbageBefore;  // noise bytes ahead of a reply
    std::set<std::uint8_t> overlong;            // a reply longer than any receive buffer
    std::set<std::uint8_t> badValue;            // r2 carries a pair decoding above 255
    int unplugAfter = -1;                       // unplug once this code has been answered
    std::map<std::uint8_t, SimDelay> delays;    // late replies, in wall time (the pty server)
};
