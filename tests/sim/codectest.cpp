// The simulator's frame encoding against byte sequences written out by hand.
#include <gtest/gtest.h>

#include "sim/simcodec.h"

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

struct ValueCase {
    int value;
    int hundreds;
    int packed;
};

TEST(SimCodec, EncodesValuesAsHundredsAndPackedDecimal) {
    const ValueCase cases[] = {{0, 0x00, 0x00},   {9, 0x00, 0x09},   {10, 0x00, 0x10},
                               {99, 0x00, 0x99},  {100, 0x01, 0x00}, {199, 0x01, 0x99},
                               {240, 0x02, 0x40}, {255, 0x02, 0x55}};
    for (const ValueCase& c : cases) {
        const auto pair = simcodec::encodeValue(static_cast<std::uint8_t>(c.value));
        EXPECT_EQ(pair[0], c.hundreds) << c.value;
        EXPECT_EQ(pair[1], c.packed) << c.value;
        EXPECT_EQ(simcodec::decodeValue(pair[0], pair[1]), c.value) << c.value;
    }
}

TEST(SimCodec, RejectsPairsThatAreNotByteValues) {
    const ValueCase bad[] = {{0, 0x00, 0x0A}, {0, 0x00, 0xA0}, {0, 0x03, 0x00},
                             {0, 0x02, 0x56}, {0, 0x02, 0x99}, {0, 0xFF, 0x00}};
    for (const ValueCase& c : bad) {
        EXPECT_FALSE(simcodec::decodeValue(static_cast<std::uint8_t>(c.hundreds),
                                           static_cast<std::uint8_t>(c.packed)))
            << std::hex << c.hundreds << " " << c.packed;
    }
}

TEST(SimCodec, IdentifyCommandMatchesTheWireBytes) {
    EXPECT_EQ(simcodec::encodeCommand({1, 99, 0, 0}),
              bytes({0x00, 0x01, 0x00, 0x99, 0x00, 0x00, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(simcodec::encodeCommand({1, 44, 234, 96}),
              bytes({0x00, 0x01, 0x00, 0x44, 0x02, 0x34, 0x00, 0x96, 0xFF}));
}

TEST(SimCodec, ReplyCarriesFourPairsAndTerminator) {
    EXPECT_EQ(simcodec::encodeReply(1, 38, 234, 96),
              bytes({0x00, 0x01, 0x00, 0x38, 0x02, 0x34, 0x00, 0x96, 0xFF}));
}

TEST(SimCodec, DecodesOnlyWellFormedCommandBodies) {
    const auto good =
        simcodec::decodeCommand(bytes({0x00, 0x01, 0x00, 0x23, 0x00, 0x16, 0x00, 0x00}));
    ASSERT_TRUE(good);
    EXPECT_EQ(good->kind, 1);
    EXPECT_EQ(good->code, 23);
    EXPECT_EQ(good->arg1, 16);
    EXPECT_EQ(good->arg2, 0);

    const QByteArray bad[] = {
        bytes({0x00, 0x01, 0x00, 0x23, 0x00, 0x16, 0x00}),              // short
        bytes({0x00, 0x01, 0x00, 0x23, 0x00, 0x16, 0x00, 0x00, 0x00}),  // long
        bytes({0x00, 0x01, 0x00, 0x2A, 0x00, 0x16, 0x00, 0x00}),        // nibble above 9
        bytes({0x00, 0x01, 0x00, 0x23, 0x02, 0x60, 0x00, 0x00}),        // 260
        QByteArray(),
    };
    for (const QByteArray& body : bad) {
        EXPECT_FALSE(simcodec::decodeCommand(body)) << body.toHex().toStdString();
    }
}

TEST(SimCodec, PacksDecimalDigits) {
    EXPECT_EQ(simcodec::packed(25), 0x25);
    EXPECT_EQ(simcodec::packed(0), 0x00);
    EXPECT_EQ(simcodec::packed(99), 0x99);
}

}  // namespace
