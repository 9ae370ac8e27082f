// The real serial port over QSerialPort.
#include "link/qtserialport.h"

#include <QStringList>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <cerrno>
#endif

#include "link/linklog.h"
#include "link/wiretrace.h"

namespace {

const char* const kDeviceDirVariable = "VELTRANE_DEVICE_DIR";

QSerialPort::Parity toParity(char parity) {
    switch (parity) {
        case 'e':
            return QSerialPort::EvenParity;
        case 'o':
            return QSerialPort::OddParity;
        default:
            return QSerialPort::NoParity;
    }
}

}  // namespace

std::optional<LineSettings> parseLineSettings(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4) {
        return std::nullopt;
    }
    LineSettings settings;
    bool ok = false;
    settings.baud = fields[0].trimmed().toInt(&ok);
    if (!ok || settings.baud <= 0) {
        return std::nullopt;
    }
    const QString parity = fields[1].trimmed().toLower();
    if (parity != QLatin1String("n") && parity != QLatin1String("e") &&
        parity != QLatin1String("o")) {
        return std::nullopt;
    }
    settings.parity = parity.at(0).toLatin1();
    settings.dataBits = fields[2].trimmed().toInt(&ok);
    if (!ok || settings.dataBits < 5 || settings.dataBits > 8) {
        return std::nullopt;
    }
    settings.stopBits = fields[3].trimmed().toInt(&ok);
    if (!ok || (settings.stopBits != 1 && settings.stopBits != 2)) {
        return std::nullopt;
    }
    return settings;
}

QString portDeviceName(int portNumber, const QString& deviceDir) {
    if (portNumber < 1 || portNumber > QtSerialPortAdapter::kMaxPortNumber) {
        return {};
    }
    if (!deviceDir.isEmpty()) {
        return deviceDir + QStringLiteral("/tty") + QString::number(portNumber);
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM") + QString::number(portNumber);
#else
    return QStringLiteral("/dev/ttyUSB") + QString::number(portNumber - 1);
#endif
}

QString portDeviceName(int portNumber) {
    return portDeviceName(portNumber, qEnvironmentVariable(kDeviceDirVariable));
}

QtSerialPortAdapter::QtSerialPortAdapter() {
    QObject::connect(&port_, &QSerialPort::readyRead, [this] {
        traceArrivals();
        if (bytesArrived_) {
            bytesArrived_();
        }
    });
}

QtSerialPortAdapter::~QtSerialPortAdapter() {
    bytesArrived_ = nullptr;
    port_.close();
}

bool QtSerialPortAdapter::open(int portNumber, const QString& settings) {
    if (port_.isOpen()) {
        port_.close();
    }
    const std::optional<LineSettings> line = parseLineSettings(settings);
    const QString name = portDeviceName(portNumber);
    if (!line || name.isEmpty()) {
        LINK_LOG << "open port" << portNumber << "refused: settings" << settings << "device"
                 << name;
        wireTrace().portOpened(portNumber, settings, false);
        return false;
    }
    port_.clearError();
    port_.setPortName(name);
    if (!port_.open(QIODevice::ReadWrite)) {
        LINK_LOG << "open port" << portNumber << name << "failed:" << port_.errorString();
        port_.clearError();
        wireTrace().portOpened(portNumber, settings, false);
        return false;
    }
    const bool applied =
        port_.setBaudRate(line->baud) && port_.setParity(toParity(line->parity)) &&
        port_.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
        port_.setStopBits(line->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!applied) {
        LINK_LOG << "port" << portNumber << name << "refused" << settings << ":"
                 << port_.errorString();
        port_.close();
        port_.clearError();
        wireTrace().portOpened(portNumber, settings, false);
        return false;
    }
    // A pseudo-terminal has no modem lines; that is no reason to refuse the port.
    if (!port_.setRequestToSend(true) && port_.error() != QSerialPort::UnsupportedOperationError) {
        LINK_LOG << "port" << portNumber << name << "refused RTS:" << port_.errorString();
        port_.close();
        port_.clearError();
        wireTrace().portOpened(portNumber, settings, false);
        return false;
    }
    port_.clearError();
    portNumber_ = portNumber;
    linkLog::restartClock();
    LINK_LOG << "port" << portNumber << name << "opened at" << settings;
    tracedBytes_ = 0;
    wireTrace().portOpened(portNumber, settings, true);
    return true;
}

void QtSerialPortAdapter::close() {
    if (port_.isOpen() && faulted()) {
        LINK_LOG << "port" << portNumber_ << "closed after an error:" << port_.errorString();
    } else if (port_.isOpen()) {
        LINK_LOG << "port" << portNumber_ << "closed";
    }
    if (port_.isOpen()) {
        wireTrace().portClosed(portNumber_);
    }
    tracedBytes_ = 0;
    port_.close();
    port_.clearError();
}

bool QtSerialPortAdapter::isOpen() const {
    return port_.isOpen();
}

bool QtSerialPortAdapter::faulted() const {
    switch (port_.error()) {
        case QSerialPort::NoError:
        case QSerialPort::UnsupportedOperationError:
        case QSerialPort::TimeoutError:
            return false;
        default:
            return true;
    }
}

int QtSerialPortAdapter::bytesWaiting() {
    if (!port_.isOpen() || faulted()) {
        return -1;
    }
    traceArrivals();
    return static_cast<int>(std::min<qint64>(port_.bytesAvailable(), 1 << 30));
}

bool QtSerialPortAdapter::readByte(std::uint8_t& byte) {
    char c = 0;
    if (!port_.isOpen() || faulted() || !port_.getChar(&c)) {
        return false;
    }
    byte = static_cast<std::uint8_t>(c);
    if (tracedBytes_ > 0) {
        --tracedBytes_;
    }
    return true;
}

bool QtSerialPortAdapter::write(const QByteArray& bytes) {
    if (!port_.isOpen() || faulted()) {
        return false;
    }
    wireTrace().written(bytes);
    qsizetype written = 0;
#ifdef Q_OS_UNIX
    // A frame fits the driver's buffer: written straight to it, it needs none of the write
    // notifier that QSerialPort arms and disarms around every buffered write (two wake-ups of
    // the event loop per frame). Only what the driver did not take goes through QSerialPort.
    if (port_.bytesToWrite() == 0) {
        while (written < bytes.size()) {
            const ssize_t n = ::write(port_.handle(), bytes.constData() + written,
                                      static_cast<std::size_t>(bytes.size() - written));
            if (n > 0) {
                written += n;
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (const int error = errno; n < 0 && error != EAGAIN && error != EWOULDBLOCK) {
                LINK_LOG << "write to port" << portNumber_ << "failed:" << qt_error_string(error);
                return false;
            } else {
                break;
            }
        }
    }
    if (written == bytes.size()) {
        return true;
    }
#endif
    const QByteArray rest = bytes.mid(written);
    if (port_.write(rest) != rest.size()) {
        return false;
    }
    // Hand the frame to the driver now instead of on the next event-loop pass.
    port_.flush();
    return !faulted();
}

void QtSerialPortAdapter::clearInput() {
    if (port_.isOpen()) {
        // What is thrown away was still on the wire: the trace keeps it.
        traceArrivals();
        port_.clear(QSerialPort::Input);
    }
    tracedBytes_ = 0;
}

void QtSerialPortAdapter::traceArrivals() {
    const qint64 available = port_.bytesAvailable();
    if (available > tracedBytes_) {
        wireTrace().arrived(port_.peek(available).mid(tracedBytes_));
        tracedBytes_ = available;
    }
}

void QtSerialPortAdapter::setBytesArrived(std::function<void()> callback) {
    bytesArrived_ = std::move(callback);
}
