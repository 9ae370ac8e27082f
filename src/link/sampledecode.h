// Conversion of raw sensor readings into degrees Celsius and %RH, the inverse used to encode
// alarm bounds, the conversion of a whole data set with alarm remarks and the real-time reply
// decoding.
#pragma once

#include <QString>
#include <cstdint>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/sample.h"
#include "link/commandqueue.h"

struct Coefficients {
    double offset, slope, curve, centre;
    double h1, h2, h3;
    double t1, t2;
};

// Set 1 (high resolution) below 3 seconds, set 0 otherwise.
const Coefficients& coefficientsFor(int intervalSeconds);

// Unclamped, computed in double precision and stored as a 32-bit float.
float temperatureOfRaw(int rawTemperature, int intervalSeconds);
// The inverse for an alarm bound; selector 2 picks set 1 (interval at most 2 s), 3 set 0.
std::int32_t rawOfTemperature(double temperature, int intervalSelector);
// Whole degrees of a raw bound, halves to even.
std::int16_t boundDegrees(int rawTemperature, int intervalSeconds);

// Fills temperature and humidity of the sample from its raw bytes, with the clamps.
void convertSample(Sample& sample, int intervalSeconds);

// Converts every sample of the data set with its interval, puts the alarm remarks (messages
// 1123, 1124) on samples of a "QM320-HX" and updates the statistics.
DataError convertDataSet(DataSet& dataSet, const MessageTable& messages);

// "##.00": two decimals without a leading zero before the point.
QString readoutNumber(double value);

// The real-time measurement replies. The sample buffer carries the time set by the operation
// that queued the measurement.
struct RealTimeReadout {
    QString temperature;
    QString humidity;
    QString time;
};
int realTimeInterval(ProcedureKind keyword, const DataSet& realTime);
// MeasureTemperature: the temperature half of the next sample. Nothing is written until the
// humidity reply completes it, so a measurement that fails half-way leaves no half sample;
// Overflow when the data set cannot take another sample.
DataError realTimeTemperature(Sample& sample, DataSet& realTime, ProcedureKind keyword,
                              std::uint8_t r2, std::uint8_t r3);
// MeasureHumidity: completes the sample begun by the temperature reply and appends it (count
// + 1), marks the data set unsaved and updates its statistics; the read-out texts are returned.
DataError realTimeHumidity(Sample& sample, DataSet& realTime, ProcedureKind keyword,
                           std::uint8_t r2, std::uint8_t r3, const MessageTable& messages,
                           RealTimeReadout& readout);
