// The real serial port: QSerialPort behind the engine's port interface, with the line
// settings string and the port-number-to-device mapping.
#pragma once

#include <QSerialPort>
#include <optional>

#include "link/serialport.h"

struct LineSettings {
    int baud = 57600;
    char parity = 'n';  // 'n', 'e' or 'o'
    int dataBits = 8;   // 5..8
    int stopBits = 1;   // 1 or 2
};

// "57600,n,8,1" style text; nothing when any field is missing or out of range.
std::optional<LineSettings> parseLineSettings(const QString& text);

// The device of port `portNumber` (1..16): `deviceDir`/ttyN when a simulator directory is
// given, else /dev/ttyUSB(N-1) (COMN on Windows). Empty for a number outside 1..16.
QString portDeviceName(int portNumber, const QString& deviceDir);
// The same with the directory taken from VELTRANE_DEVICE_DIR.
QString portDeviceName(int portNumber);

class QtSerialPortAdapter : public SerialPort {
  public:
    static constexpr int kMaxPortNumber = 16;

    QtSerialPortAdapter();
    ~QtSerialPortAdapter() override;
    QtSerialPortAdapter(const QtSerialPortAdapter&) = delete;
    QtSerialPortAdapter& operator=(const QtSerialPortAdapter&) = delete;

    bool open(int portNumber, const QString& settings) override;
    void close() override;
    bool isOpen() const override;
    int portNumber() const override { return portNumber_; }
    int bytesWaiting() override;
    bool readByte(std::uint8_t& byte) override;
    bool write(const QByteArray& bytes) override;
    void clearInput() override;
    void setBytesArrived(std::function<void()> callback) override;

  private:
    bool faulted() const;
    // Hands the bytes that arrived since the last look to the wire trace, as one chunk.
    void traceArrivals();

    QSerialPort port_;
    int portNumber_ = 0;
    // Bytes in the port's buffer that the trace already has.
    qint64 tracedBytes_ = 0;
    std::function<void()> bytesArrived_;
};
