// Replaying wire traces: veltrane-cli runs recorded against logger-sim over a pseudo-terminal,
// then the same runs against logger-sim --replay of their trace, which must give the same
// files, output and messages; and the replay's own rules on a script of exchanges.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "link/tracelines.h"
#include "sim/replayscript.h"

namespace {

struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// One logger-sim process on its own device folder, its standard error kept.
class SimProcess {
  public:
    ~SimProcess() { stop(); }

    bool start(const QString& dir, const QStringList& options) {
        process_.setProgram(qEnvironmentVariable("VELTRANE_SIM"));
        process_.setArguments(QStringList{QStringLiteral("--dir"), dir} + options);
        process_.setReadChannel(QProcess::StandardError);
        process_.start();
        // It names its terminal on standard error once the terminal and the USB file exist.
        const QDeadlineTimer deadline(10000);
        while (!err_.contains('\n') && !deadline.hasExpired()) {
            if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                break;
            }
            err_ += process_.readAllStandardError();
        }
        return err_.contains(" on ");
    }

    // Ends the logger (if it still runs) and returns its exit code.
    int stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
        err_ += process_.readAllStandardError();
        return process_.exitCode();
    }

    bool waitForExit(int ms) { return process_.waitForFinished(ms); }
    const QByteArray& err() const { return err_; }

  private:
    QProcess process_;
    QByteArray err_;
};

class ReplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariable("VELTRANE_SIM").isEmpty() ||
            qEnvironmentVariable("VELTRANE_CLI").isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
        }
    }

    QString path(const QString& name) const { return work.filePath(name); }

    RunResult runCli(const QString& deviceDir, const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELTRANE_DEVICE_DIR"), deviceDir);
        process.setProcessEnvironment(environment);
        process.start(qEnvironmentVariable("VELTRANE_CLI"), arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // The run against the simulated logger with its trace written to `trace`.
    RunResult record(const QStringList& simOptions, const QStringList& arguments,
                     const QString& trace) {
        SimProcess sim;
        const QString dir = path(QStringLiteral("record-") + trace);
        EXPECT_TRUE(sim.start(dir, simOptions)) << sim.err().toStdString();
        return runCli(dir, QStringList(arguments) << QStringLiteral("--trace") << path(trace));
    }

    // The same run against the replay of `trace`; `simExit` gets the replay's exit code.
    RunResult replay(const QString& trace, const QStringList& arguments, int* simExit = nullptr,
                     QByteArray* simErr = nullptr) {
        SimProcess sim;
        const QString dir = path(QStringLiteral("replay-") + trace);
        EXPECT_TRUE(sim.start(
            dir, {QStringLiteral("--replay"), path(trace), QStringLiteral("--replay-fast")}))
            << sim.err().toStdString();
        const RunResult result = runCli(dir, arguments);
        sim.waitForExit(simExit != nullptr ? 5000 : 0);
        const int code = sim.stop();
        if (simExit != nullptr) {
            *simExit = code;
        }
        if (simErr != nullptr) {
            *simErr = sim.err();
        }
        return result;
    }

    static QByteArray readFile(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir work;
};

// Real-time lines carry the computer's time of each reading; the values are the logger's.
QByteArray measuredValues(const QByteArray& out) {
    QByteArray values;
    for (const QByteArray& line : out.split('\n')) {
        values += line.mid(line.indexOf('\t') + 1) + '\n';
    }
    return values;
}

struct RunCase {
    const char* name;
    QStringList simOptions;
    QStringList arguments;  // "OUT" stands for the output file of the run
    bool valuesOnly;        // compare the measured values, not the time stamps
    int exitCode;           // of the recorded run
};

TEST_F(ReplayTest, ReplayedRunsGiveTheSameFilesOutputAndMessages) {
    const QString s = QStringLiteral("--scenario");
    const RunCase cases[] = {
        {"status",
         {s, QStringLiteral("demo")},
         {QStringLiteral("status"), QStringLiteral("--json")},
         false,
         0},
        {"fast",
         {s, QStringLiteral("runs")},
         {QStringLiteral("download"), QStringLiteral("--out"), QStringLiteral("OUT")},
         false,
         0},
        {"normal",
         {s, QStringLiteral("runs")},
         {QStringLiteral("download"), QStringLiteral("--normal"), QStringLiteral("--out"),
          QStringLiteral("OUT")},
         false,
         0},
        {"start",
         {s, QStringLiteral("demo")},
         {QStringLiteral("start"), QStringLiteral("--name"), QStringLiteral("AB"),
          QStringLiteral("--interval"), QStringLiteral("10s"), QStringLiteral("--one-time"),
          QStringLiteral("--force")},
         false,
         0},
        {"measure",
         {s, QStringLiteral("demo")},
         {QStringLiteral("measure"), QStringLiteral("--every"), QStringLiteral("2s"),
          QStringLiteral("--count"), QStringLiteral("3")},
         true,
         0},
        {"timeout",
         {s, QStringLiteral("demo"), QStringLiteral("--silent"), QStringLiteral("30")},
         {QStringLiteral("status")},
         false,
         4},
        {"refusal",
         {s, QStringLiteral("demo"), QStringLiteral("--refuse"), QStringLiteral("42:11")},
         {QStringLiteral("status")},
         false,
         4},
        {"garbage",
         {s, QStringLiteral("runs"), QStringLiteral("--garbage"), QStringLiteral("8:5")},
         {QStringLiteral("download"), QStringLiteral("--normal"), QStringLiteral("--out"),
          QStringLiteral("OUT")},
         false,
         0},
    };
    for (const RunCase& run : cases) {
        SCOPED_TRACE(run.name);
        const QString trace = QString::fromLatin1(run.name) + QStringLiteral(".jsonl");
        QStringList recordArgs = run.arguments;
        QStringList replayArgs = run.arguments;
        recordArgs.replaceInStrings(QStringLiteral("OUT"), path(QStringLiteral("recorded.csv")));
        replayArgs.replaceInStrings(QStringLiteral("OUT"), path(QStringLiteral("replayed.csv")));
        const RunResult recorded = record(run.simOptions, recordArgs, trace);
        EXPECT_EQ(recorded.exitCode, run.exitCode) << recorded.err.toStdString();
        int simExit = -1;
        const RunResult replayed = replay(trace, replayArgs, &simExit);
        EXPECT_EQ(replayed.exitCode, recorded.exitCode) << replayed.err.toStdString();
        EXPECT_EQ(replayed.err, recorded.err);
        if (run.valuesOnly) {
            EXPECT_EQ(measuredValues(replayed.out), measuredValues(recorded.out));
        } else {
            EXPECT_EQ(replayed.out, recorded.out);
        }
        if (run.arguments.contains(QStringLiteral("OUT"))) {
            const QByteArray csv = readFile(path(QStringLiteral("recorded.csv")));
            EXPECT_GT(csv.count('\n'), 3);
            EXPECT_EQ(readFile(path(QStringLiteral("replayed.csv"))), csv);
            QFile::remove(path(QStringLiteral("recorded.csv")));
            QFile::remove(path(QStringLiteral("replayed.csv")));
        }
        // The replay served the whole trace and was ended by the test, not by a stray command.
        EXPECT_EQ(simExit, 0);
    }
}

TEST_F(ReplayTest, ACommandTheTraceDoesNotHoldEndsTheReplayNamingIt) {
    record({QStringLiteral("--scenario"), QStringLiteral("demo")}, {QStringLiteral("status")},
           QStringLiteral("status.jsonl"));
    int simExit = -1;
    QByteArray simErr;
    const RunResult measured =
        replay(QStringLiteral("status.jsonl"), {QStringLiteral("measure")}, &simExit, &simErr);
    EXPECT_NE(measured.exitCode, 0);
    EXPECT_EQ(simExit, 3);
    EXPECT_TRUE(simErr.contains("replay ended: SetFastSampling (00 01 00 25"))
        << simErr.toStdString();
}

TEST_F(ReplayTest, ATraceWithABadLineIsRefusedNamingTheLine) {
    QFile file(path(QStringLiteral("bad.jsonl")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "{\"t_us\":1,\"ev\":\"tx\",\"hex\":\"0001001600000000ff\"}\n"
        "{\"t_us\":2,\"ev\":\"rx\",\"hex\":\"00010\"}\n");
    file.close();
    QProcess sim;
    sim.start(qEnvironmentVariable("VELTRANE_SIM"),
              {QStringLiteral("--dir"), path(QStringLiteral("bad")), QStringLiteral("--replay"),
               file.fileName()});
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_TRUE(sim.readAllStandardError().contains("line 2:"));
}

QByteArray frame(std::uint8_t command, std::uint8_t arg1) {
    const auto packed = [](int v) { return static_cast<char>(((v / 10 % 10) << 4) | (v % 10)); };
    QByteArray bytes(9, '\0');
    bytes[1] = 1;
    bytes[2] = static_cast<char>(command / 100);
    bytes[3] = packed(command);
    bytes[4] = static_cast<char>(arg1 / 100);
    bytes[5] = packed(arg1);
    bytes[8] = static_cast<char>(0xFF);
    return bytes;
}

TEST(ReplayScript, ServesRepliesAtTheirRecordedDelaysAndOnlyClockArgumentsMayDiffer) {
    const QByteArray status = frame(30, 0);
    const QByteArray clock = frame(1, 26);
    std::vector<ReplayExchange> exchanges = {
        {status, 1, {{2000, QByteArray("ab")}, {5000, QByteArray("cd")}}},
        {status, 4, {}},  // recorded silence: the host's resend is the next command
        {clock, 5, {{1000, QByteArray("ef")}}},
    };
    ReplayScript timed(exchanges, false);
    // A frame split across reads waits for its end.
    ASSERT_TRUE(timed.receive(status.left(4), 100));
    EXPECT_EQ(timed.nextDueUs(), -1);
    ASSERT_TRUE(timed.receive(status.mid(4), 100));
    EXPECT_EQ(timed.nextDueUs(), 2100);
    EXPECT_EQ(timed.takeDue(2099), QByteArray());
    EXPECT_EQ(timed.takeDue(2100), QByteArray("ab"));
    EXPECT_EQ(timed.takeDue(10000), QByteArray("cd"));
    ASSERT_TRUE(timed.receive(status, 20000));
    EXPECT_EQ(timed.nextDueUs(), -1);
    // Another year in the clock frame: the present time differs between record and replay.
    ASSERT_TRUE(timed.receive(frame(1, 27), 30000));
    EXPECT_EQ(timed.takeDue(31000), QByteArray("ef"));
    EXPECT_FALSE(timed.receive(status, 40000));
    EXPECT_TRUE(timed.error().contains(QStringLiteral("GetStatus")));
    EXPECT_TRUE(timed.error().contains(QStringLiteral("ends after 3 commands")));

    ReplayScript fast(exchanges, true);
    ASSERT_TRUE(fast.receive(status, 100));
    EXPECT_EQ(fast.takeDue(100), QByteArray("abcd"));
    // Any other argument of any other command is a different command.
    EXPECT_FALSE(fast.receive(frame(30, 1), 200));
    EXPECT_TRUE(fast.error().contains(QStringLiteral("line 4 holds GetStatus")));
}

TEST(ReplayScript, LoadingKeepsRepliesWithTheirCommandsAndDropsEarlierBytes) {
    const QByteArray trace =
        "{\"t_us\":10,\"ev\":\"rx\",\"hex\":\"00\"}\n"
        "{\"t_us\":20,\"ev\":\"open\",\"port\":1,\"settings\":\"57600,n,8,1\",\"ok\":true}\n"
        "{\"t_us\":100,\"ev\":\"tx\",\"hex\":\"0001003000000000ff\",\"cmd\":\"GetStatus\"}\n"
        "{\"t_us\":350,\"ev\":\"rx\",\"hex\":\"0001\"}\n"
        "{\"t_us\":400,\"ev\":\"rx\",\"hex\":\"003000000000ff\"}\n";
    std::vector<ReplayExchange> exchanges;
    QString error;
    ASSERT_TRUE(loadReplay(trace, exchanges, error)) << error.toStdString();
    ASSERT_EQ(exchanges.size(), 1U);
    EXPECT_EQ(exchanges[0].line, 3);
    ASSERT_EQ(exchanges[0].chunks.size(), 2U);
    EXPECT_EQ(exchanges[0].chunks[0].delayUs, 250);
    EXPECT_EQ(exchanges[0].chunks[1].delayUs, 300);
    EXPECT_FALSE(loadReplay("{\"t_us\":10,\"ev\":\"rx\",\"hex\":\"00\"}\n", exchanges, error));
}

}  // namespace
