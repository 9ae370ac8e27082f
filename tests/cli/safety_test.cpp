// The command line never loses data or stops a logger unasked: the veltrane-cli program against
// logger-sim over a pseudo-terminal, with outputs that fail, loggers that record, signals in the
// middle of an exchange and a port that goes away.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

#include "cli/options.h"
#include "simrig.h"

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A start the demo and runs loggers take, answered Yes to the never-downloaded question.
const QStringList kStart = {QStringLiteral("start"),   QStringLiteral("--name"),
                            QStringLiteral("XY"),      QStringLiteral("--interval"),
                            QStringLiteral("5min"),    QStringLiteral("--loop"),
                            QStringLiteral("--force"), QStringLiteral("--verbose")};

class CliSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        if (PtySimRig::program().isEmpty() || cli().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
        }
    }

    bool startSim(const QStringList& options) { return simulator.start(options); }

    static QString cli() { return qEnvironmentVariable("VELTRANE_CLI"); }

    // The program on the simulator's folder, its scratch files in a folder of the test's own.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELTRANE_DEVICE_DIR"), simulator.deviceDir());
        environment.insert(QStringLiteral("TMPDIR"), scratchRoot.path());
        return environment;
    }
    void launch(QProcess& process, const QStringList& arguments, const QString& stdoutFile = {}) {
        process.setProcessEnvironment(environment());
        if (!stdoutFile.isEmpty()) {
            process.setStandardOutputFile(stdoutFile);
        }
        process.start(cli(), arguments);
        process.waitForStarted(10000);
    }

    static CliResult finish(QProcess& process, QByteArray err = {}) {
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), err + process.readAllStandardError()};
    }

    CliResult run(const QStringList& arguments, const QString& stdoutFile = {}) {
        QProcess process;
        launch(process, arguments, stdoutFile);
        return finish(process);
    }

    QJsonObject status() {
        const CliResult result = run({QStringLiteral("status"), QStringLiteral("--json")});
        EXPECT_EQ(result.exitCode, Done) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out).object();
    }

    // Nothing of a run is left behind: no scratch folder, no hidden temporary beside the output.
    void expectNoLeftovers(const QString& outFolder) {
        EXPECT_TRUE(QDir(scratchRoot.path()).isEmpty()) << "scratch folder left behind";
        const QStringList hidden =
            QDir(outFolder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : hidden) {
            EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << name.toStdString();
        }
    }

    QTemporaryDir work;
    QTemporaryDir scratchRoot;
    PtySimRig simulator;
};

TEST_F(CliSafety, AFailedOutputLeavesTheLoggerWarningOfItsData) {
    ASSERT_TRUE(startSim({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    const QString folder = work.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const struct {
        const char* what;
        QStringList arguments;
        QString stdoutFile;
        int exitCode;
        const char* message;
    } cases[] = {
        {"standard output on a full device",
         {},
         QStringLiteral("/dev/full"),
         Refused,
         "Standard output cannot be written: No space left on device"},
        {"--out - on a full device",
         {QStringLiteral("--out"), QStringLiteral("-")},
         QStringLiteral("/dev/full"),
         Refused,
         "Standard output cannot be written"},
        {"a folder that does not exist",
         {QStringLiteral("--out"), work.filePath(QStringLiteral("missing/x.csv"))},
         {},
         Refused,
         "The folder "},
        {"a folder as the file", {QStringLiteral("--out"), folder}, {}, Refused, "is a folder"},
        {"a device as the file",
         {QStringLiteral("--out"), QStringLiteral("/dev/full")},
         {},
         Refused,
         "is not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult result =
            run(QStringList{QStringLiteral("download")} + c.arguments, c.stdoutFile);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_EQ(status().value(QStringLiteral("downloaded")), QJsonValue(false));
    }
    // Standard output closed by the caller: nothing else may take its place.
    QProcess shell;
    shell.setProcessEnvironment(environment());
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("exec \"$0\" download >&-"), cli()});
    const CliResult closed = finish(shell);
    EXPECT_EQ(closed.exitCode, Refused) << closed.err.toStdString();
    EXPECT_TRUE(closed.err.contains("Standard output cannot be written: Bad file descriptor"))
        << closed.err.toStdString();
    EXPECT_EQ(status().value(QStringLiteral("downloaded")), QJsonValue(false));
    EXPECT_TRUE(QDir(folder).isEmpty());
    expectNoLeftovers(work.path());

    // Kept as given: no extension added; the logger is marked once the file is in place.
    const QString report = work.filePath(QStringLiteral("report"));
    const CliResult saved = run({QStringLiteral("download"), QStringLiteral("--out"), report});
    ASSERT_EQ(saved.exitCode, Done) << saved.err.toStdString();
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 3 + 650);
    EXPECT_FALSE(QFile::exists(report + QStringLiteral(".csv")));
    EXPECT_EQ(status().value(QStringLiteral("downloaded")), QJsonValue(true));
    expectNoLeftovers(work.path());
}

TEST_F(CliSafety, AFullOrReadOnlyFileSystemLeavesNoFileAndTheLoggerUnmarked) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    const QString mountPoint = work.filePath(QStringLiteral("small"));
    ASSERT_TRUE(QDir().mkdir(mountPoint));
    // Room for a part of the 650 records only.
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=16k"), QStringLiteral("tmpfs"), mountPoint}) != 0) {
        GTEST_SKIP() << "no tmpfs could be mounted";
    }
    const std::unique_ptr<const QString, void (*)(const QString*)> unmount(
        &mountPoint,
        [](const QString* point) { QProcess::execute(QStringLiteral("umount"), {*point}); });
    ASSERT_TRUE(startSim({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    const CliResult result = run({QStringLiteral("download"), QStringLiteral("--out"),
                                  mountPoint + QStringLiteral("/x.csv")});
    EXPECT_EQ(result.exitCode, Refused);
    EXPECT_TRUE(result.err.contains("No space left on device")) << result.err.toStdString();
    EXPECT_TRUE(QDir(mountPoint)
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden)
                    .isEmpty());
    EXPECT_EQ(status().value(QStringLiteral("downloaded")), QJsonValue(false));

    // A folder that cannot be written is named, and refused before the download.
    ASSERT_EQ(QProcess::execute(QStringLiteral("mount"),
                                {QStringLiteral("-o"), QStringLiteral("remount,ro"), mountPoint}),
              0);
    const CliResult readOnly =
        run({QStringLiteral("download"), QStringLiteral("--out"),
             mountPoint + QStringLiteral("/x.csv"), QStringLiteral("--verbose")});
    EXPECT_EQ(readOnly.exitCode, Refused);
    EXPECT_TRUE(readOnly.err.contains(
        QStringLiteral("The folder %1 cannot be written: ").arg(mountPoint).toUtf8()))
        << readOnly.err.toStdString();
    EXPECT_FALSE(readOnly.err.contains("connected on port")) << readOnly.err.toStdString();
}

TEST_F(CliSafety, AFileNameIsKeptAsItsBytes) {
    ASSERT_TRUE(startSim({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    // No QString holds these bytes; the shell passes them as they are.
    QProcess shell;
    shell.setProcessEnvironment(environment());
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("exec \"$0\" download --out \"$1/$(printf 'r\\377\\376.csv')\""),
                 cli(), work.path()});
    const CliResult result = finish(shell);
    ASSERT_EQ(result.exitCode, Done) << result.err.toStdString();
    // The folder holds that one name, byte for byte.
    const QByteArray folder = QFile::encodeName(work.path());
    QList<QByteArray> names;
    if (DIR* listing = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(listing)) {
            if (entry->d_name[0] != '.') {
                names.append(QByteArray(entry->d_name));
            }
        }
        ::closedir(listing);
    }
    EXPECT_EQ(names, QList<QByteArray>{QByteArray("r\xff\xfe.csv")});
    // QDir cannot name it to remove it.
    ::unlink((folder + "/r\xff\xfe.csv").constData());
}

TEST_F(CliSafety, ARunningLoggerIsDownloadedOnlyWithStop) {
    const struct {
        const char* scenario;
        const char* refusal;
        const char* stopped;
        const char* before;
    } cases[] = {
        {"recording", "The logger is recording", "The recording was stopped", "recording"},
        {"reserved", "waits for a reserved start", "The reserved start was cancelled", "reserved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        ASSERT_TRUE(startSim({QStringLiteral("--scenario"), QString::fromLatin1(c.scenario)}));
        const QString path = work.filePath(QString::fromLatin1(c.scenario));
        const CliResult refused = run({QStringLiteral("download"), QStringLiteral("--out"), path});
        EXPECT_EQ(refused.exitCode, Refused);
        EXPECT_TRUE(refused.err.contains(c.refusal)) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains("--stop")) << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(status().value(QStringLiteral("state")).toString(),
                  QString::fromLatin1(c.before));

        const CliResult stopped = run(
            {QStringLiteral("download"), QStringLiteral("--out"), path, QStringLiteral("--stop")});
        EXPECT_EQ(stopped.exitCode, Done) << stopped.err.toStdString();
        EXPECT_TRUE(stopped.err.contains(c.stopped)) << stopped.err.toStdString();
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(status().value(QStringLiteral("state")).toString(), QStringLiteral("stopped"));
    }
}

// Runs the program until its --verbose log shows `step`, then sends `signal`.
CliResult signalAt(QProcess& process, const char* step, int signal) {
    QByteArray err;
    const bool reached = waitUntil(
        [&] {
            err += process.readAllStandardError();
            return err.contains(step) || process.state() == QProcess::NotRunning;
        },
        60000);
    EXPECT_TRUE(reached && err.contains(step)) << err.toStdString();
    const qint64 pid = process.processId();
    if (process.state() == QProcess::Running && pid > 0) {
        ::kill(static_cast<pid_t>(pid), signal);
    }
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            {},
            err + process.readAllStandardError()};
}

TEST_F(CliSafety, ASignalAbandonsTheExchangeAndSaysWhatTheLoggerHolds) {
    const QString path = work.filePath(QStringLiteral("signalled.csv"));
    const QStringList download = {QStringLiteral("download"), QStringLiteral("--normal"),
                                  QStringLiteral("--verbose")};
    const struct {
        const char* what;
        QStringList simOptions;
        QStringList arguments;
        const char* step;
        int signal;
        int exitCode;
        const char* state;
    } cases[] = {
        // One read per record at 20 ms each: the transfer takes seconds.
        {"download to a file, SIGINT",
         {QStringLiteral("--scenario"), QStringLiteral("runs"), QStringLiteral("--reply-delay-ms"),
          QStringLiteral("20")},
         download + QStringList{QStringLiteral("--out"), path},
         "download started",
         SIGINT,
         130,
         "no file was written"},
        {"download to standard output, SIGTERM",
         {QStringLiteral("--scenario"), QStringLiteral("runs"), QStringLiteral("--reply-delay-ms"),
          QStringLiteral("20")},
         download,
         "download started",
         SIGTERM,
         143,
         "still warns"},
        // StartRecording unanswered holds the start after its first changes.
        {"start, SIGINT",
         {QStringLiteral("--scenario"), QStringLiteral("demo"), QStringLiteral("--silent"),
          QStringLiteral("11")},
         kStart,
         "programming the logger",
         SIGINT,
         130,
         "may be partly set and is not recording"},
        {"start, SIGHUP",
         {QStringLiteral("--scenario"), QStringLiteral("demo"), QStringLiteral("--silent"),
          QStringLiteral("11")},
         kStart,
         "programming the logger",
         SIGHUP,
         129,
         "may be partly set and is not recording"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(startSim(c.simOptions));
        QProcess process;
        launch(process, c.arguments);
        const CliResult result = signalAt(process, c.step, c.signal);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("Interrupted by SIG")) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.state)) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(path));
        expectNoLeftovers(work.path());
        EXPECT_EQ(status().value(QStringLiteral("downloaded")), QJsonValue(false));
    }
}

TEST_F(CliSafety, ALostPortIsExplained) {
    const struct {
        const char* what;
        QStringList arguments;
        const char* step;
    } cases[] = {
        {"continuous measurement",
         {QStringLiteral("measure"), QStringLiteral("--every"), QStringLiteral("2s"),
          QStringLiteral("--count"), QStringLiteral("100"), QStringLiteral("--verbose")},
         "status read"},
        {"start", kStart, "programming the logger"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(startSim({QStringLiteral("--scenario"), QStringLiteral("demo"),
                              QStringLiteral("--silent"), QStringLiteral("11")}));
        QProcess process;
        launch(process, c.arguments);
        QByteArray err;
        ASSERT_TRUE(waitUntil(
            [&] {
                err += process.readAllStandardError();
                return err.contains(c.step) || process.state() == QProcess::NotRunning;
            },
            60000));
        // The simulator ending is the logger unplugged.
        simulator.stop();
        const CliResult result = finish(process, err);
        EXPECT_EQ(result.exitCode, CommunicationFailed) << result.err.toStdString();
        // A reason beside the --verbose log: the link's own message for the procedure, or
        // the command line's when the link said nothing.
        QByteArrayList reasons = result.err.split('\n');
        reasons.removeIf([](const QByteArray& line) {
            return line.isEmpty() || line.startsWith("veltrane.cli: ") ||
                   line.startsWith("veltrane.link: ");
        });
        EXPECT_FALSE(reasons.isEmpty()) << result.err.toStdString();
    }
}

TEST_F(CliSafety, RefusalsComeBeforeTheLoggerIsTouched) {
    // No logger at all: a refusal that waited for one would say "not connected" instead.
    const QString folder = work.path();
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {{QStringLiteral("download"), QStringLiteral("--out"),
          folder + QStringLiteral("/missing/x.csv")},
         Refused,
         QStringLiteral("The folder %1/missing does not exist.").arg(folder)},
        {{QStringLiteral("download"), QStringLiteral("--out"), folder},
         Refused,
         QStringLiteral("is a folder")},
        {{QStringLiteral("measure"), QStringLiteral("--out"), folder},
         Refused,
         QStringLiteral("is a folder")},
        {{QStringLiteral("start"), QStringLiteral("--name"), QStringLiteral("Kühlraum"),
          QStringLiteral("--interval"), QStringLiteral("5min"), QStringLiteral("--loop")},
         Usage,
         QStringLiteral("at most 4 characters")},
        {{QStringLiteral("start"), QStringLiteral("--name"), QStringLiteral("XY"),
          QStringLiteral("--interval"), QStringLiteral("5min"), QStringLiteral("--loop"),
          QStringLiteral("--upper"), QStringLiteral("5"), QStringLiteral("--lower"),
          QStringLiteral("9")},
         Usage,
         QStringLiteral("--lower must lie below --upper: 9 is not below 5.")},
        {{QStringLiteral("measure"), QStringLiteral("--every"), QStringLiteral("90s")},
         Usage,
         QStringLiteral("--every 90s")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message)) << result.err.toStdString();
        EXPECT_FALSE(result.err.contains("not connected")) << result.err.toStdString();
    }
    expectNoLeftovers(folder);
}

TEST_F(CliSafety, APortHeldByTheOtherProgramIsInUse) {
    ASSERT_TRUE(startSim({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    QSerialPort held(simulator.devicePath(QStringLiteral("tty1")));
    ASSERT_TRUE(held.open(QIODevice::ReadWrite));
    for (const QStringList& port :
         {QStringList{}, QStringList{QStringLiteral("--port"), QStringLiteral("1")}}) {
        const CliResult result = run(QStringList{QStringLiteral("status")} + port);
        EXPECT_EQ(result.exitCode, PortInUse);
        EXPECT_TRUE(result.err.contains("is in use by another program"))
            << result.err.toStdString();
    }
    held.close();
    EXPECT_EQ(run({QStringLiteral("status")}).exitCode, Done);
}

}  // namespace
