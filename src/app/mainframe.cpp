// Scroll rule of the main window's frame.
#include "app/mainframe.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "controls/twips.h"

namespace {
constexpr int kMinWindowWidth = 7000;
constexpr int kMinWindowHeight = 6200;
constexpr int kSmallStep = 15;
constexpr double kLargeStepShare = 0.9;
}  // namespace

MainFrame::MainFrame(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("MainFramePicture"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(content);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    horizontalScrollBar()->setObjectName(QStringLiteral("MainHScroll"));
    verticalScrollBar()->setObjectName(QStringLiteral("MainVScroll"));
    // The content moves when a bar's value is set, not while its thumb is dragged.
    horizontalScrollBar()->setTracking(false);
    verticalScrollBar()->setTracking(false);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QSize MainFrame::minimumWindowSize() {
    return QSize(twips(kMinWindowWidth), twips(kMinWindowHeight));
}

QSize MainFrame::maximumWindowSize(int chrome) const {
    return QSize(widget()->width(), widget()->height() + chrome);
}

QRect MainFrame::fittedGeometry(const QRect& current, const QMargins& frame, const QRect& available,
                                QSize largest, QSize smallest) {
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = largest.boundedTo(room).expandedTo(smallest);
    // Lowest and highest client origins that keep the frame on the screen; the top-left one
    // wins when the screen is too small.
    const QPoint low = available.topLeft() + QPoint(frame.left(), frame.top());
    const QPoint high = low + QPoint(room.width() - size.width(), room.height() - size.height());
    const QPoint origin(std::max(low.x(), std::min(current.x(), high.x())),
                        std::max(low.y(), std::min(current.y(), high.y())));
    return QRect(origin, size);
}

void MainFrame::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    applyScrollRule();
}

void MainFrame::applyScrollRule() {
    const QSize content = widget()->size();
    const bool smaller = width() < content.width() || height() < content.height();
    if (smaller != scrolling_) {
        scrolling_ = smaller;
        const Qt::ScrollBarPolicy policy = smaller ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        setHorizontalScrollBarPolicy(policy);
        setVerticalScrollBarPolicy(policy);
    }
    if (!smaller) {
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        return;
    }
    applySteps();
}

bool MainFrame::event(QEvent* event) {
    const bool handled = QScrollArea::event(event);
    if (event->type() == QEvent::LayoutRequest && scrolling_) {
        applySteps();
    }
    return handled;
}

bool MainFrame::viewportEvent(QEvent* event) {
    const bool handled = QScrollArea::viewportEvent(event);
    if (event->type() == QEvent::Resize && scrolling_) {
        applySteps();
    }
    return handled;
}

void MainFrame::applySteps() {
    const QSize frame = viewport()->size();
    horizontalScrollBar()->setSingleStep(twips(kSmallStep));
    verticalScrollBar()->setSingleStep(twips(kSmallStep));
    horizontalScrollBar()->setPageStep(
        std::max(1, static_cast<int>(std::abs(frame.width() * kLargeStepShare))));
    verticalScrollBar()->setPageStep(
        std::max(1, static_cast<int>(std::abs(frame.height() * kLargeStepShare))));
}
