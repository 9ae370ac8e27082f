// The command queue of one procedure: up to 101 commands, sent one at a time from Head.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "link/commands.h"

struct CommandEntry {
    std::uint8_t Kind = kCommandKind;
    std::uint8_t Code = 0;
    std::uint8_t Arg1 = 0;
    std::uint8_t Arg2 = 0;
    QString Keyword;
    std::int32_t Value = 0;
};

// Procedure keywords, compared as exact text.
namespace Keyword {
inline const QString PortOpen = QStringLiteral("port_open");
inline const QString TSet = QStringLiteral("T_Set");
inline const QString LogStart = QStringLiteral("log_start");
inline const QString Kiroten = QStringLiteral("kiroten");
inline const QString Download = QStringLiteral("download");
inline const QString Real = QStringLiteral("real");
inline const QString RealCon = QStringLiteral("real_con");
}  // namespace Keyword

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
