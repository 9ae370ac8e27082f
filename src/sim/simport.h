// The in-process front end of the simulated logger: a SerialPort whose far end is a SimLogger.
//
// Deterministic by construction. With automatic delivery (the default) every reply the logger
// produces for a write, a whole record stream included, is readable as soon as write()
// returns. The bytes-arrived callback is never called from inside write(): it is posted as
// one queued call to the event loop (coalesced while pending), so it runs when the test or
// the program next processes events. With automatic delivery off, replies wait in the logger
// until deliver() moves them, and deliver() calls the callback synchronously.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

#include "link/serialport.h"
#include "sim/simlogger.h"

class SimPort : public SerialPort {
  public:
    explicit SimPort(SimLogger& logger);
    ~SimPort() override;

    bool open(int portNumber, const QString& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int portNumber() const override { return portNumber_; }
    int bytesWaiting() override;
    bool readByte(std::uint8_t& byte) override;
    bool write(const QByteArray& bytes) override;
    void clearInput() override;
    void setBytesArrived(std::function<void()> callback) override;

    SimLogger& logger() { return logger_; }

    // The one port number the logger answers on; 0 (the default) means any of 1..16.
    void setServedPort(int portNumber) { servedPort_ = portNumber; }
    // A removed device: opening fails and an open port reports errors.
    void setPresent(bool present) { present_ = present; }
    bool present() const { return present_; }
    // The next port operation fails, and every one after it until the port is reopened.
    void injectError() { error_ = true; }
    void setOpenFails(bool fails) { openFails_ = fails; }
    // The device is removed once `records` streamed records have been sent: what was sent
    // stays readable, then the port reports errors and present() turns false.
    void unplugAfterRecords(int records) { unplugAfterRecords_ = records; }

    void setAutoDeliver(bool automatic) { autoDeliver_ = automatic; }
    // Moves up to `maxBytes` (all when negative) of the logger's output to the input side;
    // returns how many moved.
    int deliver(int maxBytes = -1);

    const QByteArray& written() const { return written_; }
    const QString& settings() const { return settings_; }
    int openCount() const { return openCount_; }

  private:
    QByteArray take(int maxBytes);
    void completeUnplug();
    void notifyQueued();

    SimLogger& logger_;
    QObject context_;
    std::function<void()> bytesArrived_;
    QByteArray input_;
    QByteArray written_;
    QString settings_;
    int servedPort_ = 0;
    int unplugAfterRecords_ = -1;
    int portNumber_ = 0;
    int openCount_ = 0;
    bool open_ = false;
    bool present_ = true;
    bool error_ = false;
    bool openFails_ = false;
    bool autoDeliver_ = true;
    bool notifyPending_ = false;
    bool unplugPending_ = false;
};
