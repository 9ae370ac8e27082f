// Serves a ReplayScript on a pseudo-terminal with the same device contract as the simulated
// logger: linked as DIR/tty{N}, DIR/usb present while it runs. CBUS pulses are not read: the
// recorded replies already hold what the recorded logger did about them.
#pragma once

#include <QString>

#include "sim/replayscript.h"

class ReplayServer {
  public:
    // The exit code when the host sent a command the trace does not hold.
    static constexpr int kExitNotInTrace = 3;

    ReplayServer(ReplayScript& script, QString dir, int port, QString usbDescription);
    ~ReplayServer();
    ReplayServer(const ReplayServer&) = delete;
    ReplayServer& operator=(const ReplayServer&) = delete;

    bool start(QString& error);
    // Serves until stopped or until the host sends a command the trace does not hold
    // (kExitNotInTrace, the reason in the script's error()); removes its files before returning.
    int run();
    int stopFd() const { return stopPipe_[1]; }
    QString linkPath() const;

  private:
    void cleanUp();

    ReplayScript& script_;
    QString dir_;
    int port_;
    QString usbDescription_;
    int master_ = -1;
    int slave_ = -1;
    int stopPipe_[2] = {-1, -1};
    QByteArray pending_;
    bool linked_ = false;
    bool usbCreated_ = false;
};
