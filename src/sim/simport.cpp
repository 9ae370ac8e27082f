// In-process serial port to the simulated logger.
#include "sim/simport.h"

#include <QMetaObject>
#include <QRegularExpression>

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
    return true;
}

bool SimPort::write(const QByteArray& bytes) {
    if (!open_ || error_ || !present_) {
        return false;
    }
    written_.append(bytes);
    logger_.receive(bytes);
    if (autoDeliver_ && logger_.hasOutput()) {
        input_.append(logger_.takeOutput());
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
    const QByteArray bytes = maxBytes < 0 ? logger_.takeOutput() : logger_.takeOutput(maxBytes);
    input_.append(bytes);
    if (!bytes.isEmpty() && bytesArrived_) {
        bytesArrived_();
    }
    return static_cast<int>(bytes.size());
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
