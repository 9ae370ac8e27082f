// The window program's help table. A new option is one entry in `options`.
#include "app/windowhelp.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/messagetable.h"
#include "data/version.h"

namespace {

HelpPage makePage() {
    return HelpPage{
        .program = "veltrane",
        .summary = "companion program for the temperature and humidity logger",
        .description =
            "Opens the window that connects to a logger on a USB serial port, shows its status, "
            "sets up and starts recordings, downloads the records, takes real-time "
            "measurements, and shows, saves, opens and prints the data as tables and graphs. "
            "Only one copy runs at a time: a second one brings the first to the front.\n\n"
            "veltrane --check needs no display: it checks what the setup lacks for the logger "
            "and prints one line per check. The usual Qt options, such as -platform, are "
            "accepted too.",
        .commands = {},
        .options = {{.flag = "--check",
                     .meaning = "check the setup (the USB chip, the port and its permissions, "
                                "the udev rule, the latency timer, brltty, ModemManager), print "
                                "one line per check and exit; no display needed"},
                    {.flag = "--lang",
                     .argument = "LANG",
                     .meaning = "language of the --check report: en or ja",
                     .fallback = "en",
                     .choices = "en ja"},
                    {.flag = "--verbose",
                     .meaning = "log every frame the link sends and receives, and what it did "
                                "about refusals, time-outs and a lost port, on standard error"},
                    {.flag = "--trace",
                     .argument = "FILE",
                     .meaning = "write every event of the link to FILE as JSON lines (Help > "
                                "Save diagnostic report holds the last 50000 in any case)",
                     .fileValue = true},
                    {.flag = "--help", .meaning = "print this help and exit", .alias = "-h"},
                    {.flag = "--version", .meaning = "print the version and exit"}},
        .sections =
            {
                {"FILES",
                 "An installed copy keeps Logger.ini (the port and the last folder used), its "
                 "lock and recovered data in the user's data folder "
                 "(~/.local/share/veltrane), and the data sets' scratch files in the user's "
                 "runtime folder; a copy run from its build folder keeps them beside itself."},
                {"EXIT STATUS",
                 "  0    the window was closed, or --check found nothing to fix\n"
                 "  1    the program could not start, or --check found something to fix"},
            },
        .examples = {{"veltrane --check", "what the setup lacks for the logger"},
                     {"veltrane --verbose 2> link.log", "the window, logging the link"}},
        .seeAlso = "veltrane-cli(1)",
    };
}

}  // namespace

const HelpPage& windowHelpPage() {
    static const HelpPage page = makePage();
    return page;
}

std::optional<QByteArray> windowInformation(int argc, char** argv) {
    const QString version =
        QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size()));
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "--help" || word == "-h") {
            return helpText(windowHelpPage(), version);
        }
        if (word == "--version") {
            return versionText(windowHelpPage(), version);
        }
        if (word == "--man-page") {
            return manPage(windowHelpPage(), version);
        }
        // A value is never taken for a request.
        if (windowHelpPage().takesValue(QString::fromLocal8Bit(word), nullptr)) {
            ++i;
        }
    }
    return std::nullopt;
}

int printInformation(const QByteArray& text) {
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(text.size());
    if (std::fwrite(text.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0) {
        return 0;
    }
    const int error = errno != 0 ? errno : EIO;
    MessageTable messages;
    messages.fill(Language::English);
    const QString failure =
        messages.text(Msg::CliStdoutNotWritable).arg(QString::fromLocal8Bit(std::strerror(error)));
    std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
    return 1;
}
