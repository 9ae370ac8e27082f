// veltrane-cli's help table. A new command is one entry in `commands` (its options, examples);
// a new option of every command is one entry in `options`.
#include "cli/clihelp.h"

#include <QString>

#include "data/version.h"

namespace {

const HelpOption kOutFile{.flag = "--out",
                          .argument = "FILE|-",
                          .meaning =
                              "write the data to FILE (the name as given, no extension "
                              "added; it takes its name only once complete and synced); - "
                              "is standard output",
                          .fallback = "standard output",
                          .fileValue = true};

HelpPage makePage() {
    return HelpPage{
        .program = "veltrane-cli",
        .summary = "the temperature and humidity logger from the command line",
        .description =
            "Runs the window's operations on a logger connected by USB, for scripts: reads its "
            "status, downloads its records, starts and stops a recording and takes real-time "
            "measurements. Downloads are kept in the archive (history, export, import); saved "
            "files are reported on and drawn (report, plot) without a logger. Data goes to "
            "standard output (or the --out file), messages to "
            "standard error. What cannot be done as given is refused before the logger is "
            "touched.",
        .commands =
            {
                {.name = "status",
                 .summary = "print the logger's state as the status panel shows it",
                 .usage = "[--json]",
                 .description = "One \"caption: value\" line per read-out, or with --json one "
                                "object of typed values (null where a value is unknown).",
                 .options = {{.flag = "--json",
                              .meaning = "one JSON object of typed values instead of lines"}},
                 .examples = {{"veltrane-cli status --json", "the state as JSON, for a script"}}},
                {.name = "download",
                 .summary = "download every recorded point",
                 .usage = "[--out FILE|-] [--format csv|json|tsv] [--normal] [--stop]",
                 .description =
                     "Downloads all records, writes them, and only then marks the logger "
                     "downloaded. A download stops the logger, so a recording or reserved "
                     "logger is refused unless --stop is given.",
                 .options = {kOutFile,
                             {.flag = "--format",
                              .argument = "FORMAT",
                              .meaning = "csv: the file the window saves, byte for byte; json: "
                                         "one UTF-8 document; tsv: a header line, then one line "
                                         "per sample (see Output formats)",
                              .fallback = "csv",
                              .choices = "csv json tsv"},
                             {.flag = "--normal",
                              .meaning = "ask for each record on its own (slower; for a logger "
                                         "whose fast transfer fails)",
                              .fallback = "one fast stream"},
                             {.flag = "--stop",
                              .meaning = "also download (and so stop) a recording or reserved "
                                         "logger"},
                             {.flag = "--no-archive",
                              .meaning = "do not keep the download in the archive",
                              .fallback = "kept in the archive"}},
                 .examples = {{"veltrane-cli download --out cold-room.csv",
                               "the CSV file the window saves"},
                              {"veltrane-cli download --format json --out - | python3 -m "
                               "json.tool",
                               "the records as JSON for a script"}}},
                {.name = "start",
                 .summary = "program the logger and start a recording",
                 .usage = "--name NAME --interval 10s|5min --loop|--one-time [--upper C] "
                          "[--lower C] [--at \"YYYY-MM-DD HH:MM\"] [--force]",
                 .description = "Bounds not given keep the logger's own. A logger still "
                                "warning of data never downloaded is refused unless --force "
                                "is given.",
                 .options = {{.flag = "--name",
                              .argument = "NAME",
                              .meaning = "identification name, at most 4 characters"},
                             {.flag = "--interval",
                              .argument = "INTERVAL",
                              .meaning = "record interval, a count of seconds (10s) or of "
                                         "minutes (5min) the logger offers"},
                             {.flag = "--loop",
                              .meaning = "loop memory: the oldest records are overwritten"},
                             {.flag = "--one-time",
                              .meaning = "one-time memory: the recording ends when it is full"},
                             {.flag = "--upper",
                              .argument = "C",
                              .meaning = "upper alarm bound",
                              .unit = "degrees Celsius",
                              .fallback = "the logger's own"},
                             {.flag = "--lower",
                              .argument = "C",
                              .meaning = "lower alarm bound, below the upper one",
                              .unit = "degrees Celsius",
                              .fallback = "the logger's own"},
                             {.flag = "--at",
                              .argument = "\"YYYY-MM-DD HH:MM\"",
                              .meaning = "reserve the start for this local time",
                              .fallback = "start now"},
                             {.flag = "--force",
                              .meaning = "start even when the logger's data was never "
                                         "downloaded"}},
                 .examples = {{"veltrane-cli start --name LAB1 --interval 10min --loop --upper 8 "
                               "--lower 2",
                               "record every 10 minutes, alarms above 8 and below 2 degrees"}}},
                {.name = "stop",
                 .summary = "stop a recording or cancel a reservation, then print the status",
                 .usage = "",
                 .description = "",
                 .options = {},
                 .examples = {{"veltrane-cli stop",
                               "end the recording (or reservation) and print the status"}}},
                {.name = "measure",
                 .summary = "take real-time measurements",
                 .usage = "[--every 2s|1min [--count N]] [--out FILE|-] [--format csv|json|tsv]",
                 .description =
                     "Without --every, one sample. With --every, a sample per repeat, --count "
                     "of them, or without --count until SIGINT or SIGTERM ends the run (exit "
                     "code 130 or 143), each sample written and flushed as it comes. At most "
                     "32767 samples are taken in one run.",
                 .options = {{.flag = "--every",
                              .argument = "REPEAT",
                              .meaning = "measure repeatedly: 2s to 60s or 1min to 240min",
                              .fallback = "one sample"},
                             {.flag = "--count",
                              .argument = "N",
                              .meaning = "the number of samples, 1 or more (needs --every)",
                              .fallback = "until interrupted"},
                             kOutFile,
                             {.flag = "--format",
                              .argument = "FORMAT",
                              .meaning = "csv: the window's file, written at the end (needs "
                                         "--count with --every); json: JSON lines, one object "
                                         "per sample; tsv: a header line, then one line per "
                                         "sample",
                              .fallback = "csv with --out FILE, else plain lines of time, "
                                          "temperature and humidity",
                              .choices = "csv json tsv"}},
                 .examples = {{"veltrane-cli measure --every 2s --count 30",
                               "one plain line per sample"},
                              {"veltrane-cli measure --every 10s --format tsv --out room.tsv",
                               "until Ctrl-C, every sample kept in room.tsv"}}},
                {.name = "history",
                 .summary = "list the recordings kept in the archive",
                 .usage = "[--json] [--out FILE|-]",
                 .description =
                     "Newest first, one line per recording: its number, name, model, start, "
                     "end, interval, points and the extremes. The archive is the one "
                     "VELTRANE_ARCHIVE names, else archive.sqlite in the user's data folder. "
                     "No logger is needed.",
                 .options = {{.flag = "--json",
                              .meaning = "one JSON array of typed values instead of lines"},
                             kOutFile},
                 .examples = {{"veltrane-cli history", "the recordings, newest first"},
                              {"VELTRANE_ARCHIVE=postgresql://lab@/veltrane?host=/run/postgresql "
                               "veltrane-cli history --json",
                               "the lab's shared archive, as JSON"}}},
                {.name = "export",
                 .summary = "write one archived recording as a file",
                 .usage = "ID --out FILE|- [--format csv|json|tsv]",
                 .description = "ID is the recording's number as history lists it. The CSV file "
                                "is the one the window saves, byte for byte.",
                 .options = {kOutFile,
                             {.flag = "--format",
                              .argument = "FORMAT",
                              .meaning = "csv: the file the window saves; json and tsv: "
                                         "as download writes them",
                              .fallback = "csv",
                              .choices = "csv json tsv"}},
                 .examples = {{"veltrane-cli export 12 --out lab1.csv",
                               "recording 12 as the window's CSV file"}}},
                {.name = "import",
                 .summary = "keep CSV files in the archive",
                 .usage = "FILE.csv...",
                 .description = "Each file saved by the window or by download is kept as a "
                                "recording; samples already kept are not added again.",
                 .options = {},
                 .examples = {{"veltrane-cli import cold-room/*.csv",
                               "every saved file of a folder"}}},
                {.name = "report",
                 .summary = "print the statistics of a saved CSV file",
                 .usage = "FILE.csv|--recording ID [--from TIME] [--to TIME] [--upper C] "
                          "[--lower C] [--json]",
                 .description =
                     "Count, span, minimum, maximum, mean and standard deviation of "
                     "temperature and humidity, mean kinetic temperature, dew point, absolute "
                     "humidity and every alarm excursion. Each sample stands for one interval; "
                     "gaps between runs are not counted. No logger is needed.",
                 .options = {{.flag = "--recording",
                              .argument = "ID",
                              .meaning = "report on an archived recording (its number as "
                                         "history lists it) instead of a file"},
                             {.flag = "--from",
                              .argument = "TIME",
                              .meaning = "first local time to include, e.g. \"2026-11-05 08:30\"",
                              .fallback = "the first sample"},
                             {.flag = "--to",
                              .argument = "TIME",
                              .meaning = "last local time to include",
                              .fallback = "the last sample"},
                             {.flag = "--upper",
                              .argument = "C",
                              .meaning = "upper alarm bound (decimals allowed)",
                              .unit = "degrees Celsius",
                              .fallback = "the file's bound where its alarm is on"},
                             {.flag = "--lower",
                              .argument = "C",
                              .meaning = "lower alarm bound (decimals allowed)",
                              .unit = "degrees Celsius",
                              .fallback = "the file's bound where its alarm is on"},
                             {.flag = "--json",
                              .meaning = "one JSON object of typed values instead of lines"}},
                 .examples = {{"veltrane-cli report cold-room.csv --upper 8 --lower 2",
                               "how long the room was outside 2 to 8 degrees"}}},
                {.name = "plot",
                 .summary = "draw the two graphs of a saved CSV file into a picture",
                 .usage = "FILE.csv|--recording ID --out GRAPH.svg|GRAPH.png [--size WxH]",
                 .description = "Both graphs over the whole recording, fitted as the window's "
                                "Fit button fits them, in the print colours. The name's ending "
                                "chooses SVG or PNG. No display is needed.",
                 .options = {{.flag = "--recording",
                              .argument = "ID",
                              .meaning = "draw an archived recording instead of a file"},
                             {.flag = "--out",
                              .argument = "FILE",
                              .meaning = "the picture to write, ending in .svg or .png",
                              .fileValue = true},
                             {.flag = "--size",
                              .argument = "WxH",
                              .meaning = "the picture's size, 200 to 10000 each",
                              .unit = "pixels",
                              .fallback = "1000x800"}},
                 .examples = {{"veltrane-cli plot cold-room.csv --out cold-room.svg",
                               "both graphs as SVG"}}},
            },
        .options = {{.flag = "--port",
                     .argument = "N",
                     .meaning = "the logger's port, 1 to 16 (/dev/ttyUSB0 is 1)",
                     .fallback = "scan the ports"},
                    {.flag = "--lang",
                     .argument = "LANG",
                     .meaning = "language of the messages and of the CSV file: en or ja",
                     .fallback = "en",
                     .choices = "en ja"},
                    {.flag = "--verbose",
                     .meaning = "log each step and every frame on standard error"},
                    {.flag = "--trace",
                     .argument = "FILE",
                     .meaning = "write every event of the link to FILE as JSON lines, for a "
                                "report of a misbehaving logger (logger-sim --replay plays it)",
                     .fileValue = true},
                    {.flag = "--help",
                     .meaning = "print this help (or the command's) and exit",
                     .alias = "-h"},
                    {.flag = "--version", .meaning = "print the version and exit"}},
        .sections =
            {
                {"OUTPUT FORMATS",
                 "csv is the file the window saves, byte for byte: Windows-1252 (Shift_JIS with "
                 "--lang ja), CR LF line ends, three header lines (captions; name, start, "
                 "points, interval in seconds, upper and lower bound; column captions), then "
                 "per sample its number, \"yyyy/MM/dd HH:mm:ss\", temperature and humidity as "
                 "\"##.00\" and the remarks, all text quoted.\n\n"
                 "json and tsv are UTF-8 with LF line ends. Times are the logger's local "
                 "wall-clock times in ISO 8601 without a zone (2026-12-08T10:00:00); "
                 "temperatures are degrees Celsius and humidities %RH, plain numbers with two "
                 "decimals; series counts the recording runs from 1.\n\n"
                 "download --format json prints one document:\n"
                 "  {\"model\": \"QM320-HX\", \"name\": \"LAB1\", \"interval_seconds\": 600,\n"
                 "   \"samples\": [{\"record\": 1, \"time\": \"2026-12-08T10:00:00\",\n"
                 "                \"temperature\": 21.50, \"humidity\": 45.00, \"series\": 1}]}\n\n"
                 "measure --format json prints JSON lines: one such sample object per line.\n\n"
                 "tsv prints the header line \"record time temperature humidity series\" "
                 "(tab-separated), then one line per sample."},
                {"EXIT STATUS",
                 "  0    done\n"
                 "  1    usage: a refused word or value\n"
                 "  2    no logger found\n"
                 "  3    permission denied on the port\n"
                 "  4    communication failure (the reason is on standard error)\n"
                 "  5    refused or not written: a check, the logger, the input or the output\n"
                 "  6    the port is in use by another program\n"
                 "  129  ended by SIGHUP, 130 by SIGINT, 143 by SIGTERM"},
            },
        .examples = {{"veltrane-cli download --stop --out \"$HOME/cold-room/$(date +%F).csv\"",
                      "a dated file of the logger's records, stopping its recording"},
                     {"veltrane-cli status", "the logger's state"}},
        .seeAlso = "veltrane(1)",
    };
}

bool askedForHelp(const QByteArray& word) {
    return word == "--help" || word == "-h";
}

}  // namespace

const HelpPage& cliHelpPage() {
    static const HelpPage page = makePage();
    return page;
}

std::optional<QByteArray> cliInformation(const QList<QByteArray>& arguments) {
    const HelpPage& page = cliHelpPage();
    const QString version =
        QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size()));
    if (arguments.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray& first = arguments.first();
    if (askedForHelp(first)) {
        return helpText(page, version);
    }
    if (first == "--version") {
        return versionText(page, version);
    }
    if (first == "--man-page") {
        return manPage(page, version);
    }
    if (first == "--bash-completion") {
        return bashCompletion(page);
    }
    const HelpCommand* command = page.command(QString::fromLocal8Bit(first));
    if (command == nullptr) {
        return std::nullopt;
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray& word = arguments.at(i);
        if (askedForHelp(word)) {
            return commandHelpText(page, *command);
        }
        if (word == "--version") {
            return versionText(page, version);
        }
        // A flag's value is never taken for a request: --name -h names the logger "-h".
        if (page.takesValue(QString::fromLocal8Bit(word), command)) {
            ++i;
        }
    }
    return std::nullopt;
}
