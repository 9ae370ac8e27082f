// Serves a SimLogger over a pseudo-terminal, linked as DIR/tty{N}, with the USB side of the
// device as files: DIR/usb present while "plugged in" (first line: the description) and the
// host's CBUS pulses read from DIR/cbus (one decimal level per line).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "sim/simchip.h"

class SimLogger;

struct PtyOptions {
    QString dir;
    int port = 1;
    int baud = 0;  // 0: unpaced; otherwise 10 bit times per byte in both directions
    qint64 unplugAfterMs = -1;
    int unplugAfterRecords = -1;
    double timeScale = 1;  // logger seconds per wall second
    // Held before each reply, as the USB chip holds a short reply until its latency timer ends.
    int replyDelayMs = 0;
    QString usbDescription = QStringLiteral("USB <-> Serial");
};

class PtyServer {
  public:
    PtyServer(SimLogger& logger, PtyOptions options);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal in raw mode, links it and creates the USB file.
    bool start(QString& error);
    // Serves until stop() is called (from a signal handler too) or the device is unplugged;
    // removes the links before returning. Returns the process exit code.
    int run();
    // Async-signal-safe.
    void stop();
    // Writing a byte here stops the server; for signal handlers.
    int stopFd() const { return stopPipe_[1]; }

    QString linkPath() const;
    QString slaveName() const { return slaveName_; }

  private:
    static std::int64_t nowNs();
    void readInput();
    void pollCbus();
    void refill(std::int64_t now);
    // Writes what the pacing allows; true when the pty buffer is full.
    bool sendOutput(std::int64_t now);
    std::int64_t nextSendNs() const;
    bool unplugDue(std::int64_t now) const;
    void drain();
    void cleanUp();

    SimLogger& logger_;
    PtyOptions options_;
    SimChip chip_;
    int master_ = -1;
    int slave_ = -1;
    int stopPipe_[2] = {-1, -1};
    QString slaveName_;
    QByteArray pending_;
    std::int64_t byteNs_ = 0;
    std::int64_t startNs_ = 0;
    qint64 loggerMsGiven_ = 0;
    std::int64_t inputDoneNs_ = 0;
    std::int64_t paceOriginNs_ = 0;
    std::int64_t pacedSent_ = 0;
    std::int64_t replyDueNs_ = 0;  // a held reply goes out at this time; 0: none held
    std::int64_t holdDueNs_ = 0;   // a reply made late on purpose goes out at this time
    bool replying_ = false;        // a reply is going out; the delay is behind it
    // The logger asked to be unplugged once the output taken so far has left.
    bool unplugAfterReply_ = false;
    bool linked_ = false;
    bool usbCreated_ = false;
};
