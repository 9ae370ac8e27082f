// Size limits and screen fitting of the main window, driven by its show and resize events.
#include "app/windowsizing.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "app/mainframe.h"
#include "app/statuspanels.h"

WindowSizing::WindowSizing(QMainWindow& window, const MainFrame& frame)
    : QObject(&window), window_(window), frame_(frame) {
    window_.installEventFilter(this);
}

void WindowSizing::applySizeLimits() {
    const int chrome = window_.menuBar()->sizeHint().height() + StatusPanels::barHeight();
    window_.setMinimumSize(MainFrame::minimumWindowSize());
    // No maximum size hint: with one, the window manager would not let a maximised window fill
    // the screen. The normal state is held to the layout on resizes instead.
    designedSize_ = frame_.maximumWindowSize(chrome);
}

bool WindowSizing::normalState() const {
    return (window_.windowState() &
            (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) == 0;
}

QMargins WindowSizing::frameMargins() const {
    const QRect outer = window_.frameGeometry();
    const QRect inner = window_.geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!known.isNull() || window_.isVisible()) {
        return known;
    }
    // Before the window is shown its frame is unknown; a title bar is expected.
    return QMargins(0, window_.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window_),
                    0, 0);
}

void WindowSizing::fitToScreen() {
    const QScreen* screen = window_.screen() ? window_.screen() : QApplication::primaryScreen();
    if (screen == nullptr || !normalState()) {
        return;
    }
    const QRect fitted =
        MainFrame::fittedGeometry(window_.geometry(), frameMargins(), screen->availableGeometry(),
                                  designedSize_, window_.minimumSize());
    if (!window_.isVisible()) {
        // The window manager places a window that was never moved.
        window_.resize(fitted.size());
    } else if (fitted != window_.geometry()) {
        window_.setGeometry(fitted);
    }
}

bool WindowSizing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::Show) {
            shown();
        } else if (event->type() == QEvent::Resize) {
            resized(static_cast<QResizeEvent*>(event)->size());
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowSizing::shown() {
    applySizeLimits();
    if (!shownOnce_) {
        shownOnce_ = true;
        // The frame the window manager adds is known only once the window is on the screen.
        QTimer::singleShot(0, this, &WindowSizing::fitToScreen);
    }
}

void WindowSizing::resized(const QSize& size) {
    if (normalState() && !clampPending_ &&
        (size.width() > designedSize_.width() || size.height() > designedSize_.height())) {
        // Held back until the state settles: a maximise may report its size before its state.
        clampPending_ = true;
        QTimer::singleShot(0, this, [this] {
            clampPending_ = false;
            if (normalState()) {
                window_.resize(window_.size().boundedTo(designedSize_));
            }
        });
    }
}
