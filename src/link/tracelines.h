// The wire trace's file format, one JSON object per line, and its reader. Header-only: the
// simulator replays traces and shares this header the way it shares commands.h.
//
// Every line has "t_us" (microseconds on a monotonic clock, never decreasing) and "ev":
//   open      "port", "settings", "ok"     a port opened (or refused to open)
//   close     "port"                       a port closed
//   tx        "hex", "cmd" (frames only)   bytes written to the logger, one write
//   rx        "hex"                        bytes read as they arrived, one chunk
//   cbus      "level", "status"            the chip's CBUS lines driven for a reset
//   usb       "status"                     the USB device changed state (0 present, 2 gone,
//                                          3 present but not permitted)
//   proc_start "proc"                      a procedure began with its keyword
//   proc_end                               a procedure ended
//   refusal   "cmd", "count"               the logger refused a command (count in a row)
//   timeout   "cmd", "count"               no reply in time (count in a row)
//   retry     "cmd"                        a command sent again
//   fail      "msg"                        a procedure ended with these two messages
//   recover   "port", "ok"                 the port reopened after an error
//   watchdog                               a download stalled
#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "link/commands.h"

namespace traceLines {

inline constexpr qsizetype kMaxLineBytes = 1 << 16;
// The most bytes one tx or rx line may carry.
inline constexpr qsizetype kMaxChunkBytes = 16384;
inline constexpr int kFrameBytes = 9;

inline const QStringList& eventNames() {
    static const QStringList names = {
        QStringLiteral("open"),       QStringLiteral("close"),    QStringLiteral("tx"),
        QStringLiteral("rx"),         QStringLiteral("cbus"),     QStringLiteral("usb"),
        QStringLiteral("proc_start"), QStringLiteral("proc_end"), QStringLiteral("refusal"),
        QStringLiteral("timeout"),    QStringLiteral("retry"),    QStringLiteral("fail"),
        QStringLiteral("recover"),    QStringLiteral("watchdog")};
    return names;
}

// The command code a 9-byte frame carries (hundreds byte and packed decimal); -1 when the
// bytes are no frame.
inline int frameCommand(const QByteArray& bytes) {
    if (bytes.size() != kFrameBytes || static_cast<std::uint8_t>(bytes.back()) != kTerminator) {
        return -1;
    }
    const auto hundreds = static_cast<std::uint8_t>(bytes[2]);
    const auto packed = static_cast<std::uint8_t>(bytes[3]);
    if ((packed >> 4) > 9 || (packed & 0x0F) > 9 || (hundreds & 0x0F) > 2) {
        return -1;
    }
    const int value = (hundreds & 0x0F) * 100 + (packed >> 4) * 10 + (packed & 0x0F);
    return value <= 255 ? value : -1;
}

// "GetStatus (01 1e ...)" style: the name when the bytes are a known frame, then the bytes.
inline QString describeBytes(const QByteArray& bytes) {
    const int command = frameCommand(bytes);
    const char* name = command >= 0 ? commandNameOf(static_cast<std::uint8_t>(command)) : nullptr;
    const QString hex = QString::fromLatin1(bytes.left(64).toHex(' '));
    if (name == nullptr) {
        return command >= 0 ? QStringLiteral("command %1 (%2)").arg(command).arg(hex)
                            : QStringLiteral("bytes (%1)").arg(hex);
    }
    return QStringLiteral("%1 (%2)").arg(QLatin1String(name), hex);
}

struct Line {
    int number = 0;  // 1-based line number in the file
    qint64 tUs = 0;
    QString ev;
    QByteArray bytes;  // tx and rx only
    QJsonObject object;
};

struct ReadResult {
    std::vector<Line> lines;
    QString error;  // "line N: ..." when the text was refused
    bool ok() const { return error.isEmpty(); }
};

// Lower-case or upper-case hex digits, an even count, at most kMaxChunkBytes bytes.
inline bool decodeHex(const QString& text, QByteArray& bytes) {
    if (text.isEmpty() || text.size() % 2 != 0 || text.size() > 2 * kMaxChunkBytes) {
        return false;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F'))) {
            return false;
        }
    }
    bytes = QByteArray::fromHex(text.toLatin1());
    return true;
}

// Reads a whole trace. Every line is checked; the first bad one refuses the trace by number.
inline ReadResult read(const QByteArray& text) {
    ReadResult result;
    const auto refuse = [&result](int number, const QString& why) {
        result.lines.clear();
        result.error = QStringLiteral("line %1: %2").arg(number).arg(why);
        return result;
    };
    qint64 lastTime = 0;
    qsizetype start = 0;
    int number = 0;
    while (start < text.size()) {
        ++number;
        qsizetype end = text.indexOf('\n', start);
        const bool complete = end >= 0;
        if (!complete) {
            end = text.size();
        }
        const QByteArray raw = text.mid(start, end - start);
        start = end + 1;
        if (raw.size() > kMaxLineBytes) {
            return refuse(number, QStringLiteral("longer than %1 bytes").arg(kMaxLineBytes));
        }
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(raw, &parseError);
        if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
            return refuse(number, complete ? QStringLiteral("not a JSON object")
                                           : QStringLiteral("cut off (no line end)"));
        }
        Line line;
        line.number = number;
        line.object = document.object();
        const QJsonValue time = line.object.value(QStringLiteral("t_us"));
        const double t = time.toDouble(-1);
        if (!time.isDouble() || t < 0 || t > 9.0e15 || t != static_cast<double>(qint64(t))) {
            return refuse(number, QStringLiteral("no whole \"t_us\" of 0 or more"));
        }
        line.tUs = static_cast<qint64>(t);
        if (line.tUs < lastTime) {
            return refuse(number, QStringLiteral("\"t_us\" goes back in time"));
        }
        lastTime = line.tUs;
        line.ev = line.object.value(QStringLiteral("ev")).toString();
        if (!eventNames().contains(line.ev)) {
            return refuse(number, QStringLiteral("unknown \"ev\" \"%1\"").arg(line.ev.left(32)));
        }
        if (line.ev == QLatin1String("tx") || line.ev == QLatin1String("rx")) {
            if (!decodeHex(line.object.value(QStringLiteral("hex")).toString(), line.bytes)) {
                return refuse(number, QStringLiteral("\"hex\" is not 1 to %1 bytes of hex digits")
                                          .arg(kMaxChunkBytes));
            }
        }
        result.lines.push_back(std::move(line));
    }
    return result;
}

}  // namespace traceLines
