// The bare polyline floor; see graphfloor.h.
#include "common/graphfloor.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <tuple>

void polylineBoth(const FloorPoints& p, const GraphWindow& tw, const GraphWindow& hw,
                  double intervalSeconds, QImage& t, QImage& h) {
    for (auto [w, image, values] :
         {std::tuple{&tw, &t, &p.temperature}, std::tuple{&hw, &h, &p.humidity}}) {
        const QSize size = image->size();
        const double width = static_cast<double>(w->width);
        const double sx = size.width() / (-width / 20 - width);
        const double pictureBottom = w->bottom - (w->top - w->bottom) / 10;
        const double sy = size.height() / (pictureBottom - w->top);
        QPolygonF line;
        line.reserve(static_cast<int>(p.x.size()));
        for (size_t i = 0; i < p.x.size(); ++i) {
            const double x = p.x[i] - static_cast<double>(w->offset);
            if (x < -width / 20 - 1 || x > width + intervalSeconds * 2) {
                continue;
            }
            line.append(QPointF((x - width) * sx, ((*values)[i] - w->top) * sy));
        }
        QPainter painter(image);
        painter.fillRect(image->rect(), Qt::black);
        QPen pen(QColor(32, 160, 128));
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPolyline(line);
    }
}
