// The graph renderer: frame with its user scale, time and value grids, alarm lines,
// samples, margins, labels, end marks and title, drawn through any QPainter.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QString>

#include "data/dataset.h"
#include "graph/palette.h"
#include "graph/viewmath.h"

class GraphRenderer {
  public:
    // Label font (size 9) and title font (size 12) follow this font's family.
    void setFont(const QFont& font) { font_ = font; }
    const QFont& font() const { return font_; }
    // The font of the time and value labels.
    QFont labelFont() const;
    // Device pixels per picture pixel, for pen widths (1 on screen; more on a printer).
    void setLineScale(double scale) { lineScale_ = scale; }
    // The humidity graph's dew-point line (off unless asked for).
    void setDewPointLine(bool on) { dewPointLine_ = on; }
    bool dewPointLine() const { return dewPointLine_; }

    // Draws a whole graph of the window over the painter's device area of the given size;
    // the data set's window statistics are refilled. Nothing is drawn beyond the background
    // for an empty data set or one whose last record cannot be read (the result is then 0).
    // Returns the plot's width in device pixels: the columns left of the value-label margin.
    double draw(QPainter& painter, QSizeF size, GraphKind kind, const GraphWindow& window,
                DataSet& set, const GraphTexts& texts, const GraphPalette& palette) const;
    // The plot's width on a device area of the given size: the right margin holds the widest
    // value label, and is never narrower than a twentieth of the plot.
    double plotWidth(const QPaintDevice* device, QSizeF size, const GraphTexts& texts) const;

  private:
    QFont font_{QStringLiteral("DejaVu Sans")};
    double lineScale_ = 1;
    bool dewPointLine_ = false;
};

// User x of a device column on a graph of this window whose plot is plotWidth columns wide
// (the read-out).
double graphXAtColumn(const GraphWindow& window, double column, double plotWidth);
