// The benchmarks' data set: samples that follow fixed patterns, 10 s apart, written to a
// scratch file.
#pragma once

#include <QString>
#include <functional>

#include "data/dataset.h"

Sample benchSample(int record);

// Opens the scratch file at path and appends benchSample(1 .. count), each passed to shape
// first when given. False, with the reason on stderr, when the file cannot be written.
bool fillBenchDataSet(DataSet& set, const QString& path, int count,
                      const std::function<void(int record, Sample& sample)>& shape = {});
