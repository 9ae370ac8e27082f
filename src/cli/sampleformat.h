// Samples as JSON and tab-separated values for scripts and plotting tools: UTF-8, LF line
// ends, ISO 8601 local wall-clock times and plain numbers with two decimals.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "data/dataset.h"
#include "data/sample.h"

// What a JSON document says about the samples' logger.
struct SampleHeader {
    QString model;
    QString name;  // without its padding
    int intervalSeconds = 0;
};

// "2026-12-08T10:00:00": the logger's local wall-clock time, no zone.
QString isoTime(double days);
// "21.50", "-0.50": hundredths rounded half away from zero, a zero before the point.
QString plainHundredths(float value);

QByteArray tsvHeaderLine();
QByteArray tsvLine(int record, const Sample& sample);
// One sample as a compact JSON object on its own line (a JSON lines stream).
QByteArray jsonLine(int record, const Sample& sample);
// Every sample of the data set in one JSON document, one sample per line; none when a sample
// cannot be read back.
std::optional<QByteArray> jsonDocument(const SampleHeader& header, DataSet& set);
// The header line and every sample of the data set; none when a sample cannot be read back.
std::optional<QByteArray> tsvDocument(DataSet& set);
