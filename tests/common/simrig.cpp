// The shared test rig's non-template parts; see simrig.h.
#include "simrig.h"

#include <QFile>
#include <QFileInfo>

namespace simrig {

QDateTime scenarioNow() {
    return QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
}

std::vector<Sample> samples(DataSet& set) {
    std::vector<Sample> all;
    Sample sample;
    for (int k = 1; k <= set.count; ++k) {
        if (set.read(k, sample) != DataError::None) {
            break;
        }
        all.push_back(sample);
    }
    return all;
}

std::vector<std::array<int, 3>> received(const SimLogger& logger, std::size_t from) {
    std::vector<std::array<int, 3>> sent;
    for (std::size_t i = from; i < logger.history().size(); ++i) {
        const SimCommand& c = logger.history()[i];
        sent.push_back({c.code, c.arg1, c.arg2});
    }
    return sent;
}

void pump(Engine& engine, SerialPort& port) {
    for (int guard = 0; guard < 1000000 && engine.busy(); ++guard) {
        if (port.bytesWaiting() <= 0) {
            return;
        }
        engine.inputTick();
    }
}

bool runProcedure(Engine& engine, const TimerControl& timers, SerialPort& port, int maxTicks) {
    for (int tick = 0; tick < maxTicks && engine.busy(); ++tick) {
        engine.inputTick();
        if (engine.busy() && timers.isArmed(TimerId::TimeOut) && port.bytesWaiting() <= 0) {
            engine.timeOutTick();
        }
    }
    return !engine.busy();
}

}  // namespace simrig

CbusDevice::Status SimUsbDevice::describe(QString& description) {
    if (!present) {
        description.clear();
        return kNotFound;
    }
    if (denied) {
        return kPermissionDenied;
    }
    description = QStringLiteral("USB Serial Converter");
    return kOk;
}

CbusDevice::Status SimUsbDevice::pulse(std::uint8_t level) {
    if (!present) {
        return kNotFound;
    }
    if (denied) {
        return kPermissionDenied;
    }
    levels.push_back(level);
    logger_.cbusLevel(level);
    return kOk;
}

void SimTimeWaiter::wait(int waittime) {
    waits.push_back(waittime);
    elapsedMs += waittime;
    logger_.advanceTime(waittime);
    if (duringWait) {
        duringWait();
    }
}

PtySimRig::~PtySimRig() {
    stop();
    if (environmentSet_) {
        qunsetenv("VELTRANE_DEVICE_DIR");
    }
}

QString PtySimRig::program() {
    return qEnvironmentVariable("VELTRANE_SIM");
}

bool PtySimRig::start(const QStringList& options) {
    stop();
    const QString executable = program();
    if (!deviceDir_.isValid() || !QFileInfo(executable).isExecutable()) {
        return false;
    }
    process_.setProgram(executable);
    process_.setArguments(QStringList{QStringLiteral("--dir"), deviceDir(),
                                      QStringLiteral("--port"), QStringLiteral("1")} +
                          options);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(5000)) {
        return false;
    }
    qputenv("VELTRANE_DEVICE_DIR", deviceDir().toLocal8Bit());
    environmentSet_ = true;
    return waitUntil(
        [&] {
            return QFile::exists(devicePath(QStringLiteral("tty1"))) &&
                   QFile::exists(devicePath(QStringLiteral("usb")));
        },
        10000);
}

void PtySimRig::stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}
