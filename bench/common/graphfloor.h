// The floor of a graph redraw the benchmarks compare against: one in-memory QPainter polyline
// per graph over the visible window's points, mapped with the renderer's user scale.
#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "graph/viewmath.h"

// The samples held in memory: seconds before the end time and the two values.
struct FloorPoints {
    std::vector<double> x;
    std::vector<float> temperature;
    std::vector<float> humidity;
};

// Both graphs as bare polylines of the points inside their windows (and up to two intervals
// beyond the left edge, as the renderer draws lines leaving the window).
void polylineBoth(const FloorPoints& p, const GraphWindow& tw, const GraphWindow& hw,
                  double intervalSeconds, QImage& t, QImage& h);
