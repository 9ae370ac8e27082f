// Command-line entry: the language first, then the words, then one run on the real port.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <memory>

#include "cli/clihelp.h"
#include "cli/fileoptions.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/reportcommands.h"
#include "cli/runner.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/linklog.h"
#include "link/qtserialport.h"
#include "link/wiretrace.h"

namespace {

// A standard stream closed by the caller would otherwise be the number the next file opened
// gets (the port, a scratch file), and the data would go there. It is held by /dev/null opened
// the wrong way round instead, so every read or write on it fails and is reported.
void holdClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    holdClosedStandardStreams();
    // A closed standard output is a write error with a message, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    // The words as given: a file name that is not valid text must keep its bytes.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QByteArray(argv[i]));
    }
    MessageTable messages;
    const int lang = static_cast<int>(arguments.indexOf(QByteArray("--lang")));
    const bool japanese =
        lang >= 0 && lang + 1 < arguments.size() && arguments.at(lang + 1) == "ja";
    messages.fill(japanese ? Language::Japanese : Language::English);

    // Help and the version need neither a logger nor a valid command line after them.
    if (const std::optional<QByteArray> information = cliInformation(arguments)) {
        const QString failure = writeStandardOutput(stdout, *information, messages);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
            return Refused;
        }
        return Done;
    }
    // plot draws text, which needs the fonts of a graphical application, but never a display.
    // Made only now, so that its help above is not preceded by the platform's remarks.
    const bool drawing = argc > 1 && qstrcmp(argv[1], "plot") == 0;
    if (drawing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::unique_ptr<QCoreApplication> app =
        drawing ? std::make_unique<QGuiApplication>(argc, argv)
                : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltrane-cli"));
    const auto parsed = parseOptions(arguments, messages);
    if (const QString* refusal = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "%s\n", refusal->toLocal8Bit().constData());
        return Usage;
    }
    const CliOptions& options = std::get<CliOptions>(parsed);
    if (options.verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("veltrane.cli.info=true\n") +
                                         QLatin1String(kLinkLogRule));
    }
    if (options.trace) {
        QString error;
        if (!wireTrace().writeTo(QFile::decodeName(*options.trace), error)) {
            std::fprintf(stderr, "%s\n",
                         messages.text(Msg::TraceNotWritten)
                             .arg(QFile::decodeName(*options.trace), error)
                             .toLocal8Bit()
                             .constData());
            return Usage;
        }
    }
    if (takesFile(options.command)) {
        return runFileCommand(options, messages, stdout);
    }
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    EventLoopWaiter waiter;
    CliRunner runner(options, messages, port, *device, waiter, stdout, isatty(STDERR_FILENO) != 0,
                     &portHeldElsewhere);
    const int code = runner.run();
    wireTrace().stopWriting();
    return code;
}
