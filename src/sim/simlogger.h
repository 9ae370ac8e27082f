// The simulated logger: reads command frames, answers them from its state, changes its state
// on set commands, records while time passes, and misbehaves on demand.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "sim/simcodec.h"
#include "sim/simstate.h"

class SimLogger {
  public:
    SimLogger();

    SimLoggerState& state() { return state_; }
    const SimLoggerState& state() const { return state_; }
    SimFaults& faults() { return faults_; }

    // What the sensor measures now and what live records hold.
    void setClimate(SimClimateCurve climate);
    SimClimate climateNow() const;
    void setClock(const QDateTime& dateTime);

    // Bytes from the host. Frames end at 0xFF; a frame that is not eight valid bytes of
    // four pairs (or the raw initialise command) is ignored, as by the device.
    void receive(const QByteArray& bytes);
    // Bytes for the host, at most `maxBytes`; a running stream is generated as it is taken.
    QByteArray takeOutput(int maxBytes = std::numeric_limits<int>::max());
    bool hasOutput() const;
    // Replies that are to be late: the output is held at the start of such a reply until the
    // server, which keeps the wall clock, releases it. Replies behind it wait too, as behind a
    // busy device. heldMs() is the hold of the reply the output has reached (0: none);
    // bytesBeforeHold() how many bytes may go out before the next held reply.
    int heldMs() const;
    void releaseHold();
    qsizetype bytesBeforeHold() const;
    // Forgets unsent replies and any running stream (the host closed the line).
    void discardOutput();
    // Stops generating a running stream; what was generated can still be taken.
    void endStream() { stream_.reset(); }

    // Moves the clock on; a recording takes its records and a reserved start begins.
    void advanceTime(qint64 milliseconds);

    // The reset contract of the USB chip: with `required`, Identify is not answered until the
    // CBUS lines have gone high and then low.
    void setRequireReset(bool required) { requireReset_ = required; }
    bool requiresReset() const { return requireReset_; }
    // The lines going high and then low reset the interface: a half-received frame, unsent
    // replies and a running stream are dropped. True when this level completed such a pulse.
    bool cbusLevel(std::uint8_t level);
    bool resetSeen() const { return resetSeen_; }

    // Starts a new recording at the present clock with the programmed interval.
    void beginRecording();

    const std::vector<SimCommand>& history() const { return history_; }
    int streamedRecords() const { return streamedRecords_; }
    int malformedFrames() const { return malformedFrames_; }
    int initialiseCount() const { return initialiseCount_; }
    int auxCommandCount() const { return auxCommandCount_; }
    bool streaming() const { return stream_.has_value(); }
    // True once after the command named by faults().unplugAfter has been answered: the front
    // end removes the device when that reply has left.
    bool takeUnplugRequest() { return std::exchange(unplugRequested_, false); }

  private:
    struct Stream {
        int nextAddress = 0;
        int endAddress = 0;
        int sent = 0;
    };

    void handleFrame(const QByteArray& body);
    void handleCommand(const SimCommand& command);
    // The reply's four values, or nothing for a reply that is not value pairs.
    std::optional<std::array<std::uint8_t, 4>> execute(const SimCommand& command);
    QByteArray identifyReply() const;
    std::array<std::uint8_t, 4> memoryAt(int address) const;
    QByteArray decorate(std::uint8_t code, QByteArray reply) const;
    void initialise();
    void takeRecord();
    // The first moment after the clock whose day, hour and minute are the reserved ones.
    std::optional<QDateTime> reservedStart() const;

    SimLoggerState state_;
    SimFaults faults_;
    SimClimateCurve climate_;
    QByteArray input_;
    QByteArray output_;
    std::optional<Stream> stream_;
    std::uint8_t streamCode_ = 0;
    std::vector<SimCommand> history_;
    std::map<std::uint8_t, int> sends_;
    // Where held replies begin, counted in bytes since the start, with their hold in ms.
    struct Hold {
        qint64 offset = 0;
        int ms = 0;
    };
    std::deque<Hold> holds_;
    qint64 taken_ = 0;
    qint64 subSecondMs_ = 0;
    bool requireReset_ = false;
    bool resetSeen_ = false;
    bool sawHigh_ = false;
    bool unplugRequested_ = false;
    int streamedRecords_ = 0;
    int malformedFrames_ = 0;
    int initialiseCount_ = 0;
    int auxCommandCount_ = 0;
};
