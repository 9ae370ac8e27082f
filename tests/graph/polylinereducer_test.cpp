// The reduced polyline must cover exactly the pixels of the full one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRandomGenerator>

#include "graph/polylinereducer.h"

namespace {

QImage drawn(const QPolygon& line, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QPen pen(QColor(32, 160, 128));
    pen.setCosmetic(true);
    painter.setPen(pen);
    drawSegments(painter, line);
    return image;
}

}  // namespace

TEST(PolylineReducer, DensePolylinesKeepTheirPixels) {
    const QSize size(200, 120);
    QRandomGenerator random(1234);
    struct Shape {
        const char* name;
        int points;
        double columnsPerPoint;
        int noise;
    };
    for (const Shape& shape :
         {Shape{"dense_noisy", 5000, 0.04, 40}, Shape{"dense_smooth", 3000, 0.07, 2},
          Shape{"sparse", 60, 3.3, 30}, Shape{"steps", 800, 0.25, 0},
          Shape{"off_picture", 2000, 0.15, 300}}) {
        QPolygon full;
        PolylineReducer reducer;
        int level = 60;
        for (int i = 0; i < shape.points; ++i) {
            level += shape.noise == 0
                         ? (i % 50 == 0 ? 7 : 0)
                         : static_cast<int>(random.bounded(2 * shape.noise + 1)) - shape.noise;
            level = std::clamp(level, -200, 320);
            const QPoint p(static_cast<int>(i * shape.columnsPerPoint) - 5, level);
            full.append(p);
            reducer.add(p);
        }
        const QPolygon reduced = reducer.take();
        EXPECT_LE(reduced.size(), full.size()) << shape.name;
        const QImage a = drawn(reduced, size);
        const QImage b = drawn(full, size);
        int differing = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    if (differing < 5) {
                        ADD_FAILURE()
                            << shape.name << " pixel " << x << "," << y << " reduced "
                            << (a.pixel(x, y) & 0xFFFFFF) << " full " << (b.pixel(x, y) & 0xFFFFFF);
                    }
                    ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << shape.name;
        EXPECT_TRUE(reducer.isEmpty());
    }
}

TEST(PolylineReducer, KeepsFirstExtremesAndLastOfAColumnRun) {
    PolylineReducer reducer;
    for (QPoint p : {QPoint(3, 5), QPoint(3, 9), QPoint(3, 1), QPoint(3, 4), QPoint(4, 4)}) {
        reducer.add(p);
    }
    EXPECT_EQ(reducer.take(),
              QPolygon({QPoint(3, 5), QPoint(3, 9), QPoint(3, 1), QPoint(3, 4), QPoint(4, 4)}));
    for (QPoint p : {QPoint(0, 5), QPoint(0, 6), QPoint(0, 7), QPoint(0, 6), QPoint(0, 2),
                     QPoint(0, 3), QPoint(1, 3)}) {
        reducer.add(p);
    }
    EXPECT_EQ(reducer.take(),
              QPolygon({QPoint(0, 5), QPoint(0, 7), QPoint(0, 2), QPoint(0, 3), QPoint(1, 3)}));
}
