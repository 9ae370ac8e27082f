// Timing helpers the benchmarks share: the fastest of several runs in wall and processor time,
// and the median of a set of figures.
#pragma once

#include <functional>
#include <vector>

// Wall and processor time of a run; the machine may be shared, so the processor time shows the
// work itself.
struct Timing {
    double wallMs;
    double cpuMs;
};

// The fastest wall time and the fastest processor time over `runs` runs of `step`. A step that
// returns false makes every figure meaningless: the program ends with "step failed".
Timing best(int runs, const std::function<bool()>& step);

// The middle value, or the mean of the two middle values for an even count; `values` is not
// empty.
double median(std::vector<double> values);

// One line: a figure beside its floor, and their ratios in wall and processor time.
void printAgainstFloor(const char* what, Timing work, Timing floor);
