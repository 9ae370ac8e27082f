// The command queue of one procedure: up to 101 commands, sent one at a time from Head.
#pragma once

#include <array>
#include <cstdint>

#include "link/commands.h"

// The procedure a queued command belongs to; some replies are handled by it.
enum class ProcedureKind : std::uint8_t {
    None,                   // stop, memory-mode change, status read from a button, ...
    PortOpen,               // the status read right after the port was opened
    ClockSet,               // the clock read that ends it reports completion
    RecordingStart,         // its memory-mode and alarm replies report no completion
    SegmentTableRead,       // memory reads fill the segment table before a download
    Download,               // reads stay on after every reply; memory replies are records
    SingleMeasurement,      // high-resolution conversion
    ContinuousMeasurement,  // conversion at the real-time data set's interval
};

// The procedure's name in the link's log lines.
const char* toString(ProcedureKind procedure);

struct CommandEntry {
    std::uint8_t Kind = kCommandKind;
    std::uint8_t Code = 0;
    std::uint8_t Arg1 = 0;
    std::uint8_t Arg2 = 0;
    ProcedureKind Keyword = ProcedureKind::None;
    std::int32_t Value = 0;
};

struct CommandQueue {
    static constexpr int kCapacity = 101;

    std::array<CommandEntry, kCapacity> Entries{};
    std::int16_t Count = 0;
    std::int16_t Head = 0;

    // False (and nothing stored) when the queue is full.
    bool push(const CommandEntry& entry);
    void reset() { Count = Head = 0; }
    CommandEntry& current() { return Entries[Head]; }
};
