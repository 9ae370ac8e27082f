// What a download must leave in the log data set, worked out from the logger's memory image and
// status alone, and the check of a finished (or failed) download against it. The download fuzz
// target runs it on every input and the property test on generated memory images.
#pragma once

#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "data/dataset.h"
#include "link/commands.h"
#include "link/download.h"
#include "link/loggerstate.h"

namespace downloadrules {

// One byte of the logger's address space: record memory below 0xF000, the segment table above.
using MemoryByte = std::function<std::uint8_t(int address)>;

struct ExpectedRecord {
    std::array<std::uint8_t, 4> raw{};
    int series = 0;
    double dateTime = 0;
};

struct Expected {
    std::vector<ExpectedRecord> records;  // in record-number order; empty: nothing to download
    bool wrapped = false;
};

// Nothing when the status cannot describe the memory: such a download must fail.
inline std::optional<Expected> expectedDownload(const MemoryByte& byteAt, const LoggerState& state,
                                                int interval, int memoryRecords = kMemoryRecords) {
    if (state.Record_Pointer < 0 || state.Record_Pointer > memoryRecords * kRecordBytes) {
        return std::nullopt;
    }
    // The table is read up to the first entry starting before the recording start, which only
    // marks the end, or up to the last entry the list holds.
    std::vector<Segment> entries;
    for (int address = kSegmentTableAddress;; address += kSegmentEntryBytes) {
        std::array<std::uint8_t, kSegmentEntryBytes> bytes{};
        for (int i = 0; i < kSegmentEntryBytes; ++i) {
            bytes[static_cast<std::size_t>(i)] = byteAt(address + i);
        }
        entries.push_back(decodeSegment(bytes, state.Start_Time));
        if (entries.back().start < state.Start_Time ||
            static_cast<int>(entries.size()) == kMaxSegments) {
            break;
        }
    }
    std::vector<Segment> runs(entries.begin(), entries.end() - 1);
    if (runs.empty()) {
        runs.push_back(Segment{state.Start_Time, 0});
    }
    // The last run's stored count is stale; it takes whatever the earlier runs leave of the
    // records taken, which a loop memory counts past its size.
    const int pointerRecords = static_cast<int>(state.Record_Pointer) / kRecordBytes;
    Expected expected;
    expected.wrapped = state.Memory_Mode != 0 && state.Wrapped != 0;
    std::int64_t earlier = 0;
    for (std::size_t s = 0; s + 1 < runs.size(); ++s) {
        earlier += runs[s].count;
    }
    std::int64_t taken = pointerRecords + (expected.wrapped ? state.Wrapped * memoryRecords : 0);
    const std::int64_t stored = earlier + runs.back().count;
    if (expected.wrapped && stored >= memoryRecords && stored % memoryRecords == pointerRecords) {
        taken = stored;
    }
    if (earlier > taken) {
        return std::nullopt;
    }
    runs.back().count = static_cast<std::int32_t>(taken - earlier);

    const auto recordAt = [&byteAt](int address) {
        return std::array<std::uint8_t, 4>{byteAt(address), byteAt(address + 1),
                                           byteAt(address + 2), byteAt(address + 3)};
    };
    if (!expected.wrapped) {
        std::size_t s = 0;
        int position = 0;
        for (int k = 0; k < pointerRecords; ++k) {
            while (position >= runs[s].count) {
                ++s;
                position = 0;
            }
            expected.records.push_back(
                {recordAt(k * kRecordBytes), static_cast<int>(s) + 1,
                 runs[s].start + position * static_cast<double>(interval) / 86400});
            ++position;
        }
        return expected;
    }
    // Memory read from address 0 holds the newest records below the write position; dates run
    // backwards from the newest record through the runs.
    expected.records.resize(static_cast<std::size_t>(memoryRecords));
    for (int k = 1; k <= memoryRecords; ++k) {
        const int address = ((k - 1 + pointerRecords) % memoryRecords) * kRecordBytes;
        expected.records[static_cast<std::size_t>(k - 1)].raw = recordAt(address);
    }
    const double step = static_cast<double>(interval) / 86400;
    int k = memoryRecords;
    for (int s = static_cast<int>(runs.size()) - 1; s >= 0 && k > 0; --s) {
        for (int j = runs[static_cast<std::size_t>(s)].count; j >= 1 && k > 0; --j, --k) {
            ExpectedRecord& r = expected.records[static_cast<std::size_t>(k - 1)];
            r.series = s + 1;
            r.dateTime = runs[static_cast<std::size_t>(s)].start + (j - 1) * step;
        }
    }
    return expected;
}

// How the download ended, as its view and the caller saw it.
struct Outcome {
    bool finished = false;   // the view was told the log data set is complete
    bool cancelled = false;  // the user cancelled during the download
    bool answered = false;   // the logger answered every command and streamed every record
};

// The first rule the log data set breaks, or an empty text. A finished download holds exactly
// the expected records (a cancelled one of one-time memory a prefix of them), each from the
// memory address its number says, dated within its run at the interval; any other end leaves
// the data set empty. A logger that answered everything gets its data whenever the status
// describes some.
inline QString violation(const std::optional<Expected>& expected, DataSet& logData,
                         const Outcome& outcome) {
    const bool describable = expected && !expected->records.empty();
    if (!outcome.finished) {
        if (logData.count != 0) {
            return QStringLiteral("a failed download left %1 records").arg(logData.count);
        }
        if (outcome.answered && !outcome.cancelled && describable) {
            return QStringLiteral("a download the logger fully answered failed");
        }
        return {};
    }
    if (!describable) {
        return QStringLiteral("finished a download the status cannot describe");
    }
    const auto& records = expected->records;
    const int count = logData.count;
    if (outcome.cancelled ? (expected->wrapped || count > static_cast<int>(records.size()))
                          : count != static_cast<int>(records.size())) {
        return QStringLiteral("%1 records instead of %2").arg(count).arg(records.size());
    }
    const double step = static_cast<double>(logData.interval) / 86400;
    constexpr double kTolerance = 1e-7;  // days, under 10 ms
    Sample sample;
    Sample previous;
    for (int k = 1; k <= count; ++k) {
        if (logData.read(k, sample) != DataError::None) {
            return QStringLiteral("record %1 unreadable").arg(k);
        }
        const ExpectedRecord& e = records[static_cast<std::size_t>(k - 1)];
        if (sample.index != k || sample.raw != e.raw) {
            return QStringLiteral("record %1 is not the memory's record").arg(k);
        }
        if (sample.series != static_cast<float>(e.series) ||
            std::abs(sample.dateTime - e.dateTime) > kTolerance) {
            return QStringLiteral("record %1 dated %2 series %3 instead of %4 series %5")
                .arg(k)
                .arg(sample.dateTime, 0, 'f', 8)
                .arg(sample.series)
                .arg(e.dateTime, 0, 'f', 8)
                .arg(e.series);
        }
        if (k > 1 && sample.series == previous.series &&
            std::abs(sample.dateTime - previous.dateTime - step) > kTolerance) {
            return QStringLiteral("record %1 is not one interval after its predecessor").arg(k);
        }
        previous = sample;
    }
    return {};
}

}  // namespace downloadrules
