// Sample plotting: records are read one at a time from the scratch file; consecutive points
// of one series are drawn as one polyline.
#include "graph/plotting.h"

#include "graph/polylinereducer.h"
#include "graph/viewmath.h"

int findSampleByTime(double target, int count, const SampleReader& read) {
    int lo = 1;
    int hi = count;
    int mid = (lo + hi) / 2;
    Sample sample;
    while (hi - lo >= 2) {
        if (!read(mid, sample)) {
            break;
        }
        if (sample.dateTime < target) {
            lo = mid;
        } else if (sample.dateTime > target) {
            hi = mid;
        } else {
            break;
        }
        mid = (lo + hi) / 2;
    }
    return mid;
}

namespace {

// The fields the graphs use (not the remarks), read in place from the scratch file's map.
bool readPlotted(DataSet& set, int record, Sample& sample) {
    ScratchFile::Fields f;
    if (set.file.readFields(record, f) != DataError::None) {
        return false;
    }
    f.copyTo(sample);
    return true;
}

}  // namespace

SampleReader readerOf(DataSet& set) {
    return [&set](int record, Sample& sample) { return readPlotted(set, record, sample); };
}

int findSampleByTime(double target, DataSet& set) {
    return findSampleByTime(target, set.count, readerOf(set));
}

float valueOn(GraphKind kind, const Sample& sample) {
    return kind == GraphKind::Temperature ? sample.temperature : sample.humidity;
}

void plotSamples(GraphCanvas& canvas, std::int64_t width, std::int64_t offset, GraphKind kind,
                 DataSet& set, const GraphPalette& palette) {
    set.windowStats.reset();
    const int count = set.count;
    Sample sample;
    if (count < 1 || set.read(count, sample) != DataError::None) {
        return;
    }
    const double endTime = sample.dateTime;
    const double rightEdge = endTime - offset / 86400.0;
    const double leftEdge = endTime - (width + offset) / 86400.0;

    const int last = findSampleByTime(rightEdge, set) + 1;
    const int first = findSampleByTime(leftEdge, set) - 1;

    QPainter& painter = canvas.painter();
    QPen linePen(palette.color(14));
    linePen.setCosmetic(true);
    linePen.setWidthF(canvas.lineScale());
    PolylineReducer series;
    auto flush = [&] {
        painter.setPen(linePen);
        drawSegments(painter, series.take());
    };

    float previousSeries = 0;
    bool havePen = false;
    QPointF pen;
    for (int i = std::max(first, 1); i <= std::min(last, count); ++i) {
        if (!readPlotted(set, i, sample)) {
            continue;
        }
        const double y = valueOn(kind, sample);
        const std::int64_t before = secondsBetween(sample.dateTime, endTime);
        const auto x = static_cast<double>(before - offset);
        if (sample.series != previousSeries) {
            flush();
            canvas.setPenWidth(2);
            if (havePen) {
                canvas.dot(pen.x(), pen.y(), palette.color(13));
            }
            canvas.dot(x, y, palette.color(13));
            canvas.setPenWidth(1);
            previousSeries = sample.series;
        }
        series.add(canvas.pixel(x, y));
        pen = QPointF(x, y);
        havePen = true;
        if (before >= offset && before <= width + offset) {
            set.windowStats.update(sample);
        }
    }
    flush();
    canvas.setPenWidth(1);
}
