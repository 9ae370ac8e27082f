// Timing helpers the benchmarks share.
#include "common/timing.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double cpuNowMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

Timing best(int runs, const std::function<bool()>& step) {
    Timing fastest{1e300, 1e300};
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        const double cpuStart = cpuNowMs();
        timer.start();
        if (!step()) {
            std::fprintf(stderr, "step failed\n");
            std::exit(1);
        }
        const double wall = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double cpu = cpuNowMs() - cpuStart;
        fastest.wallMs = std::min(fastest.wallMs, wall);
        fastest.cpuMs = std::min(fastest.cpuMs, cpu);
    }
    return fastest;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printAgainstFloor(const char* what, Timing work, Timing floor) {
    std::printf(
        "%-29s %8.2f ms wall %8.2f ms cpu | floor %7.2f ms wall %7.2f ms cpu | "
        "ratio %5.2f x wall %5.2f x cpu\n",
        what, work.wallMs, work.cpuMs, floor.wallMs, floor.cpuMs, work.wallMs / floor.wallMs,
        work.cpuMs / floor.cpuMs);
}
