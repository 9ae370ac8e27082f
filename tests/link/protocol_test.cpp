// The wire codec: value pairs, frames, reply decoding limits, refusals, identify and INITALL.
#include <gtest/gtest.h>

#include <vector>

#include "link/commands.h"
#include "link/protocol.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ValueCase {
    int value;
    std::uint8_t hundreds;
    std::uint8_t packed;
};

TEST(ProtocolTest, EncodesValuesAsHundredsAndPackedDecimal) {
    const ValueCase cases[] = {{0, 0x00, 0x00},   {9, 0x00, 0x09},   {10, 0x00, 0x10},
                               {99, 0x00, 0x99},  {100, 0x01, 0x00}, {130, 0x01, 0x30},
                               {199, 0x01, 0x99}, {240, 0x02, 0x40}, {255, 0x02, 0x55}};
    for (const ValueCase& c : cases) {
        const auto pair = Protocol::encodeValue(static_cast<std::uint8_t>(c.value));
        EXPECT_EQ(pair[0], c.hundreds) << c.value;
        EXPECT_EQ(pair[1], c.packed) << c.value;
        EXPECT_EQ(Protocol::decodeValue(c.hundreds, c.packed), c.value) << c.value;
    }
}

TEST(ProtocolTest, EveryByteValueSurvivesTheRoundTrip) {
    for (int v = 0; v <= 255; ++v) {
        const auto pair = Protocol::encodeValue(static_cast<std::uint8_t>(v));
        ASSERT_LE(pair[0], 2);
        ASSERT_NE(pair[1], kTerminator);
        ASSERT_EQ(Protocol::decodeValue(pair[0], pair[1]), v);
    }
}

TEST(ProtocolTest, FramesCarryFourPairsAndTheTerminator) {
    const struct {
        std::uint8_t kind, code, arg1, arg2;
        Bytes frame;
    } cases[] = {
        {1, code(Command::Identify), 0, 0, {0x00, 0x01, 0x00, 0x99, 0x00, 0x00, 0x00, 0x00, 0xFF}},
        {1,
         code(Command::ReadMemory),
         240,
         8,
         {0x00, 0x01, 0x00, 0x08, 0x02, 0x40, 0x00, 0x08, 0xFF}},
        {1,
         code(Command::StartRecording),
         kUnitMinutes,
         255,
         {0x00, 0x01, 0x00, 0x11, 0x01, 0x31, 0x02, 0x55, 0xFF}},
        {255, 100, 0, 199, {0x02, 0x55, 0x01, 0x00, 0x00, 0x00, 0x01, 0x99, 0xFF}},
    };
    for (const auto& c : cases) {
        const Protocol::Frame frame = Protocol::encodeFrame(c.kind, c.code, c.arg1, c.arg2);
        EXPECT_EQ(Bytes(frame.begin(), frame.end()), c.frame) << int(c.code);
        const QByteArray bytes = Protocol::frameBytes(c.kind, c.code, c.arg1, c.arg2);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), c.frame) << int(c.code);
    }
}

struct ReplyCase {
    const char* name;
    Bytes body;
    Protocol::ReplyStatus status;
    std::array<std::uint8_t, 4> r;
    int faultPosition;
    int faultValue;
};

TEST(ProtocolTest, DecodesRepliesFromTheirLastEightBytesAndChecksEveryValue) {
    using S = Protocol::ReplyStatus;
    const ReplyCase cases[] = {
        {"identify echo",
         {0x00, 0x01, 0x00, 0x99, 0x00, 0x00, 0x00, 0x00},
         S::Ok,
         {1, 99, 0, 0},
         -1,
         0},
        {"largest values",
         {0x02, 0x55, 0x02, 0x55, 0x02, 0x55, 0x02, 0x55},
         S::Ok,
         {255, 255, 255, 255},
         -1,
         0},
        {"bytes before the last eight ignored",
         {0x41, 0x02, 0x99, 0xEE, 0x00, 0x01, 0x00, 0x30, 0x00, 0x12, 0x01, 0x27},
         S::Ok,
         {1, 30, 12, 127},
         -1,
         0},
        {"upper nibble of hundreds ignored",
         {0xF0, 0x01, 0x31, 0x00, 0x00, 0x00, 0xA2, 0x00},
         S::Ok,
         {1, 100, 0, 200},
         -1,
         0},
        {"seven bytes", {0x00, 0x01, 0x00, 0x30, 0x00, 0x00, 0x00}, S::TooShort, {}, -1, 0},
        {"nothing", {}, S::TooShort, {}, -1, 0},
        {"256 in r2", {0x00, 0x01, 0x00, 0x30, 0x02, 0x56, 0x00, 0x00}, S::BadValue, {}, 2, 256},
        {"hundreds nibble 3",
         {0x00, 0x01, 0x00, 0x30, 0x00, 0x00, 0x03, 0x00},
         S::BadValue,
         {},
         3,
         300},
        {"packed nibbles above nine",
         {0x02, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         S::BadValue,
         {},
         0,
         365},
        {"largest nibble sum",
         {0x00, 0x00, 0x0F, 0xFF, 0x00, 0x00, 0x00, 0x00},
         S::BadValue,
         {},
         1,
         1665},
        {"nibble above nine within range",
         {0x00, 0x0A, 0x01, 0xA5, 0x00, 0x00, 0x00, 0x00},
         S::Ok,
         {10, 205, 0, 0},
         -1,
         0},
    };
    for (const ReplyCase& c : cases) {
        const Protocol::DecodedReply reply = Protocol::decodeReply(c.body);
        EXPECT_EQ(reply.status, c.status) << c.name;
        if (c.status == S::Ok) {
            EXPECT_EQ(reply.r, c.r) << c.name;
        }
        if (c.status == S::BadValue) {
            EXPECT_EQ(reply.faultPosition, c.faultPosition) << c.name;
            EXPECT_EQ(reply.faultValue, c.faultValue) << c.name;
            EXPECT_EQ(reply.r, (std::array<std::uint8_t, 4>{})) << c.name;
        }
    }
}

TEST(ProtocolTest, RefusalIsTheFirstByteOnly) {
    EXPECT_TRUE(Protocol::isRefusal(Bytes{0xEE}));
    EXPECT_TRUE(Protocol::isRefusal(Bytes{0xEE, 0x00, 0x01}));
    EXPECT_FALSE(Protocol::isRefusal(Bytes{}));
    EXPECT_FALSE(Protocol::isRefusal(Bytes{0x00, 0xEE}));
    EXPECT_FALSE(Protocol::isRefusal(Bytes{0xED}));
}

TEST(ProtocolTest, IdentifyReplyGivesModelTextAndVersionBytes) {
    const struct {
        Bytes body;
        bool valid;
        QString model;
        std::uint8_t major, minor;
    } cases[] = {
        {{'Q', 'M', '3', '2', '0', '-', 'H', 'X', 1, 5}, true, QStringLiteral("QM320-HX"), 1, 5},
        {{'x', 'Q', 'M', '3', '0', '0', '-', 'H', 'X', 2, 0xEE},
         true,
         QStringLiteral("xQM300-HX"),
         2,
         0xEE},
        {{3, 4}, true, QString(), 3, 4},
        {{7}, false, QString(), 0, 0},
        {{}, false, QString(), 0, 0},
    };
    for (const auto& c : cases) {
        const Protocol::IdentifyReply reply = Protocol::decodeIdentify(c.body);
        EXPECT_EQ(reply.valid, c.valid) << c.body.size();
        EXPECT_EQ(reply.model, c.model) << c.body.size();
        EXPECT_EQ(reply.firmwareMajor, c.major) << c.body.size();
        EXPECT_EQ(reply.firmwareMinor, c.minor) << c.body.size();
    }
}

TEST(ProtocolTest, InitAllIsSevenLettersAndTheTerminator) {
    EXPECT_EQ(Protocol::initAllCommand(), QByteArray("INITALL\xFF", 8));
}

}  // namespace
