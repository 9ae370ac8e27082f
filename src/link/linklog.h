// The link's log for developers: every frame over the line and what the link did about
// refusals, time-outs, quiet lines, resets and lost ports. Off unless turned on (--verbose, or
// QT_LOGGING_RULES="veltrane.link.debug=true"); every line starts with a time stamp.
#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <cstdint>
#include <span>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

// The rule that turns the link's log on.
inline constexpr char kLinkLogRule[] = "veltrane.link.debug=true";

// One log line: time stamp first, words separated by spaces.
#define LINK_LOG qCDebug(lcLink).noquote() << linkLog::stamp()

namespace linkLog {

// Milliseconds, to the microsecond, on a monotonic clock restarted when a port opens.
QString stamp();
void restartClock();
// "01 00 1e ..." for the log.
QString hex(const QByteArray& bytes);
QString hex(std::span<const std::uint8_t> bytes);
// The command's name, or its number when it has none.
QString commandName(std::uint8_t code);

}  // namespace linkLog
