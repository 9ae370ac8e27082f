// The simulator's file contract for the USB device.
#include "link/simcbusdevice.h"

#include <QFile>

SimCbusDevice::SimCbusDevice(const QString& directory) : directory_(directory) {}

CbusDevice::Status SimCbusDevice::describe(QString& description) {
    description.clear();
    QFile usb(directory_ + QStringLiteral("/usb"));
    if (!usb.open(QIODevice::ReadOnly)) {
        return kNotFound;
    }
    description = QString::fromUtf8(usb.readLine(256)).trimmed();
    return kOk;
}

CbusDevice::Status SimCbusDevice::pulse(std::uint8_t level) {
    if (!QFile::exists(directory_ + QStringLiteral("/usb"))) {
        return kNotFound;
    }
    QFile cbus(directory_ + QStringLiteral("/cbus"));
    if (cbus.open(QIODevice::WriteOnly | QIODevice::Append)) {
        cbus.write(QByteArray::number(level) + '\n');
    }
    return kOk;
}
