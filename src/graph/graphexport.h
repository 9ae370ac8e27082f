// Both graphs of a data set drawn onto any paint device (an image, an SVG file, a widget): the
// temperature graph over the upper half, the humidity graph over the lower half.
#pragma once

#include <QPainter>
#include <QSizeF>
#include <optional>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "graph/palette.h"
#include "graph/renderer.h"
#include "graph/viewmath.h"

// The visible windows of both graphs.
struct GraphExportView {
    Bars bars;
    double stepUnit = 1;
};

// The view the Fit button gives: the whole data set, value ranges fitted to its statistics;
// nullopt for an empty data set or one whose first or last record cannot be read.
std::optional<GraphExportView> fittedView(DataSet& set);

// Draws both graphs of the view over an area of the given size from the painter's origin; the
// data set's window statistics are refilled. False for an empty data set or an empty area
// (nothing is drawn) and when neither graph could read its samples.
bool drawGraphs(QPainter& painter, QSizeF size, DataSet& set, const GraphExportView& view,
                const GraphRenderer& renderer, const MessageTable& messages,
                const GraphPalette& palette);
// The same over the fitted view.
bool drawGraphs(QPainter& painter, QSizeF size, DataSet& set, const GraphRenderer& renderer,
                const MessageTable& messages, const GraphPalette& palette);
