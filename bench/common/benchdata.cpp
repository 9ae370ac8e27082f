// The benchmarks' data set.
#include "common/benchdata.h"

#include <cstdio>

Sample benchSample(int record) {
    Sample sample;
    sample.temperature = static_cast<float>((record * 37) % 600) / 10.0f - 10.0f;
    sample.humidity = static_cast<float>((record * 13) % 1000) / 10.0f;
    sample.dateTime = 45000.0 + record * (10.0 / 86400.0);
    sample.series = 1;
    return sample;
}

bool fillBenchDataSet(DataSet& set, const QString& path, int count,
                      const std::function<void(int record, Sample& sample)>& shape) {
    if (!set.file.open(path)) {
        std::fprintf(stderr, "cannot create the scratch file\n");
        return false;
    }
    for (int record = 1; record <= count; ++record) {
        Sample sample = benchSample(record);
        if (shape) {
            shape(record, sample);
        }
        if (set.append(sample) != DataError::None) {
            std::fprintf(stderr, "cannot write record %d\n", record);
            return false;
        }
    }
    return true;
}
