// Building the logger's record memory, segment table and setting area from recording runs.
#pragma once

#include <QDateTime>
#include <array>
#include <cstdint>
#include <vector>

#include "sim/simstate.h"

struct SimRun {
    QDateTime start;
    int count = 0;  // records taken, including any a loop memory has overwritten
};

namespace simmemory {

std::array<std::uint8_t, 6> packDateTime(const QDateTime& dateTime);
int intervalSeconds(std::uint8_t unit, std::uint8_t count);

void writeSegment(SimLoggerState& state, int index, const std::array<std::uint8_t, 6>& start,
                  int count);
// An entry older than any recording, where the host stops reading the table.
void writeEndMarker(SimLoggerState& state, int index);
int segmentCount(const SimLoggerState& state, int index);
void setSegmentCount(SimLoggerState& state, int index, int count);

// Clears records, table and start; keeps identity, settings and flags.
void erase(SimLoggerState& state);

// Stores one record at the write position (wrapping a loop memory); false when a one-time
// memory is already full.
bool appendRecord(SimLoggerState& state, int rawTemperature, int rawHumidity);

// The record of a climate at the resolution of an interval.
std::array<int, 2> rawRecord(const SimClimate& climate, int intervalSeconds);

// Replaces memory, table and setting area by `runs` recorded at one interval in the state's
// memory mode; records beyond a full one-time memory are dropped.
void writeRuns(SimLoggerState& state, const std::vector<SimRun>& runs, std::uint8_t unit,
               std::uint8_t count, const SimClimateCurve& climate);

// A room with a daily swing and a slower drift; deterministic.
SimClimate indoorClimate(const QDateTime& when);

}  // namespace simmemory
