// Column-run reduction of pixel polylines (first, extremes in order of appearance, last).
#include "graph/polylinereducer.h"

#include <QLine>
#include <QPen>
#include <vector>

void PolylineReducer::add(QPoint point) {
    if (inRun_ && point.x() == first_.x()) {
        if (point.y() < low_.y()) {
            low_ = point;
            lowBeforeHigh_ = false;
        }
        if (point.y() > high_.y()) {
            high_ = point;
            lowBeforeHigh_ = true;
        }
        last_ = point;
        return;
    }
    closeRun();
    inRun_ = true;
    first_ = low_ = high_ = last_ = point;
    lowBeforeHigh_ = true;
}

void PolylineReducer::push(QPoint point) {
    if (out_.isEmpty() || out_.constLast() != point) {
        out_.append(point);
    }
}

void PolylineReducer::closeRun() {
    if (!inRun_) {
        return;
    }
    push(first_);
    // The extreme reached last is visited last, so the run's span is covered in one sweep.
    push(lowBeforeHigh_ ? low_ : high_);
    push(lowBeforeHigh_ ? high_ : low_);
    push(last_);
    inRun_ = false;
}

QPolygon PolylineReducer::take() {
    closeRun();
    QPolygon result;
    result.swap(out_);
    return result;
}

void drawSegments(QPainter& painter, const QPolygon& line) {
    if (line.size() < 2) {
        return;
    }
    std::vector<QLine> segments;
    segments.reserve(static_cast<size_t>(line.size() - 1));
    for (qsizetype i = 1; i < line.size(); ++i) {
        segments.emplace_back(line[i - 1], line[i]);
    }
    QPen pen = painter.pen();
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLines(segments.data(), static_cast<int>(segments.size()));
}
