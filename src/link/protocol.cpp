// The logger's wire format: frame encoding and reply decoding.
#include "link/protocol.h"

#include <cstring>

#include "link/commands.h"

namespace Protocol {

std::array<std::uint8_t, 2> encodeValue(std::uint8_t value) {
    const int rest = value % 100;
    return {static_cast<std::uint8_t>(value / 100),
            static_cast<std::uint8_t>((rest / 10) * 16 + rest % 10)};
}

int decodeValue(std::uint8_t hundreds, std::uint8_t packed) {
    return (hundreds & 0x0F) * 100 + ((packed & 0xF0) >> 4) * 10 + (packed & 0x0F);
}

Frame encodeFrame(std::uint8_t kind, std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2) {
    Frame frame{};
    const std::uint8_t values[4] = {kind, code, arg1, arg2};
    for (int i = 0; i < 4; ++i) {
        const auto pair = encodeValue(values[i]);
        frame[2 * i] = pair[0];
        frame[2 * i + 1] = pair[1];
    }
    frame[kFrameBytes - 1] = kTerminator;
    return frame;
}

QByteArray frameBytes(std::uint8_t kind, std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2) {
    const Frame frame = encodeFrame(kind, code, arg1, arg2);
    return QByteArray(reinterpret_cast<const char*>(frame.data()), kFrameBytes);
}

DecodedReply decodeReply(std::span<const std::uint8_t> body) {
    DecodedReply reply;
    if (body.size() < static_cast<std::size_t>(kReplyValueBytes)) {
        reply.status = ReplyStatus::TooShort;
        return reply;
    }
    const auto tail = body.last(kReplyValueBytes);
    for (int i = 0; i < 4; ++i) {
        const int value = decodeValue(tail[2 * i], tail[2 * i + 1]);
        if (value > 255) {
            reply.status = ReplyStatus::BadValue;
            reply.r = {};
            reply.faultPosition = i;
            reply.faultValue = value;
            return reply;
        }
        reply.r[i] = static_cast<std::uint8_t>(value);
    }
    reply.status = ReplyStatus::Ok;
    return reply;
}

bool isRefusal(std::span<const std::uint8_t> body) {
    return !body.empty() && body.front() == kRefusal;
}

IdentifyReply decodeIdentify(std::span<const std::uint8_t> body) {
    IdentifyReply reply;
    if (body.size() < 2) {
        return reply;
    }
    const std::size_t textBytes = body.size() - 2;
    reply.model = QString::fromLatin1(reinterpret_cast<const char*>(body.data()),
                                      static_cast<qsizetype>(textBytes));
    reply.firmwareMajor = body[textBytes];
    reply.firmwareMinor = body[textBytes + 1];
    reply.valid = true;
    return reply;
}

QByteArray initAllCommand() {
    QByteArray bytes(kInitAll, static_cast<qsizetype>(std::strlen(kInitAll)));
    bytes.append(static_cast<char>(kTerminator));
    return bytes;
}

}  // namespace Protocol
