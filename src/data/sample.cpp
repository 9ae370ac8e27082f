// Remarks encoding of a sample and the running extremes of a set of samples.
#include "data/sample.h"

#include <algorithm>
#include <cstring>

#include "data/codepage.h"

void Sample::setRemarks(const QString& text) {
    setRemarkBytes(codepage::toWindows1252(text, kRemarksLength));
}

void Sample::setRemarkBytes(QByteArrayView bytes) {
    remarks.resize(kRemarksLength);
    const qsizetype kept = std::min<qsizetype>(bytes.size(), kRemarksLength);
    if (kept > 0) {
        std::memcpy(remarks.data(), bytes.data(), kept);
    }
    std::memset(remarks.data() + kept, ' ', kRemarksLength - kept);
}

QString Sample::remarksText() const {
    return codepage::fromWindows1252(remarks);
}

void SampleStats::reset() {
    maxTemperature = -10000.0;
    minTemperature = 10000.0;
    maxHumidity = -10000.0;
    minHumidity = 10000.0;
}

void SampleStats::update(const Sample& sample) {
    // The stored extremes are compared at the precision the sample was measured in, so a
    // value equal to the stored one never moves the record number.
    if (static_cast<float>(maxTemperature) < sample.temperature) {
        maxTemperature = sample.temperature;
        maxTemperatureRecord = sample.index;
    }
    if (static_cast<float>(minTemperature) > sample.temperature) {
        minTemperature = sample.temperature;
        minTemperatureRecord = sample.index;
    }
    if (static_cast<float>(maxHumidity) < sample.humidity) {
        maxHumidity = sample.humidity;
        maxHumidityRecord = sample.index;
    }
    if (static_cast<float>(minHumidity) > sample.humidity) {
        minHumidity = sample.humidity;
        minHumidityRecord = sample.index;
    }
}
