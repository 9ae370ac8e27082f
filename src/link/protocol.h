// The logger's wire format: 9-byte command frames, replies decoded from the last eight bytes
// before the terminator, refusals, the identify reply and the raw initialise command. Pure
// functions on bytes; every length and value is checked.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <span>

namespace Protocol {

inline constexpr int kFrameBytes = 9;
// Bytes of a decoded reply before its terminator: four (hundreds, packed decimal) pairs.
inline constexpr int kReplyValueBytes = 8;

using Frame = std::array<std::uint8_t, kFrameBytes>;

// One value as its hundreds byte and the packed decimal of its last two digits.
std::array<std::uint8_t, 2> encodeValue(std::uint8_t value);
// The reverse, digit by digit, ignoring the upper nibble of the hundreds byte. Nibbles above 9
// are taken at face value, so the result may exceed 255 (at most 1665).
int decodeValue(std::uint8_t hundreds, std::uint8_t packed);

Frame encodeFrame(std::uint8_t kind, std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2);
QByteArray frameBytes(std::uint8_t kind, std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2);

enum class ReplyStatus {
    Ok,
    TooShort,  // fewer than eight bytes before the terminator
    BadValue,  // a pair decodes to more than 255
};

struct DecodedReply {
    ReplyStatus status = ReplyStatus::TooShort;
    std::array<std::uint8_t, 4> r{};  // valid only when status is Ok
    int faultPosition = -1;           // BadValue: which of r0..r3
    int faultValue = 0;               // BadValue: the decoded value above 255
};

// `body` is the reply without its terminator; only its last eight bytes are decoded.
DecodedReply decodeReply(std::span<const std::uint8_t> body);

// A reply whose first byte is the refusal byte.
bool isRefusal(std::span<const std::uint8_t> body);

struct IdentifyReply {
    bool valid = false;  // false when fewer than the two version bytes arrived
    QString model;       // the single-byte characters before the version bytes
    std::uint8_t firmwareMajor = 0;
    std::uint8_t firmwareMinor = 0;
};

// `body` is the identify reply without its terminator.
IdentifyReply decodeIdentify(std::span<const std::uint8_t> body);

// "INITALL" followed by the terminator, written straight to the port.
QByteArray initAllCommand();

inline std::span<const std::uint8_t> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

}  // namespace Protocol
