// The command line's words: one subcommand with its flags, checked before the logger is
// touched, so a mistyped flag never half-programs a recording.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
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
    PortInUse = 6,
};

enum class Subcommand {
    Status,
    Download,
    Start,
    Stop,
    Measure,
    History,
    Export,
    Import,
    Report,
    Plot
};

// How download and measure write the samples: the program's own CSV file, or UTF-8 JSON or
// tab-separated values with ISO 8601 times for scripts.
enum class OutputFormat { Csv, Json, Tsv };

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
    bool verbose = false;  // the run's steps logged on standard error
    // download and measure: the file name as the bytes given; "-" is standard output
    std::optional<QByteArray> out;
    // none: CSV for download and for measure --out, else measure's plain lines
    std::optional<OutputFormat> format;
    bool normal = false;
    bool stop = false;  // a recording or reserved logger is downloaded and stopped
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
    // none: one sample without --every, else samples until a signal ends the run
    std::optional<int> count;
    // download: not kept in the archive
    bool noArchive = false;
    // export: the recording
    qint64 recording = 0;
    // import: the CSV files as the bytes given
    QList<QByteArray> files;
    // report and plot: the data file as the bytes given
    std::optional<QByteArray> file;
    // report: the time window (day counts, local wall-clock time) and the bounds in °C
    std::optional<double> from;
    std::optional<double> to;
    std::optional<double> upperBound;
    std::optional<double> lowerBound;
    // plot: the picture's size in pixels
    int width = 1000;
    int height = 800;
    // the wire trace's file, as the bytes given
    std::optional<QByteArray> trace;
};

// Parses "10s", "5min" and "2 s"-free forms; none for anything else.
std::optional<Interval> parseInterval(const QString& text);
// The arguments after the program name, as the bytes given: the options, or the reason they
// were refused. A file name stays bytes; every other word is read as local text.
std::variant<CliOptions, QString> parseOptions(const QList<QByteArray>& arguments,
                                               const MessageTable& messages);
// The file --out names; none for standard output (no --out, or "-").
std::optional<QByteArray> outFile(const CliOptions& options);
QString usageText(const MessageTable& messages);
// The flags the parser takes after `command` (every command's included), each with whether a
// value follows; empty for a word that is no command. The help lists the same.
QList<std::pair<QString, bool>> acceptedFlags(const QString& command);
