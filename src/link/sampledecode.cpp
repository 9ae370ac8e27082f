// Conversion of raw sensor readings, data set conversion and the real-time reply decoding.
#include "link/sampledecode.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "link/loggerdate.h"
#include "link/loggerstate.h"

namespace {

constexpr Coefficients kSets[2] = {
    {-39.6, 0.01, -2e-8, 7000, -4, 0.0405, -2.8e-6, 0.01, 0.00008},
    {-39.6, 0.04, -3.2e-7, 1750, -4, 0.648, -7.2e-4, 0.01, 0.00128},
};

// A one-time real-time measurement always uses the standard resolution.
constexpr int kSingleMeasurementInterval = 10;

double temperatureExact(int rawTemperature, const Coefficients& c) {
    const double d = rawTemperature - c.centre;
    return c.offset + c.slope * rawTemperature + c.curve * d * d;
}

// Rounding to the nearest integer, halves to even, whatever the current rounding mode.
double roundHalfEven(double value) {
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double result = std::nearbyint(value);
    std::fesetround(saved);
    return result;
}

}  // namespace

const Coefficients& coefficientsFor(int intervalSeconds) {
    return kSets[intervalSeconds < 3 ? 1 : 0];
}

float temperatureOfRaw(int rawTemperature, int intervalSeconds) {
    return static_cast<float>(temperatureExact(rawTemperature, coefficientsFor(intervalSeconds)));
}

std::int32_t rawOfTemperature(double temperature, int intervalSelector) {
    const Coefficients& c = coefficientsFor(intervalSelector);
    const double d = c.slope - 2 * c.curve * c.centre;
    const double f = c.curve * c.centre * c.centre + c.offset - temperature;
    const double discriminant = d * d - 4 * c.curve * f;
    // Beyond the top of the sensor's curve no raw value maps back; take the vertex.
    const double root = discriminant > 0 ? std::sqrt(discriminant) : 0.0;
    const double raw = roundHalfEven((root - d) / (2 * c.curve));
    return static_cast<std::int32_t>(std::clamp(raw, -2147483648.0, 2147483647.0));
}

std::int16_t boundDegrees(int rawTemperature, int intervalSeconds) {
    return static_cast<std::int16_t>(
        roundHalfEven(temperatureOfRaw(rawTemperature, intervalSeconds)));
}

void convertSample(Sample& sample, int intervalSeconds) {
    const Coefficients& c = coefficientsFor(intervalSeconds);
    const int rawTemperature = sample.raw[0] * 256 + sample.raw[1];
    const int rawHumidity = sample.raw[2] * 256 + sample.raw[3];
    const double t = temperatureExact(rawTemperature, c);
    const double linear = c.h1 + c.h2 * rawHumidity + c.h3 * rawHumidity * rawHumidity;
    const double humidity = (t - 25) * (c.t1 + c.t2 * rawHumidity) + linear;
    sample.temperature = std::clamp(static_cast<float>(t), LoggerRange::kLowestTemperature,
                                    LoggerRange::kHighestTemperature);
    sample.humidity = std::clamp(static_cast<float>(humidity), LoggerRange::kLowestHumidity,
                                 LoggerRange::kHighestHumidity);
}

DataError convertDataSet(DataSet& dataSet, const MessageTable& messages) {
    const bool bounds = dataSet.model == kModelQM320;
    Sample sample;
    for (int k = 1; k <= dataSet.count; ++k) {
        if (const DataError e = dataSet.read(k, sample); e != DataError::None) {
            return e;
        }
        convertSample(sample, dataSet.interval);
        if (bounds) {
            if (dataSet.upperOn != 0 && sample.temperature >= dataSet.upperBound) {
                sample.setRemarks(messages.text(Msg::UpperBoundRemark));
            } else if (dataSet.lowerOn != 0 && sample.temperature <= dataSet.lowerBound) {
                sample.setRemarks(messages.text(Msg::LowerBoundRemark));
            }
        }
        dataSet.stats.update(sample);
        if (const DataError e = dataSet.write(k, sample); e != DataError::None) {
            return e;
        }
    }
    return DataError::None;
}

QString readoutNumber(double value) {
    QString text = QString::number(value, 'f', 2);
    if (text.startsWith(QLatin1String("0."))) {
        text.remove(0, 1);
    } else if (text.startsWith(QLatin1String("-0."))) {
        text.remove(1, 1);
    }
    return text;
}

int realTimeInterval(const QString& keyword, const DataSet& realTime) {
    return keyword == QLatin1String("real") ? kSingleMeasurementInterval : realTime.interval;
}

DataError realTimeTemperature(Sample& sample, DataSet& realTime, const QString& keyword,
                              std::uint8_t r2, std::uint8_t r3) {
    sample.raw[0] = r2;
    sample.raw[1] = r3;
    convertSample(sample, realTimeInterval(keyword, realTime));
    if (realTime.count >= DataSet::kMaxCount) {
        sample.index = 0;
        return DataError::Overflow;
    }
    // The humidity reply completes only the sample this reply began.
    sample.index = static_cast<std::int16_t>(realTime.count + 1);
    return DataError::None;
}

DataError realTimeHumidity(Sample& sample, DataSet& realTime, const QString& keyword,
                           std::uint8_t r2, std::uint8_t r3, const MessageTable& messages,
                           RealTimeReadout& readout) {
    if (sample.index < 1 || sample.index != realTime.count + 1) {
        return DataError::Range;
    }
    sample.raw[2] = r2;
    sample.raw[3] = r3;
    convertSample(sample, realTimeInterval(keyword, realTime));
    readout.temperature = readoutNumber(sample.temperature) + messages.text(Msg::SampleDegreeUnit);
    readout.humidity = readoutNumber(sample.humidity) + messages.text(Msg::SampleHumidityUnit);
    readout.time = dateTimeText(sample.dateTime);
    sample.series = 1;
    if (const DataError e = realTime.append(sample); e != DataError::None) {
        sample.index = 0;
        return e;
    }
    realTime.unsaved = true;
    realTime.stats.update(sample);
    return DataError::None;
}
