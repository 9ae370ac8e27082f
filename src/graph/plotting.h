// Locating samples by time and plotting the samples of the visible window as series, with the
// statistics of exactly the samples inside the window.
#pragma once

#include <cstdint>
#include <functional>

#include "data/dataset.h"
#include "graph/graphcanvas.h"
#include "graph/palette.h"

// Reads record k (1-based) of a data set; false when the record cannot be read.
using SampleReader = std::function<bool(int record, Sample& sample)>;

// Bisection over records 1..count, which are in time order: the record at the target time, or
// one at most a position before the target's place (1 for a target before the first sample).
int findSampleByTime(double target, int count, const SampleReader& read);
int findSampleByTime(double target, DataSet& set);

SampleReader readerOf(DataSet& set);

float valueOn(GraphKind kind, const Sample& sample);

// Draws the samples of the window (one before and one after it as well, so lines leave the
// window) onto a canvas whose user scale is set, and refills the data set's window statistics.
void plotSamples(GraphCanvas& canvas, std::int64_t width, std::int64_t offset, GraphKind kind,
                 DataSet& set, const GraphPalette& palette);
