// logger-sim: the simulated logger on a pseudo-terminal, linked as DIR/tty{N}, with the USB
// device contract (DIR/usb, DIR/cbus) the program's simulator device layer reads.
#include <signal.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTextStream>
#include <csignal>
#include <cstdio>

#include "sim/ptyserver.h"
#include "sim/replayserver.h"
#include "sim/simlogger.h"
#include "sim/simscenarios.h"

namespace {

// The server's stop pipe, written from the signal handler (only async-signal-safe calls).
volatile std::sig_atomic_t stopFd = -1;

void onSignal(int) {
    const int fd = stopFd;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// "CODE" or "CODE:N" with a command code 0..255 and N >= 0.
bool parseCodeCount(const QString& text, int defaultCount, std::uint8_t& code, int& count) {
    const QStringList parts = text.split(QLatin1Char(':'));
    bool okCode = false;
    bool okCount = true;
    const int value = parts.value(0).toInt(&okCode);
    count = parts.size() > 1 ? parts[1].toInt(&okCount) : defaultCount;
    if (!okCode || !okCount || value < 0 || value > 255 || count < 0 || parts.size() > 2) {
        return false;
    }
    code = static_cast<std::uint8_t>(value);
    return true;
}

QString scenarioHelp() {
    QString text = QStringLiteral("Scenarios:\n");
    for (const QString& name : simscenario::names()) {
        text += QStringLiteral("  %1  %2\n").arg(name, -11).arg(simscenario::describe(name));
    }
    return text;
}

// Serves a recorded trace; a trace larger than this is no recording of one run.
int replay(const QString& path, bool fast, const PtyOptions& options, QTextStream& err) {
    constexpr qint64 kMaxTraceBytes = qint64{1} << 28;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTraceBytes) {
        err << "logger-sim: cannot read the trace " << path << ": "
            << (file.isOpen() ? QStringLiteral("larger than 256 MiB") : file.errorString()) << '\n';
        return 2;
    }
    std::vector<ReplayExchange> exchanges;
    QString error;
    if (!loadReplay(file.readAll(), exchanges, error)) {
        err << "logger-sim: the trace " << path << " is refused: " << error << '\n';
        return 2;
    }
    ReplayScript script(std::move(exchanges), fast);
    ReplayServer server(script, options.dir, options.port, options.usbDescription);
    stopFd = server.stopFd();
    installSignalHandlers();
    if (!server.start(error)) {
        err << "logger-sim: " << error << '\n';
        return 2;
    }
    err << "logger-sim: replaying " << script.size() << " commands of " << path << " on "
        << server.linkPath() << (fast ? " as fast as possible" : " with the recorded timing")
        << '\n';
    err.flush();
    const int code = server.run();
    stopFd = -1;
    if (code == ReplayServer::kExitNotInTrace) {
        err << "logger-sim: replay ended: " << script.error() << '\n';
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("logger-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Simulated temperature and humidity logger on a pseudo-terminal.\n"
            "Links the terminal as DIR/tty{PORT}, creates DIR/usb (first line: the USB "
            "description) while plugged in, and reads the host's CBUS pulses from DIR/cbus (one "
            "decimal level per line; 255 then 0 resets the logger's interface, ending a stream). "
            "Removes its files on SIGTERM or SIGINT and when "
            "unplugged, then ends.\nFault options take command codes (e.g. 30 GetStatus, "
            "44 StreamRecords, 99 Identify) and may be repeated.\n\n") +
        scenarioHelp());
    parser.addHelpOption();
    const QCommandLineOption dirOption(QStringLiteral("dir"),
                                       QStringLiteral("Directory of the tty link and USB files."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Port number N of the link DIR/ttyN (1..16)."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption scenarioOption(QStringLiteral("scenario"),
                                            QStringLiteral("Scenario name (see above)."),
                                            QStringLiteral("NAME"), QStringLiteral("runs"));
    const QCommandLineOption baudOption(
        QStringLiteral("baud"),
        QStringLiteral("Pace both directions at this baud rate, 10 bits per byte; 0 unpaced."),
        QStringLiteral("RATE"), QStringLiteral("0"));
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("Model text answered to Identify."),
                                         QStringLiteral("TEXT"));
    const QCommandLineOption firmwareOption(QStringLiteral("firmware"),
                                            QStringLiteral("Firmware version MAJOR.MINOR."),
                                            QStringLiteral("VERSION"));
    const QCommandLineOption usbOption(QStringLiteral("usb-description"),
                                       QStringLiteral("First line of DIR/usb."),
                                       QStringLiteral("TEXT"), QStringLiteral("USB <-> Serial"));
    const QCommandLineOption timeScaleOption(
        QStringLiteral("time-scale"),
        QStringLiteral("Logger seconds per wall second (up to 86400), so recordings fill in "
                       "minutes: 60 makes a 1 min interval take a record every wall second."),
        QStringLiteral("FACTOR"), QStringLiteral("1"));
    const QCommandLineOption replyDelayOption(
        QStringLiteral("reply-delay-ms"),
        QStringLiteral("Hold each reply this many ms after its command has arrived, as the USB "
                       "chip's latency timer does (16 by default on a real chip, 1 with the udev "
                       "rule); a record stream waits once."),
        QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption delayOption(
        QStringLiteral("delay"),
        QStringLiteral("Hold the reply to K sends of CODE (every send without K), counted after "
                       "the first AFTER sends (0 without AFTER), for MS ms after its command has "
                       "arrived; replies behind it wait too. A record stream starts late."),
        QStringLiteral("CODE:MS[:K[:AFTER]]"));
    const QCommandLineOption unplugMsOption(
        QStringLiteral("unplug-after-ms"),
        QStringLiteral("Unplug (remove DIR/usb and the link, hang up) after this many ms."),
        QStringLiteral("MS"));
    const QCommandLineOption unplugRecordsOption(
        QStringLiteral("unplug-after-records"),
        QStringLiteral("Unplug once this many streamed records have been sent."),
        QStringLiteral("COUNT"));
    const QCommandLineOption unplugCommandOption(
        QStringLiteral("unplug-after-command"),
        QStringLiteral("Unplug once the first reply to CODE has been sent."),
        QStringLiteral("CODE"));
    const QCommandLineOption resetOption(
        QStringLiteral("require-reset"),
        QStringLiteral("Do not answer Identify until DIR/cbus has shown 255 and then 0."));
    const QCommandLineOption refuseOption(
        QStringLiteral("refuse"), QStringLiteral("Refuse (0xEE) the first K sends of CODE."),
        QStringLiteral("CODE:K"));
    const QCommandLineOption silentOption(
        QStringLiteral("silent"), QStringLiteral("Never answer CODE."), QStringLiteral("CODE"));
    const QCommandLineOption stallOption(
        QStringLiteral("stall-after"), QStringLiteral("A record stream stops after COUNT records."),
        QStringLiteral("COUNT"));
    const QCommandLineOption garbageOption(
        QStringLiteral("garbage"), QStringLiteral("Send N noise bytes ahead of replies to CODE."),
        QStringLiteral("CODE:N"));
    const QCommandLineOption overlongOption(
        QStringLiteral("overlong"),
        QStringLiteral("Answer CODE with more than 101 bytes before the terminator."),
        QStringLiteral("CODE"));
    const QCommandLineOption badValueOption(
        QStringLiteral("bad-value"),
        QStringLiteral("Answer CODE with an r2 pair that decodes above 255."),
        QStringLiteral("CODE"));
    const QCommandLineOption listOption(QStringLiteral("list-scenarios"),
                                        QStringLiteral("Print the scenario names and end."));
    const QCommandLineOption replayOption(
        QStringLiteral("replay"),
        QStringLiteral("Serve the logger recorded in a wire trace (--trace of the programs): each "
                       "command is answered with the reply recorded for it, in order and with the "
                       "recorded timing. A command the trace does not hold ends the replay (exit "
                       "code 3). The fault and scenario options do not apply."),
        QStringLiteral("FILE"));
    const QCommandLineOption replayFastOption(
        QStringLiteral("replay-fast"),
        QStringLiteral("With --replay: answer at once instead of with the recorded timing."));
    parser.addOptions({dirOption,           portOption,     scenarioOption,  baudOption,
                       modelOption,         firmwareOption, usbOption,       timeScaleOption,
                       replyDelayOption,    delayOption,    unplugMsOption,  unplugRecordsOption,
                       unplugCommandOption, resetOption,    refuseOption,    silentOption,
                       stallOption,         garbageOption,  overlongOption,  badValueOption,
                       listOption,          replayOption,   replayFastOption});
    parser.process(app);

    QTextStream err(stderr);
    if (parser.isSet(listOption)) {
        QTextStream(stdout) << simscenario::names().join(QLatin1Char('\n')) << '\n';
        return 0;
    }
    auto fail = [&err](const QString& message) {
        err << "logger-sim: " << message << '\n';
        return 2;
    };
    if (!parser.isSet(dirOption)) {
        return fail(QStringLiteral("--dir is required"));
    }
    bool ok = false;
    PtyOptions options;
    options.dir = parser.value(dirOption);
    options.port = parser.value(portOption).toInt(&ok);
    if (!ok || options.port < 1 || options.port > 16) {
        return fail(QStringLiteral("--port must be 1..16"));
    }
    options.baud = parser.value(baudOption).toInt(&ok);
    if (!ok || options.baud < 0) {
        return fail(QStringLiteral("--baud must be 0 or a positive rate"));
    }
    options.usbDescription = parser.value(usbOption);
    options.timeScale = parser.value(timeScaleOption).toDouble(&ok);
    if (!ok || !(options.timeScale > 0) || options.timeScale > 86400) {
        return fail(QStringLiteral("--time-scale must be a factor above 0, at most 86400"));
    }
    options.replyDelayMs = parser.value(replyDelayOption).toInt(&ok);
    if (!ok || options.replyDelayMs < 0) {
        return fail(QStringLiteral("--reply-delay-ms must be a number of milliseconds"));
    }
    if (parser.isSet(unplugMsOption)) {
        options.unplugAfterMs = parser.value(unplugMsOption).toLongLong(&ok);
        if (!ok || options.unplugAfterMs < 0) {
            return fail(QStringLiteral("--unplug-after-ms must be a number of milliseconds"));
        }
    }
    if (parser.isSet(unplugRecordsOption)) {
        options.unplugAfterRecords = parser.value(unplugRecordsOption).toInt(&ok);
        if (!ok || options.unplugAfterRecords < 0) {
            return fail(QStringLiteral("--unplug-after-records must be a record count"));
        }
    }

    if (parser.isSet(replayOption)) {
        return replay(parser.value(replayOption), parser.isSet(replayFastOption), options, err);
    }

    SimLogger logger;
    // The logger clock runs on the local wall-clock time, as a logger set by this computer.
    const QDateTime local = QDateTime::currentDateTime();
    const QDateTime now(local.date(),
                        QTime(local.time().hour(), local.time().minute(), local.time().second()),
                        Qt::UTC);
    const QString scenario = parser.value(scenarioOption);
    if (!simscenario::apply(scenario, logger, now)) {
        return fail(QStringLiteral("unknown scenario %1").arg(scenario));
    }
    if (parser.isSet(modelOption)) {
        logger.state().model = parser.value(modelOption).toLatin1();
    }
    if (parser.isSet(firmwareOption)) {
        const QStringList parts = parser.value(firmwareOption).split(QLatin1Char('.'));
        bool okMajor = false;
        bool okMinor = false;
        const int major = parts.value(0).toInt(&okMajor);
        const int minor = parts.value(1).toInt(&okMinor);
        if (parts.size() != 2 || !okMajor || !okMinor || major < 0 || major > 254 || minor < 0 ||
            minor > 254) {
            return fail(QStringLiteral("--firmware must be MAJOR.MINOR, each 0..254"));
        }
        logger.state().firmwareMajor = static_cast<std::uint8_t>(major);
        logger.state().firmwareMinor = static_cast<std::uint8_t>(minor);
    }
    logger.setRequireReset(parser.isSet(resetOption));

    SimFaults& faults = logger.faults();
    std::uint8_t code = 0;
    int count = 0;
    for (const QString& value : parser.values(refuseOption)) {
        if (!parseCodeCount(value, 1, code, count)) {
            return fail(QStringLiteral("bad --refuse %1").arg(value));
        }
        faults.refuseFirst[code] = count;
    }
    for (const QString& value : parser.values(garbageOption)) {
        if (!parseCodeCount(value, 4, code, count)) {
            return fail(QStringLiteral("bad --garbage %1").arg(value));
        }
        faults.garbageBefore[code] = count;
    }
    for (const QString& value : parser.values(delayOption)) {
        const QStringList parts = value.split(QLatin1Char(':'));
        SimDelay delay;
        bool ok[3] = {false, true, true};
        int* fields[3] = {&delay.ms, &delay.sends, &delay.after};
        for (int i = 0; i < 3 && i + 1 < parts.size(); ++i) {
            *fields[i] = parts[i + 1].toInt(&ok[i]);
        }
        const bool bounded = parts.size() < 3 || delay.sends >= 1;
        if (parts.size() < 2 || parts.size() > 4 || !ok[0] || !ok[1] || !ok[2] || delay.ms <= 0 ||
            !bounded || delay.after < 0 || !parseCodeCount(parts[0], 0, code, count)) {
            return fail(QStringLiteral("bad --delay %1").arg(value));
        }
        faults.delays[code] = delay;
    }
    const std::pair<const QCommandLineOption*, std::set<std::uint8_t>*> codeSets[] = {
        {&silentOption, &faults.silent},
        {&overlongOption, &faults.overlong},
        {&badValueOption, &faults.badValue}};
    for (const auto& [option, set] : codeSets) {
        for (const QString& value : parser.values(*option)) {
            if (!parseCodeCount(value, 0, code, count) || value.contains(QLatin1Char(':'))) {
                return fail(QStringLiteral("bad --%1 %2").arg(option->names().first(), value));
            }
            set->insert(code);
        }
    }
    if (parser.isSet(unplugCommandOption)) {
        const QString value = parser.value(unplugCommandOption);
        if (!parseCodeCount(value, 0, code, count) || value.contains(QLatin1Char(':'))) {
            return fail(QStringLiteral("bad --unplug-after-command %1").arg(value));
        }
        faults.unplugAfter = code;
    }
    if (parser.isSet(stallOption)) {
        faults.stallAfterRecords = parser.value(stallOption).toInt(&ok);
        if (!ok || faults.stallAfterRecords < 0) {
            return fail(QStringLiteral("--stall-after must be a record count"));
        }
    }

    PtyServer server(logger, options);
    stopFd = server.stopFd();
    installSignalHandlers();
    QString error;
    if (!server.start(error)) {
        return fail(error);
    }
    err << "logger-sim: scenario " << scenario << " on " << server.linkPath() << " ("
        << server.slaveName() << "), clock x" << options.timeScale << '\n';
    err.flush();
    const int exitCode = server.run();
    stopFd = -1;
    return exitCode;
}
