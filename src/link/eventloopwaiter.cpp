// A wait that keeps the user interface alive without spinning.
#include "link/eventloopwaiter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void EventLoopWaiter::wait(int waittime) {
    QElapsedTimer clock;
    clock.start();
    // A timer may fire a little early; go round again until the full time has passed.
    for (qint64 left = waittime; left > 0; left = waittime - clock.elapsed()) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(left));
        loop.exec();
    }
}
