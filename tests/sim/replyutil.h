// Test-side reading of the logger's replies, written from the frame layout and not from the
// simulator's own encoder, so both sides are checked against each other.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/commands.h"
#include "sim/simlogger.h"

// Frame bytes of one command: (hundreds, packed) pairs written out digit by digit.
inline QByteArray commandFrame(int code, int arg1 = 0, int arg2 = 0) {
    QByteArray frame;
    for (const int v : {1, code, arg1, arg2}) {
        frame.append(static_cast<char>(v / 100));
        frame.append(static_cast<char>(((v % 100) / 10) << 4 | (v % 10)));
    }
    frame.append(static_cast<char>(0xFF));
    return frame;
}

// Values of the last eight bytes before the terminator, or -1 per value when the frame is too
// short. Values above 255 come back as they decode.
inline std::array<int, 4> replyValues(const QByteArray& frame) {
    std::array<int, 4> values{-1, -1, -1, -1};
    const qsizetype end = frame.indexOf(static_cast<char>(0xFF));
    if (end < 8) {
        return values;
    }
    for (int i = 0; i < 4; ++i) {
        const auto h = static_cast<std::uint8_t>(frame[end - 8 + 2 * i]);
        const auto p = static_cast<std::uint8_t>(frame[end - 7 + 2 * i]);
        values[i] = (h & 0x0F) * 100 + (p >> 4) * 10 + (p & 0x0F);
    }
    return values;
}

// Splits output into frames, each ending with its terminator.
inline std::vector<QByteArray> splitFrames(const QByteArray& bytes) {
    std::vector<QByteArray> frames;
    qsizetype from = 0;
    for (qsizetype end = bytes.indexOf(static_cast<char>(0xFF)); end >= 0;
         end = bytes.indexOf(static_cast<char>(0xFF), from)) {
        frames.push_back(bytes.mid(from, end - from + 1));
        from = end + 1;
    }
    return frames;
}

// One exchange: the reply's four values (all -1 when nothing came back).
inline std::array<int, 4> exchange(SimLogger& logger, Command command, int arg1 = 0, int arg2 = 0) {
    logger.receive(commandFrame(code(command), arg1, arg2));
    return replyValues(logger.takeOutput());
}

// A packed-decimal byte as a number, or nothing when a nibble is above 9.
inline std::optional<int> unpacked(int byte) {
    if ((byte >> 4) > 9 || (byte & 0x0F) > 9) {
        return std::nullopt;
    }
    return (byte >> 4) * 10 + (byte & 0x0F);
}

// yy mm dd hh mm ss in packed decimal, or nothing when they do not form a date and time.
inline std::optional<QDateTime> packedDateTime(const std::array<int, 6>& b) {
    std::array<int, 6> v{};
    for (int i = 0; i < 6; ++i) {
        const auto digit = unpacked(b[i]);
        if (!digit) {
            return std::nullopt;
        }
        v[i] = *digit;
    }
    const QDate date(2000 + v[0], v[1], v[2]);
    const QTime time(v[3], v[4], v[5]);
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}
