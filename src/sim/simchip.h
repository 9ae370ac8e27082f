// The USB-serial chip between logger-sim and the host, on its CBUS side: the host's pulses
// appended to DIR/cbus (one decimal level per line), watched with inotify so that a pulse is
// noticed while the logger is busy sending and not only when a command comes in.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class SimChip {
  public:
    // Bytes the chip still passes on once the logger behind it has stopped sending: one USB
    // packet's payload waiting for its latency timer.
    static constexpr int kBufferedBytes = 62;

    explicit SimChip(const QString& dir);
    ~SimChip();
    SimChip(const SimChip&) = delete;
    SimChip& operator=(const SimChip&) = delete;

    // Starts watching; pulses written before this belong to another device and are skipped.
    void start();
    // Readable when DIR changed; -1 when the watch could not be set up.
    int fd() const { return fd_; }
    // Whether DIR changed since the last call; false without a watch.
    bool changed();
    // The levels written since the last call, complete lines only.
    std::vector<std::uint8_t> takeLevels();

  private:
    QString dir_;
    QString path_;
    int fd_ = -1;
    qint64 offset_ = 0;
};
