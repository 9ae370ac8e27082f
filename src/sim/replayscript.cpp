// Serving a recorded trace: commands matched in order, replies scheduled at their delays.
#include "sim/replayscript.h"

#include <algorithm>

#include "link/commands.h"
#include "link/tracelines.h"

namespace {

// Commands that carry the host's present time: a replay at another time writes other
// arguments, so only the command itself must match.
bool carriesPresentTime(int command) {
    return command == code(Command::SetClockMonthYear) ||
           command == code(Command::SetClockHourDay) ||
           command == code(Command::SetClockSecondMinute);
}

}  // namespace

bool loadReplay(const QByteArray& trace, std::vector<ReplayExchange>& exchanges, QString& error) {
    exchanges.clear();
    const traceLines::ReadResult read = traceLines::read(trace);
    if (!read.ok()) {
        error = read.error;
        return false;
    }
    qint64 sentUs = 0;
    for (const traceLines::Line& line : read.lines) {
        if (line.ev == QLatin1String("tx")) {
            exchanges.push_back(ReplayExchange{line.bytes, line.number, {}});
            sentUs = line.tUs;
        } else if (line.ev == QLatin1String("rx") && !exchanges.empty()) {
            exchanges.back().chunks.push_back(ReplayChunk{line.tUs - sentUs, line.bytes});
        }
    }
    if (exchanges.empty()) {
        error = QStringLiteral("the trace holds no command");
        return false;
    }
    return true;
}

ReplayScript::ReplayScript(std::vector<ReplayExchange> exchanges, bool fast)
    : exchanges_(std::move(exchanges)), fast_(fast) {}

bool ReplayScript::matches(const QByteArray& expected, const QByteArray& got) const {
    if (expected == got) {
        return true;
    }
    const int command = traceLines::frameCommand(expected);
    return carriesPresentTime(command) && traceLines::frameCommand(got) == command &&
           expected.left(2) == got.left(2);
}

bool ReplayScript::refuse(const QByteArray& got) {
    const QString what = traceLines::describeBytes(got);
    if (next_ >= size()) {
        error_ = QStringLiteral("%1 is not in the trace: it ends after %2 commands")
                     .arg(what)
                     .arg(size());
    } else {
        const ReplayExchange& expected = exchanges_[static_cast<std::size_t>(next_)];
        error_ = QStringLiteral("%1 is not in the trace: line %2 holds %3 as command %4")
                     .arg(what)
                     .arg(expected.line)
                     .arg(traceLines::describeBytes(expected.command))
                     .arg(next_ + 1);
    }
    return false;
}

bool ReplayScript::receive(const QByteArray& bytes, qint64 nowUs) {
    if (!error_.isEmpty()) {
        return false;
    }
    input_ += bytes;
    while (!input_.isEmpty()) {
        if (next_ >= size()) {
            // Named once it is whole: a frame, or whatever came up to a terminator.
            const qsizetype end = input_.indexOf(static_cast<char>(kTerminator));
            if (end < 0 && input_.size() < traceLines::kFrameBytes) {
                return true;
            }
            return refuse(input_.left(end >= 0 ? end + 1 : traceLines::kFrameBytes));
        }
        const ReplayExchange& exchange = exchanges_[static_cast<std::size_t>(next_)];
        const QByteArray& expected = exchange.command;
        if (input_.size() < expected.size()) {
            // Kind and command must already agree; the arguments may differ (present time).
            const qsizetype head = std::min<qsizetype>(input_.size(), 4);
            return input_.left(head) == expected.left(head) || refuse(input_);
        }
        const QByteArray got = input_.left(expected.size());
        if (!matches(expected, got)) {
            return refuse(got);
        }
        input_.remove(0, expected.size());
        qint64 last = due_.empty() ? nowUs : due_.back().atUs;
        for (const ReplayChunk& chunk : exchange.chunks) {
            last = std::max(last, fast_ ? nowUs : nowUs + chunk.delayUs);
            due_.push_back(Due{last, chunk.bytes});
        }
        ++next_;
    }
    return true;
}

QByteArray ReplayScript::takeDue(qint64 nowUs) {
    QByteArray out;
    while (!due_.empty() && due_.front().atUs <= nowUs) {
        out += due_.front().bytes;
        due_.pop_front();
    }
    return out;
}

qint64 ReplayScript::nextDueUs() const {
    return due_.empty() ? -1 : due_.front().atUs;
}
