// What the benchmarks against logger-sim share.
#include "common/loggersim.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "link/commands.h"
#include "link/eventloopwaiter.h"

namespace {

bool waitForFile(const QString& path, int timeoutMs) {
    EventLoopWaiter waiter;
    QDeadlineTimer deadline(timeoutMs);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired()) {
            return false;
        }
        waiter.wait(5);
    }
    return true;
}

}  // namespace

QString loggerSimProgram(const QStringList& arguments) {
    QString program = arguments.value(1, qEnvironmentVariable("VELTRANE_SIM"));
    if (program.isEmpty()) {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/sim/logger-sim");
    }
    return program;
}

QString loggerSimDevice(const QString& dir) {
    return dir + QStringLiteral("/tty1");
}

std::unique_ptr<QProcess> startLoggerSim(const QString& program, const QString& dir,
                                         const QStringList& options) {
    auto sim = std::make_unique<QProcess>();
    sim->setProgram(program);
    sim->setArguments(
        QStringList{QStringLiteral("--dir"), dir, QStringLiteral("--port"), QStringLiteral("1")} +
        options);
    sim->setProcessChannelMode(QProcess::ForwardedChannels);
    sim->start();
    if (!sim->waitForStarted(5000) || !waitForFile(loggerSimDevice(dir), 10000)) {
        return nullptr;
    }
    return sim;
}

void stopLoggerSim(QProcess& sim) {
    sim.terminate();
    sim.waitForFinished(5000);
}

void BenchHost::showFailure(Msg first, Msg second) {
    ++failures;
    std::fprintf(stderr, "engine failure: messages %d and %d\n", msgIndex(first), msgIndex(second));
}

double bareRoundTripUs(const QString& device, int exchanges,
                       const std::function<QByteArray(int)>& frameFor) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < exchanges; ++i) {
        const QByteArray frame = frameFor(i);
        if (::write(fd, frame.constData(), frame.size()) != frame.size()) {
            ::close(fd);
            return -1;
        }
        bool terminated = false;
        while (!terminated) {
            pollfd p{fd, POLLIN, 0};
            unsigned char bytes[64];
            const ssize_t n = ::poll(&p, 1, 2000) > 0 ? ::read(fd, bytes, sizeof bytes) : -1;
            if (n <= 0) {
                ::close(fd);
                return -1;
            }
            terminated = bytes[n - 1] == kTerminator;
        }
    }
    const double us = static_cast<double>(clock.nsecsElapsed()) / 1000.0 / exchanges;
    ::close(fd);
    return us;
}
