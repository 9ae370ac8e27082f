// The transaction engine: sends the queued commands of one procedure one at a time, collects
// each reply up to its terminator, retries refusals and timeouts, and hands decoded replies to
// the handler registered for the command code. Its timers are tick methods driven from outside.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "link/commandqueue.h"
#include "link/serialport.h"
#include "link/timers.h"

// One complete reply: the four decoded values and the raw bytes before the terminator.
struct Reply {
    std::array<std::uint8_t, 4> r{};
    QByteArray raw;
};

// How a reply handler lets the engine go on.
enum class ReplyAction {
    Advance,  // send the next entry, or end the procedure after the last
    Repeat,   // send the same entry again (its arguments may have been updated)
    Wait,     // send nothing: more streamed replies belong to this entry
    Ended,    // the handler ended the procedure itself (Pro_End already ran)
};

using ReplyHandler = std::function<ReplyAction(CommandEntry& entry, const Reply& reply)>;

// What the engine needs from its owner: messages, the pointer and the end-of-procedure refresh.
class EngineHost {
  public:
    virtual ~EngineHost() = default;
    // A modal OK box joining two message-table entries with two carriage returns.
    virtual void showFailure(int firstMessage, int secondMessage) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    // Pro_End's last steps: enable the main window and run the status refresh.
    virtual void procedureEnded() = 0;
    // The port could not be reopened after an error: the logger's recording state is unknown.
    virtual void portLost() {}
};

class Engine {
  public:
    Engine(SerialPort& port, TimerControl& timers, EngineHost& host);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    CommandQueue& queue() { return queue_; }
    const CommandQueue& queue() const { return queue_; }
    // A procedure runs exactly while Count is non-zero.
    bool busy() const { return queue_.Count != 0; }

    // Count and Head to 0, ready for a new batch.
    void begin();
    // Appends one entry and clears both retry counters; false when the queue is full.
    bool Enqueue(std::uint8_t kind, std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2,
                 const QString& keyword, std::int32_t value);
    bool Enqueue(Command command, std::uint8_t arg1, std::uint8_t arg2, const QString& keyword,
                 std::int32_t value = 0);
    void SendCurrent();

    // Writes the raw initialise command straight to the port, only while no procedure runs
    // and the port is open; no reply is awaited. False when nothing was written.
    bool sendInitAll();

    void inputTick();
    void timeOutTick();
    void mousePTick();

    void Pro_End();
    bool RecoverPort();
    // Nothing more is read, resent or timed out until the procedure ends; for a handler that
    // must wait (events running) before it ends the procedure itself.
    void holdExchange() { stopExchangeTimers(); }

    // Line settings and port number used by RecoverPort to reopen the port.
    void setLineSettings(const QString& settings, int portNumber);

    void setHandler(Command command, ReplyHandler handler);
    // Extra work of Pro_End owned by other modules (the download watchdog counter, ...), run
    // before the host's refresh.
    void addProEndHook(std::function<void()> hook);

    SerialPort& port() { return port_; }
    TimerControl& timers() { return timers_; }
    std::int32_t timeoutCount() const { return timeoutCount_; }
    std::int32_t refusalCount() const { return refusalCount_; }
    int receiveFill() const { return fill_; }

    static constexpr int kInputIntervalMs = 1;
    static constexpr int kTimeOutIntervalMs = 500;
    static constexpr int kMousePIntervalMs = 700;
    static constexpr int kMaxRefusals = 10;  // resends after a refusal before giving up
    static constexpr int kMaxResends = 3;    // resends after a timeout before giving up

  private:
    // The reply whose terminator sits at buffer_[fill_]: refusal, decoding, dispatch.
    void handleReply();
    void dispatch(const Reply& reply);
    void advance();
    // Ends the procedure with a two-part message and a closed port.
    void fail(int firstMessage, int secondMessage);
    void stopExchangeTimers();
    void onBytesArrived();
    bool sendFrame(bool mayRecover);
    bool isCurrentIdentify() const;

    SerialPort& port_;
    TimerControl& timers_;
    EngineHost& host_;
    CommandQueue queue_;
    std::array<std::uint8_t, 101> buffer_{};
    std::int16_t fill_ = 0;
    std::int32_t timeoutCount_ = 0;
    std::int32_t refusalCount_ = 0;
    QString settings_;
    int portNumber_ = 0;
    std::array<ReplyHandler, 256> handlers_{};
    std::vector<std::function<void()>> proEndHooks_;
    // Bumped by begin() and Pro_End, so a tick notices a handler that ended the procedure or
    // started a new batch and drops its own follow-up.
    std::uint32_t generation_ = 0;
    // Set while a tick runs; a nested tick (a modal box pumping events inside a handler)
    // returns at once instead of reading into the buffer under the running one.
    bool inTick_ = false;
};
