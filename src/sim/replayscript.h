// A recorded logger: the exchanges of a wire trace (each command the host wrote and the reply
// chunks that came back for it, with their delays) served in order. Pure logic on bytes and
// microseconds; ReplayServer puts it on a pseudo-terminal.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <vector>

struct ReplayChunk {
    qint64 delayUs = 0;  // after the command was written
    QByteArray bytes;
};

struct ReplayExchange {
    QByteArray command;
    int line = 0;  // the trace line that recorded the command
    std::vector<ReplayChunk> chunks;
};

// The exchanges of a trace; false with the reason (naming the line) when the trace is refused.
// Chunks that arrived before the first command belong to no exchange and are left out.
bool loadReplay(const QByteArray& trace, std::vector<ReplayExchange>& exchanges, QString& error);

class ReplayScript {
  public:
    // `fast`: every reply goes out at once instead of at its recorded delay.
    ReplayScript(std::vector<ReplayExchange> exchanges, bool fast);

    // Bytes the host wrote at `nowUs`; false once a command is not the one the trace holds
    // next (error() names it).
    bool receive(const QByteArray& bytes, qint64 nowUs);
    // The reply bytes due at `nowUs`, in order.
    QByteArray takeDue(qint64 nowUs);
    // When the next reply chunk is due; -1 when none is waiting.
    qint64 nextDueUs() const;
    const QString& error() const { return error_; }
    // Commands answered so far.
    int served() const { return next_; }
    int size() const { return static_cast<int>(exchanges_.size()); }

  private:
    struct Due {
        qint64 atUs;
        QByteArray bytes;
    };

    bool matches(const QByteArray& expected, const QByteArray& got) const;
    bool refuse(const QByteArray& got);

    std::vector<ReplayExchange> exchanges_;
    bool fast_;
    int next_ = 0;
    QByteArray input_;
    std::deque<Due> due_;
    QString error_;
};
