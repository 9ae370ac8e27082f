// Downloads of generated memory images from the simulated logger, in both transfer modes: runs
// of any length (empty and unreadable table entries among them), record pointers the table does
// and does not cover, loop memory that wrapped, stalls and cancels. Each result must be what the
// image says, or a failure with an empty log data set.
#include <gtest/gtest.h>

#include <random>

#include "downloadrules.h"
#include "linkharness.h"
#include "sim/simmemory.h"

namespace {

struct Image {
    int pointer = 0;  // bytes
    std::uint8_t memoryMode = 0;
    std::uint8_t wrapped = 0;
    std::uint8_t unit = kUnitMinutes;
    std::uint8_t count = 1;
    int stallAfter = -1;
    int cancelAt = -1;
    QString description;
};

// A memory image drawn from `random`: random records, a start, and table entries after it
// that mostly count fewer records than the pointer holds, ended by a marker.
Image generate(std::mt19937& random, SimLoggerState& s, bool wrap) {
    const auto draw = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Image image;
    for (int a = 0; a < kMemoryBytes; ++a) {
        s.memory[static_cast<std::size_t>(a)] = static_cast<std::uint8_t>(draw(0, 255));
    }
    image.unit = draw(0, 1) != 0 ? kUnitMinutes : kUnitSeconds;
    image.count = static_cast<std::uint8_t>(draw(1, 90));
    const QDateTime start = LinkHarness::scenarioNow().addDays(-draw(1, 400));
    const int runs = draw(0, 6);
    const int records = wrap ? kMemoryRecords : draw(0, 700);
    image.memoryMode = static_cast<std::uint8_t>(wrap ? 1 : draw(0, 1));
    image.wrapped = static_cast<std::uint8_t>(wrap ? draw(1, 3) : 0);
    image.pointer = draw(0, wrap ? kMemoryRecords - 1 : records) * kRecordBytes + draw(0, 3);
    int left = wrap ? records * image.wrapped : records;
    for (int i = 0; i < runs; ++i) {
        std::array<std::uint8_t, 6> packed =
            simmemory::packDateTime(start.addSecs(static_cast<qint64>(i) * 86400));
        const int kind = draw(0, 9);
        if (kind == 0) {
            packed[1] = 0xFF;  // an erased entry
        } else if (kind == 1) {
            packed[2] = 0x45;  // a day that is no date
        }
        const int count = kind == 2 ? draw(0, 60000) : draw(0, std::max(0, left / 2));
        left -= std::min(left, count);
        simmemory::writeSegment(s, i, packed, count);
    }
    simmemory::writeEndMarker(s, runs);
    s.startPacked = simmemory::packDateTime(start);
    s.settingUnit = image.unit;
    s.settingCount = image.count;
    s.recordPointer = image.pointer;
    s.memoryMode = image.memoryMode;
    s.wrapped = image.wrapped;
    image.description = QStringLiteral("pointer %1 mode %2 wrapped %3 runs %4 interval %5/%6")
                            .arg(image.pointer)
                            .arg(image.memoryMode)
                            .arg(image.wrapped)
                            .arg(runs)
                            .arg(image.unit)
                            .arg(image.count);
    return image;
}

// Runs the download to its end, letting time pass for the watchdog and the timeouts whenever
// the logger has nothing to say.
void downloadToEnd(LinkHarness& h, int mode) {
    h.state.Download_Mode = static_cast<std::uint8_t>(mode);
    ASSERT_TRUE(h.download.start());
    for (int guard = 0; guard < 1000 && h.engine.busy(); ++guard) {
        h.pump();
        for (TimerId id : {TimerId::TimeOut, TimerId::DownloadTimer}) {
            if (h.timers.isArmed(id)) {
                h.timers.fire(id);
            }
        }
    }
    ASSERT_FALSE(h.engine.busy());
}

// How many downloads finished with data: the images must reach the transfer, not only fail.
int checkImages(bool wrap, int images, std::uint32_t seed) {
    std::mt19937 seeds(seed);
    int withData = 0;
    for (int i = 0; i < images; ++i) {
        const std::uint32_t imageSeed = seeds();
        const int fault = i % 4;  // none, a stalled stream, a cancel, none
        for (int mode : {0, 1}) {
            LinkHarness h(QStringLiteral("empty"));
            std::mt19937 random(imageSeed);
            const Image image = generate(random, h.logger.state(), wrap);
            const int at = static_cast<int>(random() % 200);
            if (fault == 1) {
                h.logger.faults().stallAfterRecords = at;
            } else if (fault == 2) {
                h.onProgress = [&h, at](int value) {
                    if (value == at) {
                        h.download.Download_Cancel();
                    }
                };
            }
            downloadToEnd(h, mode);
            if (::testing::Test::HasFatalFailure()) {
                return withData;
            }
            const SimLoggerState& s = h.logger.state();
            const auto expected = downloadrules::expectedDownload(
                [&s](int address) { return s.memory[static_cast<std::size_t>(address)]; }, h.state,
                h.logData.interval);
            // Only a stream stalls; a record read at a time is answered.
            const bool answered = fault != 1 || mode == 1 || !expected ||
                                  static_cast<int>(expected->records.size()) <= at;
            const QString broken = downloadrules::violation(
                expected, h.logData, {h.finished == 1, h.download.cancelled(), answered});
            EXPECT_TRUE(broken.isEmpty())
                << broken.toStdString() << ": " << image.description.toStdString() << " fault "
                << fault << " mode " << mode;
            withData += h.finished == 1 && h.logData.count > 0 ? 1 : 0;
        }
    }
    return withData;
}

TEST(DownloadProperty, SmallerMemoryPlansAndNumbersByItsOwnSize) {
    LoggerState state;
    state.Memory_Mode = 1;
    state.Wrapped = 2;
    state.Record_Pointer = 40;
    const std::vector<Segment> decoded{{45000, 50}, {45001, 56}, {1, 0}};
    const auto plan = planTransfer(decoded, state, 48);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->records, 48);
    EXPECT_EQ(plan->endAddress, 192);
    EXPECT_EQ(plan->runs.back().count, 56);  // 50 + 56 went round twice and end at record 10
    state.Record_Pointer = 196;
    EXPECT_FALSE(planTransfer(decoded, state, 48));
    EXPECT_EQ(wrappedRecordNumber(1, 10, 48), 39);
    EXPECT_EQ(wrappedRecordNumber(11, 10, 48), 1);
}

TEST(DownloadProperty, OneTimeMemoryImages) {
    EXPECT_GE(checkImages(false, 48, 20261208), 40);
}

TEST(DownloadProperty, WrappedLoopMemoryImages) {
    EXPECT_GE(checkImages(true, 3, 7), 2);
}

}  // namespace
