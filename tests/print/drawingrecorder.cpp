// The recording engine: texts, lines and boxes mapped through the painter's transform.
#include "drawingrecorder.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QTextItem>
#include <optional>

namespace printtest {

namespace {

class RecordingEngine : public QPaintEngine {
  public:
    explicit RecordingEngine(DrawingRecorder& device)
        : QPaintEngine(QPaintEngine::AllFeatures), device_(device) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform) {
            transform_ = state.transform();
        }
        if (state.state() & QPaintEngine::DirtyPen) {
            pen_ = state.pen();
        }
    }

    // A text in several fonts (a fallback font for some characters) comes in runs, one after
    // the other on the same baseline: they are kept as the one text they were drawn as.
    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
        const QFontMetricsF metrics(item.font(), &device_);
        const QRectF bounds =
            transform_.mapRect(metrics.boundingRect(item.text()).translated(origin));
        const QPointF start = transform_.map(origin);
        const QPointF end =
            transform_.map(origin + QPointF(metrics.horizontalAdvance(item.text()), 0));
        constexpr double kJoin = 0.5;
        if (!device_.items.empty() && textEnd_ && device_.items.back().kind == DrawnItem::Text &&
            QLineF(*textEnd_, start).length() < kJoin) {
            DrawnItem& last = device_.items.back();
            last.text += item.text();
            last.rect = last.rect.united(bounds);
        } else {
            add({DrawnItem::Text, device_.page, item.text(), item.font(), bounds, {}, 0});
        }
        textEnd_ = end;
    }

    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            add({DrawnItem::Line,
                 device_.page,
                 {},
                 {},
                 {},
                 transform_.map(lines[i]),
                 pen_.widthF()});
        }
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            add({DrawnItem::Box, device_.page, {}, {}, transform_.mapRect(rects[i]), {}, 0});
        }
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}

  private:
    void add(DrawnItem item) { device_.items.push_back(std::move(item)); }

    DrawingRecorder& device_;
    QTransform transform_;
    QPen pen_;
    std::optional<QPointF> textEnd_;
};

}  // namespace

DrawingRecorder::DrawingRecorder(const QPageLayout& layout, int resolution)
    : QPdfWriter(QString()), engine_(std::make_unique<RecordingEngine>(*this)) {
    setPageLayout(layout);
    setResolution(resolution);
}

DrawingRecorder::~DrawingRecorder() = default;

QPaintEngine* DrawingRecorder::paintEngine() const {
    return engine_.get();
}

bool DrawingRecorder::newPage() {
    ++page;
    return true;
}

}  // namespace printtest
