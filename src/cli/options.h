// The command line's words: one subcommand with its flags, checked before the logger is
// touched, so a mistyped flag never half-programs a recording.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

#include "data/messagetable.h"

// Exit codes a script can rely on.
enum ExitCode : int {
    Done = 0,
    Usage = 1,
    NoLogger = 2,
    PermissionDenied = 3,
    CommunicationFailed = 4,
    Refused = 5,
};

enum class Subcommand { Status, Download, Start, Stop, Measure };

// A recording interval as the logger keeps it: a count of seconds or of minutes.
struct Interval {
    bool seconds = false;
    int count = 0;
};

struct CliOptions {
    Subcommand command = Subcommand::Status;
    std::optional<int> port;  // none: scan the ports
    bool english = true;
    bool json = false;
    // download
    QString out;  // empty: standard output
    bool normal = false;
    // start
    QString name;
    Interval interval;
    bool loop = false;
    std::optional<int> upper;
    std::optional<int> lower;
    std::optional<QDateTime> at;
    bool force = false;
    // measure
    std::optional<Interval> every;
    int count = 1;
};

// Parses "10s", "5min" and "2 s"-free forms; none for anything else.
std::optional<Interval> parseInterval(const QString& text);
// The arguments after the program name: the options, or the reason they were refused.
std::variant<CliOptions, QString> parseOptions(const QStringList& arguments,
                                               const MessageTable& messages);
QString usageText(const MessageTable& messages);
