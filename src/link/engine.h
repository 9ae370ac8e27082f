// The transaction engine: sends the queued commands of one procedure one at a time, collects
// each reply up to its terminator, retries refusals and timeouts, and hands decoded replies to
// the handler registered for the command code. Its timers are tick methods driven from outside.
//
// How replies are matched to sends: the logger answers every frame, in the order sent, and a
// reply names its command only by its echo (kind and code in r0 and r1), which memory reads and
// Identify do not carry. So the engine counts the replies still owed: every send and every
// resend owes one, a record stream owes its whole sequence, and a refusal settles the send it
// answers. Only the replies owed by sends of the entry in flight are taken for it; a reply with
// a wrong echo never is. Before the next entry (or a repeated read with a new address) is sent,
// the replies still owed for the previous one are drained: discarded as they arrive, or
// forgotten once the line has been quiet for kQuietMs. When a reply cannot be told apart (a
// wrong echo) the engine resynchronises: it waits for the line to fall quiet, discards the
// input and sends again. A stream is never sent again on a time-out, since a second stream
// cannot be told from the rest of a late first one; the download watchdog ends a stream that
// does not come. A late reply costs time only.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "data/msg.h"
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
    virtual void showFailure(Msg firstMessage, Msg secondMessage) = 0;
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
    // The logger's interface was reset (the chip's pulse): nothing it owed is still coming.
    void interfaceReset() { owed_.clear(); }
    // Replies the logger still owes for frames already sent.
    int repliesOwed() const;
    // True while the next frame waits for the line: earlier replies are being drained, or the
    // engine is resynchronising after a reply it could not place.
    bool waitingForLine() const { return line_ != Line::Exchange; }

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
    // Without a byte for this long, replies still owed are no longer expected.
    static constexpr int kQuietMs = 1000;
    // Replies nobody owes that may pass while the engine waits for the line to fall quiet.
    static constexpr int kMaxStrayReplies = 16;

  private:
    enum class Line {
        Exchange,   // the entry in flight has been sent; its replies are taken
        Draining,   // the entry waits until the replies owed for earlier sends are through
        Resyncing,  // the entry waits for a quiet line, then is sent again
    };

    // The reply whose terminator sits at buffer_[fill_]: refusal, decoding, dispatch.
    void handleReply();
    // A reply that belongs to no command in flight: counted off and thrown away.
    void discardReply();
    // Settles one owed reply; a refusal settles the whole send it answers.
    void settleOwed(bool refusal);
    // Sends the entry at Head as a new command once nothing is owed, else drains first.
    void startExchange();
    void waitForLine(Line line);
    void lineQuiet();
    void resend();
    static bool carriesEcho(std::uint8_t code);
    static int repliesOf(const CommandEntry& entry);
    void dispatch(const Reply& reply);
    void advance();
    // Ends the procedure with a two-part message and a closed port.
    void fail(Msg firstMessage, Msg secondMessage);
    void stopExchangeTimers();
    void onBytesArrived();
    // `fresh`: a new command, so the input and the receive buffer start empty.
    bool sendFrame(bool fresh, bool mayRecover);
    bool isCurrentIdentify() const;

    SerialPort& port_;
    TimerControl& timers_;
    EngineHost& host_;
    CommandQueue queue_;
    std::array<std::uint8_t, 101> buffer_{};
    std::int16_t fill_ = 0;
    std::int32_t timeoutCount_ = 0;
    std::int32_t refusalCount_ = 0;
    // Replies still owed, oldest send first: one for a plain send, a stream's record count.
    std::deque<int> owed_;
    Line line_ = Line::Exchange;
    int strayReplies_ = 0;
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
