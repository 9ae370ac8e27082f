// Device-side frame encoding and strict command decoding.
#include "sim/simcodec.h"

#include "link/commands.h"

namespace simcodec {

std::array<std::uint8_t, 2> encodeValue(std::uint8_t value) {
    const int rest = value % 100;
    return {static_cast<std::uint8_t>(value / 100), packed(rest)};
}

std::optional<std::uint8_t> decodeValue(std::uint8_t hundreds, std::uint8_t packedByte) {
    const int tens = packedByte >> 4;
    const int units = packedByte & 0x0F;
    if (hundreds > 2 || tens > 9 || units > 9) {
        return std::nullopt;
    }
    const int value = hundreds * 100 + tens * 10 + units;
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<SimCommand> decodeCommand(const QByteArray& body) {
    if (body.size() != 8) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 4> values{};
    for (int i = 0; i < 4; ++i) {
        const auto value = decodeValue(static_cast<std::uint8_t>(body[2 * i]),
                                       static_cast<std::uint8_t>(body[2 * i + 1]));
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
    }
    return SimCommand{values[0], values[1], values[2], values[3]};
}

QByteArray encodeReply(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2, std::uint8_t r3) {
    QByteArray frame;
    frame.reserve(9);
    for (const std::uint8_t value : {r0, r1, r2, r3}) {
        const auto pair = encodeValue(value);
        frame.append(static_cast<char>(pair[0]));
        frame.append(static_cast<char>(pair[1]));
    }
    frame.append(static_cast<char>(kTerminator));
    return frame;
}

QByteArray encodeCommand(const SimCommand& command) {
    return encodeReply(command.kind, command.code, command.arg1, command.arg2);
}

std::uint8_t packed(int value) {
    return static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
}

}  // namespace simcodec
