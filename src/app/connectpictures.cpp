// Drawing the connect button's pictures.
#include "app/connectpictures.h"

#include <QPainter>

#include "data/messagetable.h"

namespace {
const QColor kLampOn(128, 255, 128);
const QColor kLampOff(40, 40, 40);
}  // namespace

QPixmap connectPicture(bool on, const MessageTable& messages, const QSize& size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int lamp = std::min(size.width(), size.height()) * 2 / 5;
    const QRectF lampRect((size.width() - lamp) / 2.0, size.height() * 0.12, lamp, lamp);
    painter.setPen(QPen(QColor(90, 90, 90), 2));
    painter.setBrush(on ? kLampOn : kLampOff);
    painter.drawEllipse(lampRect);
    // A plug line through the lamp, broken while disconnected.
    painter.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    const double y = lampRect.center().y();
    if (on) {
        painter.drawLine(QPointF(4, y), QPointF(lampRect.left(), y));
        painter.drawLine(QPointF(lampRect.right(), y), QPointF(size.width() - 4, y));
    } else {
        painter.drawLine(QPointF(4, y), QPointF(lampRect.left() - 6, y));
        painter.drawLine(QPointF(lampRect.right() + 6, y), QPointF(size.width() - 4, y));
    }
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF textRect(0, lampRect.bottom() + 2, size.width(),
                          size.height() - lampRect.bottom() - 2);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignVCenter,
                     messages.text(on ? Msg::Offline : Msg::Online));
    return picture;
}
