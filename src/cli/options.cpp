// Parsing of the command line's subcommands and flags.
#include "cli/options.h"

#include <QRegularExpression>
#include <span>

#include "cli/fileoptions.h"
#include "operations/namefield.h"
#include "operations/recordingsetup.h"

namespace {

// The repeats a continuous measurement takes: 2 to 60 seconds, 1 to 240 minutes.
constexpr int kRepeatSeconds[] = {2, 60};
constexpr int kRepeatMinutes[] = {1, 240};

struct Reader {
    const QList<QByteArray>& args;
    int next = 0;

    bool atEnd() const { return next >= args.size(); }
    QByteArray takeBytes() { return args.at(next++); }
    QString take() { return QString::fromLocal8Bit(takeBytes()); }
};

// The reason a given start is refused before the logger is touched; empty when none.
QString startRefusal(const CliOptions& options, const MessageTable& messages) {
    if (options.name.size() > NameField::kLength) {
        return messages.text(Msg::CliNameTooLong).arg(options.name);
    }
    const QString name = NameField::refusal(options.name, Msg::NameLetterNotUsable, messages);
    if (!name.isEmpty()) {
        return name;
    }
    const auto outside = [&](std::optional<int> degrees, int first, int last) {
        return degrees && (*degrees < first || *degrees > last)
                   ? messages.text(Msg::CliBoundOutOfRange).arg(first).arg(last).arg(*degrees)
                   : QString();
    };
    const QString upper =
        outside(options.upper, RecordingSetup::kUpperMin, RecordingSetup::kUpperMax);
    const QString lower =
        outside(options.lower, RecordingSetup::kLowerMin, RecordingSetup::kLowerMax);
    if (!upper.isEmpty() || !lower.isEmpty()) {
        return upper.isEmpty() ? lower : upper;
    }
    if (options.upper && options.lower && *options.lower >= *options.upper) {
        return messages.text(Msg::CliLowerNotBelowUpper).arg(*options.lower).arg(*options.upper);
    }
    return {};
}

bool repeatTaken(const Interval& every) {
    const int* range = every.seconds ? kRepeatSeconds : kRepeatMinutes;
    return every.count >= range[0] && every.count <= range[1];
}

std::optional<int> parseInt(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

const char* archiveWord(Subcommand command) {
    return command == Subcommand::History  ? "history"
           : command == Subcommand::Export ? "export"
                                           : "import";
}

std::optional<Subcommand> parseSubcommand(const QString& word) {
    static const struct {
        const char* word;
        Subcommand command;
    } kWords[] = {{"status", Subcommand::Status},
                  {"download", Subcommand::Download},
                  {"start", Subcommand::Start},
                  {"stop", Subcommand::Stop},
                  {"measure", Subcommand::Measure}};
    if (const std::optional<Subcommand> fileCommand = fileSubcommand(word)) {
        return fileCommand;
    }
    for (const auto& entry : kWords) {
        if (word == QLatin1String(entry.word)) {
            return entry.command;
        }
    }
    for (const Subcommand command : {Subcommand::History, Subcommand::Export, Subcommand::Import}) {
        if (word == QLatin1String(archiveWord(command))) {
            return command;
        }
    }
    return std::nullopt;
}

// Every flag once: the subcommand it belongs to (none: every one) and whether a value follows.
struct FlagInfo {
    const char* flag;
    std::optional<Subcommand> command;
    bool takesValue;
};
constexpr FlagInfo kFlags[] = {
    {"--port", std::nullopt, true},           {"--lang", std::nullopt, true},
    {"--verbose", std::nullopt, false},       {"--json", Subcommand::Status, false},
    {"--out", Subcommand::Download, true},    {"--normal", Subcommand::Download, false},
    {"--stop", Subcommand::Download, false},  {"--name", Subcommand::Start, true},
    {"--interval", Subcommand::Start, true},  {"--loop", Subcommand::Start, false},
    {"--one-time", Subcommand::Start, false}, {"--upper", Subcommand::Start, true},
    {"--lower", Subcommand::Start, true},     {"--at", Subcommand::Start, true},
    {"--force", Subcommand::Start, false},    {"--every", Subcommand::Measure, true},
    {"--count", Subcommand::Measure, true},   {"--out", Subcommand::Measure, true},
    {"--format", Subcommand::Download, true}, {"--format", Subcommand::Measure, true},
    {"--from", Subcommand::Report, true},     {"--to", Subcommand::Report, true},
    {"--upper", Subcommand::Report, true},    {"--lower", Subcommand::Report, true},
    {"--json", Subcommand::Report, false},    {"--out", Subcommand::Plot, true},
    {"--size", Subcommand::Plot, true},       {"--trace", std::nullopt, true},
};
// The archive's subcommands and the download's opt-out.
constexpr FlagInfo kArchiveFlags[] = {
    {"--no-archive", Subcommand::Download, false}, {"--json", Subcommand::History, false},
    {"--out", Subcommand::History, true},          {"--out", Subcommand::Export, true},
    {"--format", Subcommand::Export, true},        {"--recording", Subcommand::Report, true},
    {"--recording", Subcommand::Plot, true},
};

std::optional<OutputFormat> parseFormat(const QString& word) {
    static const struct {
        const char* word;
        OutputFormat format;
    } kFormats[] = {
        {"csv", OutputFormat::Csv}, {"json", OutputFormat::Json}, {"tsv", OutputFormat::Tsv}};
    for (const auto& entry : kFormats) {
        if (word == QLatin1String(entry.word)) {
            return entry.format;
        }
    }
    return std::nullopt;
}

// The flag as the subcommand takes it; nullptr when it is not one of its options.
const FlagInfo* findFlag(const QString& flag, Subcommand command) {
    for (const std::span<const FlagInfo> table :
         {std::span<const FlagInfo>(kFlags), std::span<const FlagInfo>(kArchiveFlags)}) {
        for (const FlagInfo& info : table) {
            if (flag == QLatin1String(info.flag) && (!info.command || *info.command == command)) {
                return &info;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::optional<Interval> parseInterval(const QString& text) {
    static const QRegularExpression kPattern(QStringLiteral("^(\\d{1,4})(s|min)$"));
    const QRegularExpressionMatch match = kPattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int count = match.captured(1).toInt();
    if (count < 1) {
        return std::nullopt;
    }
    return Interval{match.captured(2) == QLatin1String("s"), count};
}

std::optional<QByteArray> outFile(const CliOptions& options) {
    if (!options.out || *options.out == "-") {
        return std::nullopt;
    }
    return options.out;
}

std::variant<CliOptions, QString> parseOptions(const QList<QByteArray>& arguments,
                                               const MessageTable& messages) {
    const auto missingValue = [&](const QString& flag) {
        return messages.text(Msg::CliNeedsValue).arg(flag);
    };
    const auto badValue = [&](const QString& flag, const QString& value) {
        return messages.text(Msg::CliInvalidValue).arg(flag, value);
    };
    Reader in{arguments};
    if (in.atEnd()) {
        return usageText(messages);
    }
    const QString word = in.take();
    const std::optional<Subcommand> command = parseSubcommand(word);
    if (!command) {
        return messages.text(Msg::CliUnknownCommand).arg(word) + QLatin1Char('\n') +
               usageText(messages);
    }
    CliOptions options;
    options.command = *command;
    std::optional<bool> loop;
    while (!in.atEnd()) {
        const QByteArray given = in.takeBytes();
        const QString flag = QString::fromLocal8Bit(given);
        if (takesFile(options.command) && !options.file && !flag.startsWith(QLatin1String("--"))) {
            options.file = given;
            continue;
        }
        if (!flag.startsWith(QLatin1String("--")) && options.command == Subcommand::Import) {
            options.files.append(given);
            continue;
        }
        if (!flag.startsWith(QLatin1String("--")) && options.command == Subcommand::Export &&
            options.recording == 0) {
            bool ok = false;
            options.recording = flag.toLongLong(&ok);
            if (!ok || options.recording <= 0) {
                return messages.text(Msg::CliNotARecordingNumber).arg(flag);
            }
            continue;
        }
        const FlagInfo* info = findFlag(flag, options.command);
        if (info == nullptr) {
            return messages.text(Msg::CliNotAnOption).arg(flag, word);
        }
        const bool takesValue = info->takesValue;
        if (takesValue && in.atEnd()) {
            return missingValue(flag);
        }
        const QByteArray bytes = takesValue ? in.takeBytes() : QByteArray();
        const QString value = QString::fromLocal8Bit(bytes);
        if (flag == QLatin1String("--port")) {
            const std::optional<int> port = parseInt(value);
            if (!port || *port < 1 || *port > 16) {
                return badValue(flag, value);
            }
            options.port = port;
        } else if (flag == QLatin1String("--lang")) {
            if (value != QLatin1String("en") && value != QLatin1String("ja")) {
                return badValue(flag, value);
            }
            options.english = value == QLatin1String("en");
        } else if (flag == QLatin1String("--verbose")) {
            options.verbose = true;
        } else if (flag == QLatin1String("--json")) {
            options.json = true;
        } else if (flag == QLatin1String("--out")) {
            if (bytes.isEmpty()) {
                return badValue(flag, value);
            }
            options.out = bytes;
        } else if (flag == QLatin1String("--normal")) {
            options.normal = true;
        } else if (flag == QLatin1String("--stop")) {
            options.stop = true;
        } else if (flag == QLatin1String("--name")) {
            options.name = value;
        } else if (flag == QLatin1String("--interval") || flag == QLatin1String("--every")) {
            const std::optional<Interval> interval = parseInterval(value);
            if (!interval) {
                return badValue(flag, value);
            }
            if (flag == QLatin1String("--every")) {
                if (!repeatTaken(*interval)) {
                    return messages.text(Msg::CliEveryOutOfRange).arg(value);
                }
                options.every = interval;
            } else {
                options.interval = *interval;
            }
        } else if (flag == QLatin1String("--loop") || flag == QLatin1String("--one-time")) {
            if (loop) {
                return messages.text(Msg::CliLoopOrOneTime);
            }
            loop = flag == QLatin1String("--loop");
        } else if (const auto fileFlag = fileCommandFlag(options, flag, value, messages)) {
            if (!fileFlag->isEmpty()) {
                return *fileFlag;
            }
        } else if (flag == QLatin1String("--upper") || flag == QLatin1String("--lower")) {
            const std::optional<int> degrees = parseInt(value);
            if (!degrees) {
                return badValue(flag, value);
            }
            (flag == QLatin1String("--upper") ? options.upper : options.lower) = degrees;
        } else if (flag == QLatin1String("--at")) {
            const QDateTime at = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm"));
            if (!at.isValid()) {
                return badValue(flag, value);
            }
            options.at = at;
        } else if (flag == QLatin1String("--format")) {
            options.format = parseFormat(value);
            if (!options.format) {
                return badValue(flag, value);
            }
        } else if (flag == QLatin1String("--force")) {
            options.force = true;
        } else if (flag == QLatin1String("--count")) {
            const std::optional<int> count = parseInt(value);
            if (!count || *count < 1) {
                return badValue(flag, value);
            }
            options.count = *count;
        } else if (flag == QLatin1String("--no-archive")) {
            options.noArchive = true;
        } else if (flag == QLatin1String("--trace")) {
            if (bytes.isEmpty()) {
                return badValue(flag, value);
            }
            options.trace = bytes;
        }
    }
    if (options.command == Subcommand::Export && options.recording == 0) {
        return messages.text(Msg::CliNotARecordingNumber).arg(QString());
    }
    if (options.command == Subcommand::Import && options.files.isEmpty()) {
        return messages.text(Msg::CliNeedsValue).arg(word);
    }
    if (options.command == Subcommand::Start) {
        if (options.name.isEmpty() || options.interval.count == 0 || !loop) {
            return messages.text(Msg::CliStartNeedsOptions);
        }
        options.loop = *loop;
        if (const QString refusal = startRefusal(options, messages); !refusal.isEmpty()) {
            return refusal;
        }
    }
    if (options.command == Subcommand::Measure && options.count > 1 && !options.every) {
        return messages.text(Msg::CliCountNeedsEvery);
    }
    // The CSV file's header holds the number of samples: it is written whole at the end.
    const bool csv =
        options.format ? *options.format == OutputFormat::Csv : options.out.has_value();
    if (options.command == Subcommand::Measure && options.every && !options.count && csv) {
        return messages.text(Msg::CliCsvNeedsCount);
    }
    if (const QString refusal = fileCommandRefusal(options, word, messages); !refusal.isEmpty()) {
        return refusal;
    }
    return options;
}

QString usageText(const MessageTable& messages) {
    return messages.text(Msg::CliUsage) + QLatin1Char('\n') + messages.text(Msg::ReportUsage);
}

QList<std::pair<QString, bool>> acceptedFlags(const QString& command) {
    QList<std::pair<QString, bool>> flags;
    const std::optional<Subcommand> known = parseSubcommand(command);
    if (!known) {
        return flags;
    }
    for (const std::span<const FlagInfo> table :
         {std::span<const FlagInfo>(kFlags), std::span<const FlagInfo>(kArchiveFlags)}) {
        for (const FlagInfo& info : table) {
            if (!info.command || *info.command == *known) {
                flags.append({QLatin1String(info.flag), info.takesValue});
            }
        }
    }
    return flags;
}
