// Graph drawing in the fixed order background, time grid, value grid, alarm lines, samples,
// margins, time labels, value labels, end marks and title.
#include "graph/renderer.h"

#include <QFontMetricsF>
#include <algorithm>

#include "graph/dewpointline.h"
#include "graph/graphcanvas.h"
#include "graph/plotting.h"

namespace {

constexpr char kAlarmModel[] = "QM320-HX";
constexpr double kLabelPointSize = 9;
constexpr double kTitlePointSize = 12;
// The right margin is at least a twentieth of the window's width, as in the plot's scale.
constexpr double kMarginShare = 1.0 / 20;

// Everything one drawing needs, so the steps below stay small.
struct Frame {
    GraphCanvas& canvas;
    const GraphWindow& window;
    const GraphPalette& palette;
    GraphKind kind;
    DataSet& set;
    const GraphTexts& texts;
    double endTime;
    std::int64_t endSeconds;
};

void drawTimeGrid(Frame& f) {
    const GraphWindow& w = f.window;
    const GridStart grid = timeGridStart(f.endSeconds, w.width, w.offset);
    for (std::int64_t t = grid.start; t <= w.width + w.offset; t += grid.step) {
        const std::optional<int> entry = timeLineEntry(timeFieldsOf(f.endSeconds - t), w.width);
        if (entry) {
            const double x = static_cast<double>(t - w.offset);
            f.canvas.line(x, w.bottom, x, w.top, f.palette.color(*entry));
        }
    }
}

void drawValueGrid(Frame& f) {
    const GraphWindow& w = f.window;
    for (int n = firstValueTenth(w.bottom); n <= lastValueTenth(w.top); ++n) {
        const std::optional<int> entry = valueLineEntry(n, w.halfSpan);
        if (entry) {
            f.canvas.line(0, n / 10.0, static_cast<double>(w.width), n / 10.0,
                          f.palette.color(*entry));
        }
    }
}

void drawAlarmLines(Frame& f) {
    if (f.kind != GraphKind::Temperature || f.set.model != QLatin1String(kAlarmModel)) {
        return;
    }
    const double width = static_cast<double>(f.window.width);
    f.canvas.setDotted(true);
    if (f.set.upperOn != 0) {
        f.canvas.line(0, f.set.upperBound, width, f.set.upperBound, f.palette.color(28));
    }
    if (f.set.lowerOn != 0) {
        f.canvas.line(0, f.set.lowerBound, width, f.set.lowerBound, f.palette.color(29));
    }
    f.canvas.setDotted(false);
}

// Removes whatever strayed outside the plot: the right margin and the bottom margin.
void fillMargins(Frame& f) {
    GraphCanvas& c = f.canvas;
    const QColor back = f.palette.color(30);
    const double h0 = c.textHeight();
    c.fillDeviceBox(QPointF(c.mapX(0), c.mapY(f.window.top)),
                    QPointF(c.deviceSize().width(), c.mapY(f.window.bottom)), back);
    c.fillDeviceBox(QPointF(0, c.mapY(f.window.bottom) + h0 / 4),
                    QPointF(c.deviceSize().width(), c.deviceSize().height()), back);
}

void drawTimeLabels(Frame& f) {
    GraphCanvas& c = f.canvas;
    const GraphWindow& w = f.window;
    const double endTextWidth =
        c.textWidth(fullDateTimeText(timeFieldsOf(f.endSeconds))) * c.unitsPerPixelX();
    const GridStart grid = timeGridStart(f.endSeconds, w.width, w.offset);
    const double top = c.mapY(w.bottom);
    for (std::int64_t t = grid.start; t <= w.width + w.offset; t += grid.step) {
        const double x = static_cast<double>(t - w.offset);
        if (x <= endTextWidth) {
            continue;
        }
        const TimeFields fields = timeFieldsOf(f.endSeconds - t);
        const TimeLabel kind = timeLabelKind(fields, w.width);
        if (kind == TimeLabel::None) {
            continue;
        }
        const QString label = timeLabelText(fields, kind);
        c.text(QPointF(c.mapX(x) - c.textWidth(label) / 2, top), label, f.palette.color(19));
    }
}

void drawValueLabels(Frame& f) {
    GraphCanvas& c = f.canvas;
    const GraphWindow& w = f.window;
    const double left = c.mapX(0) + c.textWidth(QStringLiteral("0")) / 2;
    const double halfHeight = c.textHeight() / 2;
    for (int n = firstValueTenth(w.bottom); n <= lastValueTenth(w.top); ++n) {
        if (valueLabelShown(n, w.halfSpan)) {
            c.text(QPointF(left, c.mapY(n / 10.0) - halfHeight), valueLabelText(n, f.texts.unit),
                   f.palette.color(19));
        }
    }
}

void drawEndMarks(Frame& f) {
    GraphCanvas& c = f.canvas;
    const GraphWindow& w = f.window;
    const QString endText = fullDateTimeText(timeFieldsOf(f.endSeconds));
    const double wd = c.textWidth(endText);
    const double hd = c.textHeight();
    const double bottomLine = c.mapY(w.bottom);
    c.fillDeviceBox(QPointF(c.mapX(0), bottomLine - 0.1 * hd),
                    QPointF(c.deviceSize().width() + wd, c.deviceSize().height()),
                    f.palette.color(30));

    c.line(0, w.bottom, 0, w.top, f.palette.color(15));
    Sample sample;
    QString edgeText;
    if (w.offset < 1) {
        if (f.set.read(f.set.count, sample) == DataError::None &&
            valueOn(f.kind, sample) > w.bottom) {
            c.setPenWidth(2);
            c.dot(0, valueOn(f.kind, sample), f.palette.color(16));
            c.setPenWidth(1);
        }
        edgeText = endText;
    } else {
        edgeText = fullDateTimeText(timeFieldsOf(f.endSeconds - w.offset));
    }
    c.text(QPointF(c.mapX(0) - 0.75 * wd, bottomLine), edgeText, f.palette.color(19));

    if (f.set.read(1, sample) == DataError::None && valueOn(f.kind, sample) > w.bottom) {
        c.setPenWidth(2);
        c.dot(xOfTime(sample.dateTime, f.endTime, w.offset), valueOn(f.kind, sample),
              f.palette.color(17));
    }
    c.setPenWidth(1);
}

void drawTitle(Frame& f, const QFont& base) {
    GraphCanvas& c = f.canvas;
    QFont titleFont(base);
    titleFont.setPointSizeF(kTitlePointSize);
    c.setFont(titleFont);
    const double tw = c.textWidth(f.texts.title);
    const double bottomLine = c.mapY(f.window.bottom);
    c.fillDeviceBox(QPointF(0, bottomLine), QPointF(1.5 * tw, c.deviceSize().height()),
                    f.palette.color(30));
    c.text(QPointF(tw / 4, bottomLine), f.texts.title, f.palette.color(18));
}

}  // namespace

QFont GraphRenderer::labelFont() const {
    QFont label(font_);
    label.setPointSizeF(kLabelPointSize);
    return label;
}

double GraphRenderer::plotWidth(const QPaintDevice* device, QSizeF size,
                                const GraphTexts& texts) const {
    const QFontMetricsF metrics(labelFont(), device);
    double widest = 0;
    for (const QString& label : texts.widestLabels) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    // The labels start half a "0" right of the plot; as much again keeps them off the edge.
    const double labelRoom = widest + metrics.horizontalAdvance(QStringLiteral("0"));
    const double margin = std::max(size.width() * kMarginShare / (1 + kMarginShare), labelRoom);
    return std::max(1.0, size.width() - margin);
}

double GraphRenderer::draw(QPainter& painter, QSizeF size, GraphKind kind,
                           const GraphWindow& window, DataSet& set, const GraphTexts& texts,
                           const GraphPalette& palette) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(QPointF(0, 0), size), palette.color(30));
    Sample last;
    double plot = 0;
    if (window.width > 0 && window.top > window.bottom && set.count > 0 &&
        set.read(set.count, last) == DataError::None) {
        const double width = static_cast<double>(window.width);
        plot = plotWidth(painter.device(), size, texts);
        GraphCanvas canvas(painter, size, width, window.top, -width * (size.width() - plot) / plot,
                           window.bottom - (window.top - window.bottom) / 10);
        canvas.setLineScale(lineScale_);
        canvas.setFont(labelFont());
        Frame frame{canvas, window, palette,       kind,
                    set,    texts,  last.dateTime, toWholeSeconds(last.dateTime)};
        drawTimeGrid(frame);
        drawValueGrid(frame);
        drawAlarmLines(frame);
        plotSamples(canvas, window.width, window.offset, kind, set, palette);
        if (kind == GraphKind::Humidity && dewPointLine_) {
            drawDewPointLine(canvas, window, set, texts, palette.dewPoint());
        }
        fillMargins(frame);
        drawTimeLabels(frame);
        drawValueLabels(frame);
        drawEndMarks(frame);
        drawTitle(frame, font_);
    }
    painter.restore();
    return plot;
}

double graphXAtColumn(const GraphWindow& window, double column, double plotWidth) {
    if (plotWidth <= 0) {
        return 0;
    }
    const double width = static_cast<double>(window.width);
    return width - column * width / plotWidth;
}
