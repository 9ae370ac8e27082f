// A serial port for engine tests: records every write, answers frames through a script, and
// can be told to fail reads, writes or reopening.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "link/engine.h"
#include "link/serialport.h"

class ScriptedPort : public SerialPort {
  public:
    // Bytes the logger sends back for one written frame; empty for silence.
    std::function<QByteArray(const QByteArray& frame)> responder;
    // Whether answers announce themselves through the bytes-arrived callback.
    bool notifyAnswers = false;

    std::vector<QByteArray> writes;
    QByteArray incoming;
    int openCalls = 0;
    int closeCalls = 0;
    int lastOpenedNumber = 0;
    QString lastSettings;
    bool reopenSucceeds = true;
    int failBytesWaiting = 0;  // so many next bytesWaiting calls report a port error
    int failWrites = 0;        // so many next writes fail

    bool open(int portNumber, const QString& settings) override {
        ++openCalls;
        lastOpenedNumber = portNumber;
        lastSettings = settings;
        open_ = reopenSucceeds;
        if (open_) {
            number_ = portNumber;
        }
        return open_;
    }
    void close() override {
        ++closeCalls;
        open_ = false;
        incoming.clear();
    }
    bool isOpen() const override { return open_; }
    int portNumber() const override { return number_; }
    int bytesWaiting() override {
        if (!open_) {
            return -1;
        }
        if (failBytesWaiting > 0) {
            --failBytesWaiting;
            return -1;
        }
        return static_cast<int>(incoming.size());
    }
    bool readByte(std::uint8_t& byte) override {
        if (!open_ || incoming.isEmpty()) {
            return false;
        }
        byte = static_cast<std::uint8_t>(incoming.front());
        incoming.remove(0, 1);
        return true;
    }
    bool write(const QByteArray& bytes) override {
        if (!open_) {
            return false;
        }
        if (failWrites > 0) {
            --failWrites;
            return false;
        }
        writes.push_back(bytes);
        if (responder) {
            deliver(responder(bytes), notifyAnswers);
        }
        return true;
    }
    void clearInput() override { incoming.clear(); }
    void setBytesArrived(std::function<void()> callback) override {
        bytesArrived_ = std::move(callback);
    }

    // Bytes from the logger; with `notify` the port announces them as QSerialPort would.
    void deliver(const QByteArray& bytes, bool notify) {
        if (bytes.isEmpty()) {
            return;
        }
        incoming += bytes;
        if (notify && bytesArrived_) {
            bytesArrived_();
        }
    }
    void setOpen(bool open) { open_ = open; }

  private:
    bool open_ = true;
    int number_ = 1;
    std::function<void()> bytesArrived_;
};

// An engine owner that records what the user would have seen.
class RecordingHost : public EngineHost {
  public:
    explicit RecordingHost(const TimerControl& timers) : timers_(timers) {}

    std::vector<std::pair<Msg, Msg>> failures;
    bool busyPointer = false;
    int ended = 0;
    int portLostCalls = 0;
    // Whether any of the four procedure timers was still armed when a procedure ended.
    bool timerArmedAtEnd = false;

    void showFailure(Msg firstMessage, Msg secondMessage) override {
        failures.emplace_back(firstMessage, secondMessage);
    }
    void setBusyPointer(bool busy) override { busyPointer = busy; }
    void procedureEnded() override {
        ++ended;
        for (TimerId id :
             {TimerId::InputTimer, TimerId::TimeOut, TimerId::MouseP, TimerId::DownloadTimer}) {
            if (timers_.isArmed(id) || timers_.interval(id) != 0) {
                timerArmedAtEnd = true;
            }
        }
    }
    void portLost() override { ++portLostCalls; }

  private:
    const TimerControl& timers_;
};

// A reply as the logger sends it: hundreds byte and two packed decimal digits per value.
inline QByteArray replyFrame(int r0, int r1, int r2, int r3) {
    QByteArray bytes;
    for (int v : {r0, r1, r2, r3}) {
        bytes.append(static_cast<char>(v / 100));
        bytes.append(static_cast<char>(((v / 10) % 10) << 4 | (v % 10)));
    }
    bytes.append('\xFF');
    return bytes;
}

inline const QByteArray kRefusalFrame = QByteArray("\xEE\xFF", 2);
