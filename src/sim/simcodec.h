// The device side of the wire encoding, written apart from the link so that a codec fault on
// either side shows up as a failed exchange instead of cancelling itself out.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

struct SimCommand {
    std::uint8_t kind = 0;
    std::uint8_t code = 0;
    std::uint8_t arg1 = 0;
    std::uint8_t arg2 = 0;
};

namespace simcodec {

// Hundreds byte and packed-decimal byte of one value.
std::array<std::uint8_t, 2> encodeValue(std::uint8_t value);

// The value of one (hundreds, packed) pair, or nothing when a digit is out of range or the
// value does not fit a byte: the device answers nothing to a frame it cannot read.
std::optional<std::uint8_t> decodeValue(std::uint8_t hundreds, std::uint8_t packed);

// A command frame without its terminator: exactly eight bytes of four valid pairs.
std::optional<SimCommand> decodeCommand(const QByteArray& body);

// Nine bytes: four pairs and the terminator.
QByteArray encodeReply(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2, std::uint8_t r3);

// Nine bytes of a command frame, as a host would send it (used by tests and the tool's probe).
QByteArray encodeCommand(const SimCommand& command);

// Packed-decimal byte of 0..99 (0x25 for 25).
std::uint8_t packed(int value);

}  // namespace simcodec
