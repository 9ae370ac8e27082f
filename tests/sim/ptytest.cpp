// The logger-sim program end to end over its pseudo-terminal: identify, status, streaming,
// faults from the command line, pacing, the USB files, unplugging and clean shutdown.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "replyutil.h"
#include "sim/simscenarios.h"

namespace {

QString simulatorPath() {
    const QString fromEnv = qEnvironmentVariable("VELTRANE_SIM");
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../src/sim/logger-sim"));
}

class PtySimulator : public ::testing::Test {
  protected:
    void TearDown() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }

    // Starts the program on port 3 and opens its terminal in raw mode.
    bool start(const QStringList& extra, const QString& scenario = QStringLiteral("runs")) {
        const QString program = simulatorPath();
        if (!QFileInfo(program).isExecutable()) {
            ADD_FAILURE() << "logger-sim not found at " << program.toStdString()
                          << " (set VELTRANE_SIM)";
            return false;
        }
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program,
                       QStringList{QStringLiteral("--dir"), dir_.path(), QStringLiteral("--port"),
                                   QStringLiteral("3"), QStringLiteral("--scenario"), scenario} +
                           extra);
        if (!process_.waitForStarted(5000)) {
            ADD_FAILURE() << "logger-sim did not start";
            return false;
        }
        if (!QTest::qWaitFor([&] { return QFileInfo::exists(link()); }, 5000)) {
            ADD_FAILURE() << "no tty link appeared";
            return false;
        }
        fd_ = ::open(QFile::encodeName(link()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) {
            ADD_FAILURE() << "cannot open the tty link";
            return false;
        }
        termios raw{};
        ::tcgetattr(fd_, &raw);
        cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
        return true;
    }

    QString link() const { return dir_.filePath(QStringLiteral("tty3")); }
    QString usb() const { return dir_.filePath(QStringLiteral("usb")); }

    void send(const QByteArray& bytes) {
        ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
    }

    // Reads until `frames` terminators arrived, the line hangs up, or `timeoutMs` passed.
    QByteArray receive(int frames, int timeoutMs = 3000) {
        QByteArray bytes;
        QElapsedTimer timer;
        timer.start();
        while (bytes.count(static_cast<char>(0xFF)) < frames && timer.elapsed() < timeoutMs) {
            pollfd p{fd_, POLLIN, 0};
            const int left = static_cast<int>(timeoutMs - timer.elapsed());
            if (::poll(&p, 1, std::max(left, 0)) <= 0) {
                break;
            }
            char buffer[4096];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            bytes.append(buffer, static_cast<qsizetype>(n));
        }
        return bytes;
    }

    std::array<int, 4> ask(Command command, int arg1 = 0, int arg2 = 0) {
        send(commandFrame(code(command), arg1, arg2));
        return replyValues(receive(1));
    }

    QDateTime loggerClock() {
        const auto my = ask(Command::GetClockMonthYear);
        const auto hd = ask(Command::GetClockHourDay);
        const auto sm = ask(Command::GetClockSecondMinute);
        return QDateTime(QDate(2000 + my[3], my[2], hd[3]), QTime(hd[2], sm[3], sm[2]), Qt::UTC);
    }

    int recordBytes() {
        const auto used = ask(Command::GetRecordBytes);
        return used[2] * 256 + used[3];
    }

    QTemporaryDir dir_;
    QProcess process_;
    int fd_ = -1;
};

TEST_F(PtySimulator, AnswersIdentifyAndStatusOverTheTerminal) {
    ASSERT_TRUE(start({}));
    QFile usbFile(usb());
    ASSERT_TRUE(usbFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(usbFile.readLine().trimmed(), QByteArray("USB <-> Serial"));

    send(commandFrame(code(Command::Identify)));
    EXPECT_EQ(receive(1), QByteArray("QM320-HX\x01\x05\xFF", 11));
    const auto used = ask(Command::GetRecordBytes);
    EXPECT_EQ(used[2] * 256 + used[3], 650 * 4);
    EXPECT_EQ(ask(Command::GetMemoryMode)[2], 0);

    // The terminal stays usable across a close and reopen by the host.
    ::close(fd_);
    fd_ = ::open(QFile::encodeName(link()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd_, 0);
    EXPECT_EQ(ask(Command::GetName12)[2], 'L');
}

TEST_F(PtySimulator, StreamsEveryRecordUpToTheEndAddress) {
    ASSERT_TRUE(start({}, QStringLiteral("full")));
    send(commandFrame(code(Command::StreamRecords), 234, 96));
    const auto frames = splitFrames(receive(15000, 20000));
    ASSERT_EQ(frames.size(), 15000u);
    for (const QByteArray& frame : frames) {
        ASSERT_EQ(frame.size(), 9);
        const auto v = replyValues(frame);
        ASSERT_LT(v[0] * 256 + v[1], 16384);
    }
}

TEST_F(PtySimulator, FaultOptionsReachTheLogger) {
    ASSERT_TRUE(
        start({QStringLiteral("--refuse"), QStringLiteral("30:2"), QStringLiteral("--silent"),
               QStringLiteral("42"), QStringLiteral("--model"), QStringLiteral("QM300-HX"),
               QStringLiteral("--garbage"), QStringLiteral("38:3")}));
    for (int i = 0; i < 2; ++i) {
        send(commandFrame(code(Command::GetStatus)));
        const QByteArray refusal = receive(1);
        ASSERT_FALSE(refusal.isEmpty());
        EXPECT_EQ(static_cast<std::uint8_t>(refusal[0]), 0xEE);
    }
    EXPECT_EQ(ask(Command::GetStatus)[1], 30);
    send(commandFrame(code(Command::GetName12)));
    EXPECT_TRUE(receive(1, 300).isEmpty());
    send(commandFrame(code(Command::GetRecordBytes)));
    const QByteArray noisy = receive(1);
    EXPECT_EQ(noisy.size(), 12);
    EXPECT_EQ(replyValues(noisy)[3], (650 * 4) & 0xFF);
    send(commandFrame(code(Command::Identify)));
    EXPECT_TRUE(receive(1).startsWith("QM300-HX"));
}

TEST_F(PtySimulator, IdentifyWaitsForTheCbusPulseWhenRequired) {
    ASSERT_TRUE(start({QStringLiteral("--require-reset")}));
    send(commandFrame(code(Command::Identify)));
    EXPECT_TRUE(receive(1, 300).isEmpty());
    QFile cbus(dir_.filePath(QStringLiteral("cbus")));
    ASSERT_TRUE(cbus.open(QIODevice::Append));
    cbus.write("0\n255\n0\n");
    cbus.close();
    send(commandFrame(code(Command::Identify)));
    EXPECT_TRUE(receive(1).startsWith("QM320-HX"));
}

TEST_F(PtySimulator, ResetPulseStopsAPacedStreamWithoutACommand) {
    ASSERT_TRUE(start({QStringLiteral("--baud"), QStringLiteral("57600")}, QStringLiteral("full")));
    send(commandFrame(code(Command::StreamRecords), 234, 96));
    ASSERT_GE(splitFrames(receive(100)).size(), 100u);
    QFile cbus(dir_.filePath(QStringLiteral("cbus")));
    ASSERT_TRUE(cbus.open(QIODevice::Append));
    cbus.write("255\n0\n");
    cbus.close();
    // What was on its way still comes (the chip's buffer, what the terminal held while this
    // test was not reading); a running stream would bring some 500 records in the time allowed.
    const QByteArray rest = receive(15000, 800);
    EXPECT_LT(rest.size(), 9 * 150);
    EXPECT_EQ(ask(Command::GetName12)[2], 'F');
}

TEST_F(PtySimulator, PacesRepliesAtTheBaudRate) {
    ASSERT_TRUE(start({QStringLiteral("--baud"), QStringLiteral("9600")}));
    QElapsedTimer timer;
    timer.start();
    send(commandFrame(code(Command::StreamRecords), 0, 180));  // 45 records, 405 bytes
    EXPECT_EQ(splitFrames(receive(45)).size(), 45u);
    // Wire time of 9 bytes out and 405 back at 960 bytes per second; pacing is never early.
    EXPECT_GE(timer.elapsed(), (9 + 405) * 1000 / 960 - 5);
}

TEST_F(PtySimulator, HoldsEachReplyForTheReplyDelay) {
    ASSERT_TRUE(start({QStringLiteral("--reply-delay-ms"), QStringLiteral("40")}));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(ask(Command::GetStatus)[0], -1);
        // Never early: each reply waits its own delay after its command.
        EXPECT_GE(timer.elapsed(), (i + 1) * 40);
    }
}

TEST_F(PtySimulator, DelayHoldsTheFirstSendsOfOneCodeAndWhatQueuesBehindThem) {
    ASSERT_TRUE(
        start({QStringLiteral("--delay"), QStringLiteral("30:300:1"), QStringLiteral("--delay"),
               QStringLiteral("44:200"), QStringLiteral("--delay"), QStringLiteral("42:300:1:1")}));
    QElapsedTimer timer;
    timer.start();
    // The held GetStatus reply, then the undelayed GetName12 reply, in the order asked.
    send(commandFrame(code(Command::GetStatus)));
    send(commandFrame(code(Command::GetName12)));
    EXPECT_TRUE(receive(1, 200).isEmpty());
    const std::vector<QByteArray> frames = splitFrames(receive(2));
    EXPECT_GE(timer.elapsed(), 300);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(replyValues(frames[0])[1], code(Command::GetStatus));
    EXPECT_EQ(replyValues(frames[1])[1], code(Command::GetName12));
    // Only the first send of GetStatus was held, only the second of GetName12; every stream
    // starts late.
    timer.restart();
    EXPECT_EQ(ask(Command::GetStatus)[1], code(Command::GetStatus));
    EXPECT_LT(timer.elapsed(), 250);
    EXPECT_EQ(ask(Command::GetName12)[1], code(Command::GetName12));
    EXPECT_GE(timer.elapsed(), 300);
    for (int i = 0; i < 2; ++i) {
        timer.restart();
        send(commandFrame(code(Command::StreamRecords), 0, 16));
        EXPECT_EQ(splitFrames(receive(4)).size(), 4u);
        EXPECT_GE(timer.elapsed(), 200);
    }
}

TEST_F(PtySimulator, TimeScaleRunsReservationAndRecordingOnTheFasterClock) {
    // At 3600 logger seconds per wall second every wait below is over in well under a wall
    // second; at the wall clock's pace each would take minutes and time out.
    ASSERT_TRUE(
        start({QStringLiteral("--time-scale"), QStringLiteral("3600")}, QStringLiteral("empty")));
    const QDateTime now = loggerClock();
    ASSERT_TRUE(now.isValid());
    const QDateTime reserved = now.addSecs(180 - now.time().second());
    ask(Command::SetReserveDay, reserved.date().day());
    ask(Command::SetReserveHour, reserved.time().hour());
    ask(Command::SetReserveMinute, reserved.time().minute());
    ask(Command::ReserveRecording, kUnitSeconds, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recordBytes() >= 30 * kRecordBytes; }, 5000));
    EXPECT_EQ(ask(Command::GetStatus)[2], kStatusRecording0);
    const auto ym = ask(Command::ReadSetting, kSettingStartYearMonth);
    const auto dh = ask(Command::ReadSetting, kSettingStartDayHour);
    const auto ms = ask(Command::ReadSetting, kSettingStartMinuteSecond);
    EXPECT_EQ(packedDateTime({ym[2], ym[3], dh[2], dh[3], ms[2], ms[3]}), reserved);

    ask(Command::StopRecording, 14);
    const int stoppedAt = recordBytes();
    const QDateTime stopped = loggerClock();
    EXPECT_TRUE(QTest::qWaitFor([&] { return loggerClock() > stopped.addSecs(600); }, 5000));
    EXPECT_EQ(recordBytes(), stoppedAt);
}

TEST_F(PtySimulator, UnplugAfterADelayRemovesTheDeviceFiles) {
    // The link appears only after the usb file, so the device was present before it went.
    ASSERT_TRUE(start({QStringLiteral("--unplug-after-ms"), QStringLiteral("300")}));
    ASSERT_TRUE(process_.waitForFinished(5000));
    EXPECT_EQ(process_.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(usb()));
    EXPECT_FALSE(QFileInfo::exists(link()));
}

TEST_F(PtySimulator, UnplugAfterRecordsCutsTheStream) {
    ASSERT_TRUE(start({QStringLiteral("--unplug-after-records"), QStringLiteral("100")},
                      QStringLiteral("full")));
    send(commandFrame(code(Command::StreamRecords), 234, 96));
    const QByteArray got = receive(15000, 3000);
    ASSERT_TRUE(process_.waitForFinished(5000));
    EXPECT_EQ(splitFrames(got).size(), 100u);
    EXPECT_FALSE(QFileInfo::exists(usb()));
}

TEST_F(PtySimulator, TerminationSignalsRemoveTheLinks) {
    for (const int signal : {SIGTERM, SIGINT}) {
        ASSERT_TRUE(start({}));
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        ASSERT_TRUE(process_.waitForFinished(5000)) << signal;
        EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(process_.exitCode(), 0) << signal;
        EXPECT_FALSE(QFileInfo::exists(usb())) << signal;
        EXPECT_FALSE(QFileInfo::exists(link())) << signal;
        ::close(fd_);
        fd_ = -1;
    }
}

TEST_F(PtySimulator, RefusesBadOptions) {
    const QStringList bad[] = {{QStringLiteral("--scenario"), QStringLiteral("nonesuch")},
                               {QStringLiteral("--refuse"), QStringLiteral("300:1")},
                               {QStringLiteral("--baud"), QStringLiteral("-5")},
                               {QStringLiteral("--time-scale"), QStringLiteral("0")},
                               {QStringLiteral("--reply-delay-ms"), QStringLiteral("-1")},
                               {QStringLiteral("--delay"), QStringLiteral("30")},
                               {QStringLiteral("--delay"), QStringLiteral("30:0")},
                               {QStringLiteral("--delay"), QStringLiteral("30:700:0")},
                               {QStringLiteral("--delay"), QStringLiteral("300:700")},
                               {QStringLiteral("--delay"), QStringLiteral("30:700:1:-1")},
                               {QStringLiteral("--time-scale"), QStringLiteral("fast")},
                               {QStringLiteral("--port"), QStringLiteral("17")}};
    for (const QStringList& args : bad) {
        QProcess process;
        process.start(simulatorPath(), QStringList{QStringLiteral("--dir"), dir_.path()} + args);
        ASSERT_TRUE(process.waitForFinished(5000));
        EXPECT_NE(process.exitCode(), 0) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(usb()));
}

}  // namespace

namespace {

TEST(LoggerSimHelp, DocumentsEveryOptionAndScenario) {
    QProcess process;
    process.start(simulatorPath(), {QStringLiteral("--help")});
    ASSERT_TRUE(process.waitForFinished(5000));
    const QString help = QString::fromUtf8(process.readAllStandardOutput());
    const char* expected[] = {"--dir",
                              "--port",
                              "--scenario",
                              "--baud",
                              "--model",
                              "--firmware",
                              "--usb-description",
                              "--time-scale",
                              "--reply-delay-ms",
                              "--delay",
                              "--unplug-after-ms",
                              "--unplug-after-records",
                              "--require-reset",
                              "--refuse",
                              "--silent",
                              "--stall-after",
                              "--garbage",
                              "--overlong",
                              "--bad-value",
                              "--list-scenarios"};
    for (const char* option : expected) {
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    }
    for (const QString& name : simscenario::names()) {
        EXPECT_TRUE(help.contains(name + QLatin1Char(' '))) << name.toStdString();
    }
}

}  // namespace
