// The command line end to end: the veltrane-cli program against logger-sim over a
// pseudo-terminal, beside the main window on the same simulated logger.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/mainwindow.h"
#include "cli/options.h"
#include "fakes.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"
#include "simrig.h"

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class CliTest : public ::testing::Test {
  protected:
    void startSim(const QStringList& options) {
        if (PtySimRig::program().isEmpty() || cli().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
        }
        ASSERT_TRUE(simulator.start(options));
    }

    static QString cli() { return qEnvironmentVariable("VELTRANE_CLI"); }

    CliResult run(const QStringList& arguments) {
        QProcess process;
        process.start(cli(), arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QTemporaryDir work;
    PtySimRig simulator;
};

// The window's download of the same logger, saved through its own CSV writer.
QByteArray windowCsv(const QString& programDir, const QString& path) {
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    ScriptedPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, programDir});
    if (!window.startUp()) {
        return {};
    }
    window.findChild<QPushButton*>(QStringLiteral("Command20"))->click();
    waitUntil([&] { return !window.session().engine().busy(); }, 30000);
    window.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
    waitUntil([&] { return !window.session().engine().busy(); }, 60000);
    prompter.fileNames = {path};
    window.saveCsv(LogData);
    QFile file(path);
    window.close();
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(CliTest, DownloadWritesTheFileTheWindowSaves) {
    startSim({QStringLiteral("--scenario"), QStringLiteral("runs")});
    const QString cliPath = work.filePath(QStringLiteral("cli.csv"));
    const CliResult result = run({QStringLiteral("download"), QStringLiteral("--out"), cliPath});
    ASSERT_EQ(result.exitCode, Done) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    QFile cliFile(cliPath);
    ASSERT_TRUE(cliFile.open(QIODevice::ReadOnly));
    const QByteArray cliBytes = cliFile.readAll();
    EXPECT_EQ(cliBytes.count('\n'), 3 + 650);

    const QByteArray windowBytes =
        windowCsv(work.path(), work.filePath(QStringLiteral("window.csv")));
    EXPECT_EQ(cliBytes, windowBytes);

    // Without --out the same bytes go to standard output.
    const CliResult toStdout = run({QStringLiteral("download")});
    EXPECT_EQ(toStdout.exitCode, Done);
    EXPECT_EQ(toStdout.out, cliBytes);
}

TEST_F(CliTest, StartThenStatusShowsTheRecordingAndRefusalsKeepTheLogger) {
    startSim({QStringLiteral("--scenario"), QStringLiteral("demo")});
    const auto status = [&] {
        const CliResult result = run({QStringLiteral("status"), QStringLiteral("--json")});
        EXPECT_EQ(result.exitCode, Done) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out).object();
    };
    // The demo logger holds data never downloaded: without --force the question refuses.
    const QStringList start = {QStringLiteral("start"),   QStringLiteral("--name"),
                               QStringLiteral("XY"),      QStringLiteral("--interval"),
                               QStringLiteral("5min"),    QStringLiteral("--loop"),
                               QStringLiteral("--upper"), QStringLiteral("31"),
                               QStringLiteral("--lower"), QStringLiteral("4")};
    const CliResult unforced = run(start);
    EXPECT_EQ(unforced.exitCode, Refused);
    EXPECT_FALSE(unforced.err.isEmpty());
    EXPECT_EQ(status().value(QStringLiteral("name")).toString(), QStringLiteral("DEMO"));

    const CliResult offInterval =
        run(QStringList(start) << QStringLiteral("--force") << QStringLiteral("--interval")
                               << QStringLiteral("1s"));
    EXPECT_EQ(offInterval.exitCode, Refused);

    const CliResult forced = run(QStringList(start) << QStringLiteral("--force"));
    ASSERT_EQ(forced.exitCode, Done) << forced.err.toStdString();
    const QJsonObject recording = status();
    EXPECT_EQ(recording.value(QStringLiteral("name")).toString(), QStringLiteral("XY"));
    EXPECT_EQ(recording.value(QStringLiteral("state")), QJsonValue(QStringLiteral("recording")));
    EXPECT_EQ(recording.value(QStringLiteral("interval_seconds")), QJsonValue(300));
    EXPECT_EQ(recording.value(QStringLiteral("loop")), QJsonValue(true));
    const auto bound = [](int degrees) {
        return QJsonValue(
            QJsonObject{{QStringLiteral("on"), true}, {QStringLiteral("degrees"), degrees}});
    };
    EXPECT_EQ(recording.value(QStringLiteral("upper_bound")), bound(31));
    EXPECT_EQ(recording.value(QStringLiteral("lower_bound")), bound(4));

    EXPECT_EQ(run(QStringList(start) << QStringLiteral("--force")).exitCode, Refused);
    const CliResult stopped = run({QStringLiteral("stop")});
    EXPECT_EQ(stopped.exitCode, Done);
    EXPECT_TRUE(stopped.out.contains("Record stop"));
}

TEST_F(CliTest, MeasureEveryTwoSecondsPrintsOneLinePerSample) {
    startSim({QStringLiteral("--scenario"), QStringLiteral("demo")});
    const CliResult result =
        run({QStringLiteral("measure"), QStringLiteral("--every"), QStringLiteral("2s"),
             QStringLiteral("--count"), QStringLiteral("2")});
    ASSERT_EQ(result.exitCode, Done) << result.err.toStdString();
    const QList<QByteArray> lines = result.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    for (const QByteArray& line : lines) {
        EXPECT_EQ(line.split('\t').size(), 3) << line.toStdString();
    }
}

TEST_F(CliTest, FailuresHaveTheirOwnExitCodes) {
    startSim({QStringLiteral("--scenario"), QStringLiteral("runs"), QStringLiteral("--stall-after"),
              QStringLiteral("100")});
    const QString path = work.filePath(QStringLiteral("stalled.csv"));
    const CliResult stalled = run({QStringLiteral("download"), QStringLiteral("--out"), path});
    EXPECT_EQ(stalled.exitCode, CommunicationFailed) << stalled.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    const CliResult noLogger =
        run({QStringLiteral("status"), QStringLiteral("--port"), QStringLiteral("5")});
    EXPECT_EQ(noLogger.exitCode, NoLogger);
    EXPECT_TRUE(noLogger.err.contains(
        "Veltrane not connected.\nRun veltrane --check to see what the setup lacks.\n"))
        << noLogger.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("status"), QStringLiteral("--colour")}).exitCode, Usage);
}

TEST_F(CliTest, VerboseLogsTheFramesOnStandardErrorOnly) {
    startSim({QStringLiteral("--scenario"), QStringLiteral("runs")});
    const QStringList status = {QStringLiteral("status"), QStringLiteral("--port"),
                                QStringLiteral("1")};
    const CliResult verbose = run(status + QStringList{QStringLiteral("--verbose")});
    ASSERT_EQ(verbose.exitCode, Done) << verbose.err.toStdString();
    EXPECT_TRUE(verbose.err.contains(" ms send GetStatus [port open] 00 01 00 30 00 00 00 00 ff\n"))
        << verbose.err.toStdString();
    EXPECT_TRUE(verbose.err.contains(" ms reply GetStatus 00 01 00 30 "))
        << verbose.err.toStdString();
    const CliResult quiet = run(status);
    ASSERT_EQ(quiet.exitCode, Done) << quiet.err.toStdString();
    EXPECT_FALSE(quiet.err.contains("veltrane.link")) << quiet.err.toStdString();
    EXPECT_EQ(quiet.out, verbose.out);
}

}  // namespace
