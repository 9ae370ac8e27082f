// In-process serial port to the simulated logger.
#include "sim/simport.h"

#include <QMetaObject>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

SimPort::SimPort(SimLogger& logger) : logger_(logger) {}

SimPort::~SimPort() = default;

bool SimPort::open(int portNumber, const QString& settings) {
    close();
    settings_ = settings;
    static const QRegularExpression kSettings(QStringLiteral("^[0-9]+,n,8,1$"));
    const bool served =
        servedPort_ == 0 ? portNumber >= 1 && portNumber <= 16 : portNumber == servedPort_;
    if (!present_ || openFails_ || !served || !kSettings.match(settings).hasMatch()) {
        return false;
    }
    portNumber_ = portNumber;
    open_ = true;
    error_ = false;
    ++openCount_;
    return true;
}

void SimPort::close() {
    if (open_) {
        logger_.discardOutput();
    }
    open_ = false;
    input_.clear();
}

int SimPort::bytesWaiting() {
    completeUnplug();
    if (!open_ || error_ || !present_) {
        return open_ ? -1 : 0;
    }
    return static_cast<int>(input_.size());
}

bool SimPort::readByte(std::uint8_t& byte) {
    if (!open_ || error_ || !present_ || input_.isEmpty()) {
        return false;
    }
    byte = static_cast<std::uint8_t>(input_.front());
    input_.remove(0, 1);
    completeUnplug();
    return true;
}

bool SimPort::write(const QByteArray& bytes) {
    if (!open_ || error_ || !present_) {
        return false;
    }
    written_.append(bytes);
    logger_.receive(bytes);
    if (autoDeliver_ && logger_.hasOutput()) {
        input_.append(take(-1));
        notifyQueued();
    }
    return true;
}

void SimPort::clearInput() {
    input_.clear();
}

void SimPort::setBytesArrived(std::function<void()> callback) {
    bytesArrived_ = std::move(callback);
}

int SimPort::deliver(int maxBytes) {
    if (!open_) {
        return 0;
    }
    const QByteArray bytes = take(maxBytes);
    input_.append(bytes);
    if (!bytes.isEmpty() && bytesArrived_) {
        bytesArrived_();
    }
    return static_cast<int>(bytes.size());
}

QByteArray SimPort::take(int maxBytes) {
    const int limit = maxBytes < 0 ? std::numeric_limits<int>::max() : maxBytes;
    if (unplugAfterRecords_ < 0) {
        const QByteArray bytes = logger_.takeOutput(limit);
        unplugPending_ = logger_.takeUnplugRequest() || unplugPending_;
        return bytes;
    }
    // Record by record, so the stream is cut exactly after the given count.
    QByteArray bytes;
    while (bytes.size() < limit && logger_.hasOutput()) {
        if (logger_.streamedRecords() >= unplugAfterRecords_) {
            logger_.endStream();
            unplugPending_ = true;
        }
        bytes += logger_.takeOutput(static_cast<int>(std::min<qsizetype>(9, limit - bytes.size())));
    }
    if (logger_.streamedRecords() >= unplugAfterRecords_) {
        logger_.endStream();
        unplugPending_ = true;
    }
    return bytes;
}

void SimPort::completeUnplug() {
    if (unplugPending_ && input_.isEmpty() && !logger_.hasOutput()) {
        unplugPending_ = false;
        unplugAfterRecords_ = -1;
        present_ = false;
    }
}

void SimPort::notifyQueued() {
    if (notifyPending_ || !bytesArrived_) {
        return;
    }
    notifyPending_ = true;
    QMetaObject::invokeMethod(
        &context_,
        [this] {
            notifyPending_ = false;
            if (bytesArrived_ && !input_.isEmpty()) {
                bytesArrived_();
            }
        },
        Qt::QueuedConnection);
}
