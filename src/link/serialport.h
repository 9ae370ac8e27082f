// The engine's view of a serial port, so the real port and the in-process simulator are
// interchangeable. Every call reports failure as a value; nothing throws.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Applies the line settings ("57600,n,8,1" style) and the port number (1..16), then opens.
    virtual bool open(int portNumber, const QString& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual int portNumber() const = 0;

    // Bytes received and not yet read; negative on a port error.
    virtual int bytesWaiting() = 0;
    // Reads one byte; false on a port error or when nothing is waiting.
    virtual bool readByte(std::uint8_t& byte) = 0;
    // Writes all bytes; false on a port error.
    virtual bool write(const QByteArray& bytes) = 0;
    virtual void clearInput() = 0;

    // Called whenever bytes have arrived: the engine reads its replies from here, and its
    // timer poll is only the fallback. May be called from inside the event loop only.
    virtual void setBytesArrived(std::function<void()> callback) = 0;
};
