// Samples of one logger run as downloads deliver them: record k of the run is taken at
// start + (k - 1) * interval, so any two downloads of the run agree on the records they share.
#pragma once

#include <QString>

#include "data/dataset.h"

struct TestRun {
    QString model = QStringLiteral("QM320-HX");
    QString name = QStringLiteral("LAB1");
    double start = 46023.25;  // 2026-01-01 06:00
    int interval = 600;
};

inline double recordTime(const TestRun& run, int record) {
    return run.start + (record - 1) * static_cast<double>(run.interval) / 86400.0;
}

// Fills `set` with records first..last of the run (1-based), numbered from 1 in the set, the
// second half of the records from `secondSeries` on in series 2.
inline bool fillRun(DataSet& set, const TestRun& run, int first, int last,
                    int secondSeries = 1 << 30) {
    set.count = 0;
    set.stats.reset();
    set.model = run.model;
    set.identName = run.name;
    set.interval = run.interval;
    set.upperOn = 1;
    set.upperBound = 30;
    set.lowerOn = 0;
    set.lowerBound = -5;
    for (int record = first; record <= last; ++record) {
        Sample sample;
        sample.dateTime = recordTime(run, record);
        sample.temperature = 18.0f + static_cast<float>(record % 41) * 0.25f;
        sample.humidity = 35.0f + static_cast<float>(record % 29) * 0.5f;
        sample.series = record >= secondSeries ? 2.0f : 1.0f;
        sample.setRemarks(record % 97 == 0 ? QStringLiteral("Upper bound ") : QString());
        if (set.append(sample) != DataError::None) {
            return false;
        }
        set.stats.update(sample);
    }
    set.unsaved = true;
    return true;
}
