// Record memory layout of the simulated logger: 4-byte records from address 0, the segment
// table of 8-byte entries from 0xF000, and the start date of the setting area.
#include "sim/simmemory.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/simcodec.h"
#include "sim/simsensor.h"

QDateTime SimClock::toDateTime() const {
    const QDate date(2000 + year, month, day);
    const QTime time(hour, minute, second);
    if (year > 99 || !date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time, Qt::UTC);
}

SimClock SimClock::fromDateTime(const QDateTime& dateTime) {
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    return SimClock{
        static_cast<std::uint8_t>(d.year() % 100), static_cast<std::uint8_t>(d.month()),
        static_cast<std::uint8_t>(d.day()),        static_cast<std::uint8_t>(t.hour()),
        static_cast<std::uint8_t>(t.minute()),     static_cast<std::uint8_t>(t.second())};
}

namespace simmemory {
namespace {

int entryAddress(int index) {
    return kSegmentTableAddress + index * kSegmentEntryBytes;
}

}  // namespace

std::array<std::uint8_t, 6> packDateTime(const QDateTime& dateTime) {
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    using simcodec::packed;
    return {packed(d.year() % 100), packed(d.month()),  packed(d.day()),
            packed(t.hour()),       packed(t.minute()), packed(t.second())};
}

int intervalSeconds(std::uint8_t unit, std::uint8_t count) {
    return std::max<int>(1, unit == kUnitMinutes ? count * 60 : count);
}

void writeSegment(SimLoggerState& state, int index, const std::array<std::uint8_t, 6>& start,
                  int count) {
    if (index < 0 || index >= kSimSegmentEntries) {
        return;
    }
    std::copy(start.begin(), start.end(), state.memory.begin() + entryAddress(index));
    setSegmentCount(state, index, count);
}

void setSegmentCount(SimLoggerState& state, int index, int count) {
    if (index < 0 || index >= kSimSegmentEntries) {
        return;
    }
    const int address = entryAddress(index);
    const int clamped = std::clamp(count, 0, 0xFFFF);
    state.memory[address + 6] = static_cast<std::uint8_t>(clamped & 0xFF);
    state.memory[address + 7] = static_cast<std::uint8_t>(clamped >> 8);
}

void writeEndMarker(SimLoggerState& state, int index) {
    writeSegment(state, index, {0x00, 0x01, 0x01, 0x00, 0x00, 0x00}, 0);
}

int segmentCount(const SimLoggerState& state, int index) {
    if (index < 0 || index >= kSimSegmentEntries) {
        return 0;
    }
    const int address = entryAddress(index);
    return state.memory[address + 6] | (state.memory[address + 7] << 8);
}

void erase(SimLoggerState& state) {
    std::fill(state.memory.begin(), state.memory.end(), 0xFF);
    state.recordPointer = 0;
    state.wrapped = 0;
    state.currentSegment = -1;
    state.startPacked.fill(0xFF);
}

bool appendRecord(SimLoggerState& state, int rawTemperature, int rawHumidity) {
    if (state.recordPointer >= kMemoryBytes) {
        if (state.memoryMode == 0) {
            return false;
        }
        state.recordPointer = 0;
    }
    auto* at = state.memory.data() + state.recordPointer;
    at[0] = static_cast<std::uint8_t>((rawTemperature >> 8) & 0xFF);
    at[1] = static_cast<std::uint8_t>(rawTemperature & 0xFF);
    at[2] = static_cast<std::uint8_t>((rawHumidity >> 8) & 0xFF);
    at[3] = static_cast<std::uint8_t>(rawHumidity & 0xFF);
    state.recordPointer += kRecordBytes;
    if (state.recordPointer >= kMemoryBytes && state.memoryMode != 0) {
        state.recordPointer = 0;
        state.wrapped = 1;
    }
    setSegmentCount(state, state.currentSegment, segmentCount(state, state.currentSegment) + 1);
    return true;
}

std::array<int, 2> rawRecord(const SimClimate& climate, int intervalSeconds) {
    const bool fast = simsensor::fastForInterval(intervalSeconds);
    const int rt = simsensor::rawOfTemperature(climate.temperature, fast);
    return {rt, simsensor::rawOfHumidity(climate.humidity, rt, fast)};
}

void writeRuns(SimLoggerState& state, const std::vector<SimRun>& runs, std::uint8_t unit,
               std::uint8_t count, const SimClimateCurve& climate) {
    erase(state);
    state.settingUnit = state.intervalUnit = unit;
    state.settingCount = state.intervalCount = count;
    if (runs.empty()) {
        return;
    }
    const int seconds = intervalSeconds(unit, count);
    state.startPacked = packDateTime(runs.front().start);
    const int usable = std::min<int>(static_cast<int>(runs.size()), kSimSegmentEntries - 1);
    for (int i = 0; i < usable; ++i) {
        state.currentSegment = i;
        writeSegment(state, i, packDateTime(runs[i].start), 0);
        for (int j = 0; j < runs[i].count; ++j) {
            const QDateTime when = runs[i].start.addSecs(static_cast<qint64>(j) * seconds);
            const auto raw = rawRecord(climate(when), seconds);
            if (!appendRecord(state, raw[0], raw[1])) {
                break;
            }
        }
    }
    writeEndMarker(state, usable);
}

SimClimate indoorClimate(const QDateTime& when) {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    const double secondOfDay = when.time().msecsSinceStartOfDay() / 1000.0;
    const double day = std::sin(kTwoPi * (secondOfDay - 9 * 3600) / 86400);
    const double drift =
        std::sin(kTwoPi * static_cast<double>(when.toSecsSinceEpoch()) / (5 * 86400.0));
    return SimClimate{22.0 + 4.0 * day + 1.5 * drift, 55.0 - 12.0 * day + 5.0 * drift};
}

}  // namespace simmemory
