// The dew-point line on the humidity graph: the dew point of every plotted sample on a °C scale
// of its own, fitted to the data set's dew points and labelled in the line's colour along the
// plot's left edge, so it never leaves the graph whatever the humidity range shows.
#pragma once

#include <QColor>
#include <optional>

#include "data/dataset.h"
#include "graph/graphcanvas.h"
#include "graph/palette.h"
#include "graph/viewmath.h"

// The °C range the humidity graph's height stands for: the data set's dew points widened by a
// tenth and never narrower than ±2.75 °C, as the fit does for the value ranges.
struct DewPointScale {
    double bottom = 0;
    double top = 0;
};
// Nothing when no sample of the data set has a dew point.
std::optional<DewPointScale> dewPointScaleOf(DataSet& set);

// The humidity graph's user y of a dew point: the scale spread over the window's value range.
double dewPointY(double dewPoint, const DewPointScale& scale, const GraphWindow& window);

// Whole degrees (or halves) between labels: the smallest step that keeps at most five labels.
double dewPointLabelStep(const DewPointScale& scale);

// Draws the line over the window's samples (one beyond each edge, breaking between series and
// where a sample has no dew point) and the scale's labels, onto a canvas whose user scale is the
// humidity graph's.
void drawDewPointLine(GraphCanvas& canvas, const GraphWindow& window, DataSet& set,
                      const GraphTexts& texts, const QColor& color);
