// Graph picture box: black background, white text, mouse tracking for the cursor read-out.
#include "graph/graphbox.h"

#include <QMouseEvent>
#include <QPainter>

#include "graph/renderer.h"

GraphBox::GraphBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
}

void GraphBox::setImage(const QImage& image) {
    image_ = image;
    update();
}

void GraphBox::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!image_.isNull()) {
        painter.drawImage(QPoint(0, 0), image_);
    }
}

void GraphBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMovedTo(graphXAtColumn(window_, event->position().x(), plotWidth_));
    QWidget::mouseMoveEvent(event);
}
