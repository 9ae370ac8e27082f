// Remarks encoding of a sample and the running extremes of a set of samples.
#include "data/sample.h"

#include "data/codepage.h"

void Sample::setRemarks(const QString& text) {
    remarks = codepage::toWindows1252(text, kRemarksLength);
    if (remarks.size() < kRemarksLength) {
        remarks.append(QByteArray(kRemarksLength - remarks.size(), ' '));
    }
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
