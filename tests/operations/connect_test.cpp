// Connecting and disconnecting against the simulated logger: the port scan, the reset and
// identify attempts, refused models, the guards and the device check.
#include <gtest/gtest.h>

#include "harness.h"
#include "link/protocol.h"
#include "ui/widgetcontrols.h"

namespace {

using namespace optest;
using I = ControlId;

const QString kCommunicatingPort3 = QStringLiteral("Communicating\u3000Port3");
// Per failed attempt: 250 + 100 + 250 ms around the reset pulse and 500 ms for the reply.
constexpr qint64 kAttemptMs = 1100;
// Every failure to connect points at the setup check.
const QString kRunCheck = QStringLiteral("\r\rHelp > Check setup... shows what the setup lacks.");

int identifiesReceived(const SimLogger& logger) {
    int count = 0;
    for (const SimCommand& command : logger.history()) {
        count += command.code == code(Command::Identify) ? 1 : 0;
    }
    return count;
}

TEST(Connect, ScanFindsTheLoggerOnPort3AndReadsItsStatus) {
    Harness h(3, QStringLiteral("runs"));
    h.connection().Port_Set_Command(QString(), 0);

    // Ports 1 and 2 fail three attempts each; port 3 answers on the first.
    EXPECT_EQ(h.port.opens, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2, 3, 3}));
    EXPECT_EQ(h.waiter.elapsedMs, 7 * kAttemptMs);
    EXPECT_EQ(h.waiter.waits, (std::vector<int>{250, 100, 250, 500, 250, 100, 250, 500, 250, 100,
                                                250, 500, 250, 100, 250, 500, 250, 100, 250, 500,
                                                250, 100, 250, 500, 250, 100, 250, 500}));
    EXPECT_EQ(h.port.lastSettings, QStringLiteral("57600,n,8,1"));
    EXPECT_EQ(h.state.Machine_N_P, QStringLiteral("QM320-HX"));
    EXPECT_EQ(h.session.Portnum, 3);
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), kCommunicatingPort3);
    EXPECT_FALSE(h.enabled(I::NumberList));

    // The first procedure is the battery check and the status read under "port_open".
    const CommandQueue& queue = h.engine.queue();
    ASSERT_EQ(queue.Count, 20);
    EXPECT_EQ(queue.Entries[0].Code, code(Command::GetBatteryLow));
    EXPECT_EQ(queue.Entries[1].Code, code(Command::Identify));
    EXPECT_EQ(queue.Entries[19].Code, code(Command::GetDownloaded));
    for (int i = 0; i < queue.Count; ++i) {
        EXPECT_EQ(queue.Entries[i].Keyword, ProcedureKind::PortOpen) << i;
    }

    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(h.refreshes, 1);
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), kCommunicatingPort3);
    EXPECT_EQ(h.window->windowTitle(),
              QStringLiteral("[Veltrane] Temperature and Humidity LoggerQM320-HX"));
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("LAB1"));
    EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(Connect, ResetPulsesPrecedeEveryIdentify) {
    Harness h(1, QStringLiteral("runs"));
    h.logger.setRequireReset(true);
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    // The presence check, then high and low around the first identify.
    EXPECT_EQ(h.device.levels, (std::vector<int>{0, 255, 0}));
    EXPECT_TRUE(h.logger.resetSeen());
}

// A reply is accepted when the model text appears anywhere in it; a QM400-HXA never is.
struct ModelCase {
    const char* model;
    bool accepted;
    const char* machine;
};

class ConnectModel : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ConnectModel, AcceptsOnlyServedModels) {
    const ModelCase& c = GetParam();
    Harness h(2, QStringLiteral("runs"));
    h.logger.state().model = c.model;
    h.connect();
    EXPECT_EQ(h.port.isOpen(), c.accepted);
    EXPECT_EQ(h.state.Machine_N_P, QString::fromLatin1(c.machine));
    if (c.accepted) {
        EXPECT_TRUE(h.prompter.messages.empty());
        EXPECT_EQ(h.port.opens.back(), 2);
        return;
    }
    // Every port was tried; the logger's port three times.
    EXPECT_EQ(h.port.opens.size(), 16u * 4u);
    EXPECT_EQ(identifiesReceived(h.logger), 3);
    EXPECT_EQ(h.port.writes.size(), 16u * 3u);
    EXPECT_EQ(h.port.writes.front(), Connection::identifyFrame());
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].title, QStringLiteral("Veltrane"));
    EXPECT_EQ(h.prompter.messages[0].text, QStringLiteral("Veltrane not connected.") + kRunCheck);
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
    EXPECT_TRUE(h.enabled(I::NumberList));
    EXPECT_FALSE(h.engine.busy());
    EXPECT_FALSE(h.connection().connecting());
}

INSTANTIATE_TEST_SUITE_P(Models, ConnectModel,
                         ::testing::Values(ModelCase{"QM320-HX", true, "QM320-HX"},
                                           ModelCase{"QM300-HX", true, "QM300-HX"},
                                           ModelCase{"xxQM320-HXyy", true, "QM320-HX"},
                                           ModelCase{"QM400-HXA", false, "Veltrane"},
                                           ModelCase{"QM400-HX", false, "Veltrane"},
                                           ModelCase{"qm320-hx", false, "Veltrane"}));

TEST(Connect, OnceTriesOnlyTheGivenPort) {
    Harness h(5, QStringLiteral("runs"));
    h.connection().Port_Set_Command(QStringLiteral("Once"), 2);
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(h.port.opens, (std::vector<int>{2, 2, 2, 2}));
    ASSERT_EQ(h.prompter.messages.size(), 1u);

    h.port.opens.clear();
    h.connect(QStringLiteral("Once"), 5);
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.port.opens, (std::vector<int>{5, 5}));
    EXPECT_EQ(h.session.Portnum, 5);
}

TEST(Connect, PortsThatCannotOpenAreSkipped) {
    Harness h(4, QStringLiteral("runs"));
    h.port.missingPorts = {1, 2, 3};
    h.connect();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.session.Portnum, 4);
    // Missing ports cost no waits at all.
    EXPECT_EQ(h.waiter.elapsedMs, kAttemptMs);
}

// Without a usable USB device no port is tried; a device closed to the user is told apart
// from an absent one, with the way to open it.
TEST(Connect, UnusableUsbDeviceFailsWithoutTryingAnyPort) {
    const struct {
        bool present;
        bool denied;
        CbusDevice::Status status;
        QString message;
    } cases[] = {
        {false, false, CbusDevice::kNotFound,
         QStringLiteral("Veltrane not connected.") + kRunCheck},
        {true, true, CbusDevice::kPermissionDenied,
         QStringLiteral("The logger is plugged in, but this user may not open its USB device.\r\r"
                        "Install the udev rule (the veltrane package installs it; from the "
                        "sources: sudo install -m 644 packaging/70-veltrane-logger.rules "
                        "/etc/udev/rules.d/), or join the group that owns the device (sudo "
                        "adduser $USER plugdev) and log in again. Then plug the logger in again.") +
             kRunCheck},
    };
    for (const auto& c : cases) {
        Harness h(1, QStringLiteral("runs"));
        h.device.present = c.present;
        h.device.denied = c.denied;
        h.connect();
        EXPECT_EQ(h.connection().deviceStatus(), c.status);
        EXPECT_TRUE(h.port.opens.empty());
        EXPECT_TRUE(h.waiter.waits.empty());
        ASSERT_EQ(h.prompter.messages.size(), 1u);
        EXPECT_EQ(h.prompter.messages[0].title, QStringLiteral("Veltrane"));
        EXPECT_EQ(h.prompter.messages[0].text, c.message);
        EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
        EXPECT_TRUE(h.enabled(I::NumberList));
        EXPECT_FALSE(h.connection().connecting());
    }
}

TEST(Connect, DoesNothingWhileAProcedureRuns) {
    Harness h(1, QStringLiteral("runs"));
    h.engine.begin();
    h.engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None);
    h.connection().Port_Set_Command(QString(), 0);
    EXPECT_TRUE(h.port.opens.empty());
    EXPECT_TRUE(h.device.levels.empty());
    EXPECT_TRUE(h.prompter.messages.empty());

    // Connected, a running procedure also keeps the toggle from disconnecting.
    h.engine.Pro_End();
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    h.engine.begin();
    h.engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None);
    h.connection().Port_Set_Command(QString(), 0);
    EXPECT_TRUE(h.port.isOpen());
}

TEST(Connect, ASecondPressDuringTheScanIsIgnored) {
    Harness h(2, QStringLiteral("runs"));
    int nestedPresses = 0;
    h.waiter.duringWait = [&] {
        if (nestedPresses++ < 3) {
            h.connection().Port_Set_Command(QString(), 0);
        }
    };
    h.connect();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.port.opens, (std::vector<int>{1, 1, 1, 1, 2, 2}));
    EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(Connect, ToggleDisconnectsAndRefreshes) {
    Harness h(3, QStringLiteral("runs"));
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    h.state.recordState = RecordState::Recording;
    const int refreshes = h.refreshes;
    h.connection().Port_Set_Command(QString(), 0);
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.state.recordState == RecordState::Stopped);
    EXPECT_EQ(h.refreshes, refreshes + 1);
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
    EXPECT_EQ(h.state.Machine_N_P, QStringLiteral("Veltrane"));
}

const QString kLogQuestion = QStringLiteral(
    "When the communication begins, the data previously downloaded is lost.\r\r"
    "Is the data of the log record preserved?");
const QString kRealTimeQuestion = QStringLiteral(
    "When the communication begins, the data previously measured is lost.\r\r"
    "Is real-time data preserved?");

// Each unsaved data set is offered for saving before the data sets are cleared.
struct SaveCase {
    bool logUnsaved;
    bool realTimeUnsaved;
    std::deque<bool> answers;
    std::vector<DataSetIndex> saved;
    std::vector<QString> questions;
};

class ConnectSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(ConnectSave, AsksBeforeClearing) {
    const SaveCase& c = GetParam();
    Harness h(1, QStringLiteral("runs"));
    h.dataSets[LogData].unsaved = c.logUnsaved;
    h.dataSets[RealTimeData].unsaved = c.realTimeUnsaved;
    h.prompter.answers = c.answers;
    h.prompter.saveDirectory = h.scratch.path();
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    std::vector<QString> savesAfter;
    for (DataSetIndex index : c.saved) {
        savesAfter.push_back(index == LogData ? kLogQuestion : kRealTimeQuestion);
    }
    EXPECT_EQ(h.prompter.savesAfter, savesAfter);
    ASSERT_EQ(h.prompter.questions.size(), c.questions.size());
    for (std::size_t i = 0; i < c.questions.size(); ++i) {
        EXPECT_EQ(h.prompter.questions[i].text, c.questions[i]);
        EXPECT_EQ(h.prompter.questions[i].title, QStringLiteral("QM320-HX"));
    }
    EXPECT_EQ(h.display.clears[LogData], 1);
    EXPECT_EQ(h.display.clears[RealTimeData], 1);
    EXPECT_FALSE(h.dataSets[LogData].unsaved);
    EXPECT_FALSE(h.dataSets[RealTimeData].unsaved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectSave,
    ::testing::Values(
        SaveCase{false, false, {}, {}, {}},
        SaveCase{true, false, {true}, {LogData}, {kLogQuestion}},
        SaveCase{false, true, {false}, {}, {kRealTimeQuestion}},
        SaveCase{true, true, {false, true}, {RealTimeData}, {kLogQuestion, kRealTimeQuestion}}));

// The texts of both languages: the Japanese failure text attaches to the model name.
TEST(Connect, TextsFollowTheLanguage) {
    const struct {
        bool japanese;
        QString failure;
        QString unconnected;
        QString communicating;
    } cases[] = {
        {false, QStringLiteral("Veltrane not connected.") + kRunCheck,
         QStringLiteral("Unconnection"), QStringLiteral("Communicating\u3000Port3")},
        {true,
         QStringLiteral("Veltraneが接続されていません\r\r") +
             QString::fromUtf8("ヘルプ > 設定の確認... で設定に足りないものを確認できます。"),
         QStringLiteral("未接続"), QStringLiteral("通信中\u3000ポート3")},
    };
    for (const auto& c : cases) {
        Harness h(3, QStringLiteral("qm400"));
        if (c.japanese) {
            h.messages.fillJapanese();
        }
        h.connect();
        ASSERT_EQ(h.prompter.messages.size(), 1u);
        EXPECT_EQ(h.prompter.messages[0].text, c.failure);
        EXPECT_EQ(h.text(I::ConnectionStatusPanel), c.unconnected);

        h.logger.state().model = "QM300-HX";
        h.session.Port_Setting_N_P = QStringLiteral("19200");
        h.connect();
        ASSERT_TRUE(h.port.isOpen());
        EXPECT_EQ(h.port.lastSettings, QStringLiteral("19200,n,8,1"));
        EXPECT_EQ(h.text(I::ConnectionStatusPanel), c.communicating);
        EXPECT_FALSE(h.shown(I::UpperBoundText));
    }
}

// Answering Yes and then not saving (cancelled dialog, failed write) must not lose the data:
// the connection is given up instead of clearing the data sets.
TEST(Connect, UnsavedDataIsKeptWhenTheSaveDoesNotHappen) {
    Harness h(1, QStringLiteral("runs"));
    h.dataSets[RealTimeData].unsaved = true;
    for (int i = 0; i < 4; ++i) {
        Sample sample;
        sample.dateTime = 46000 + i / 1440.0;
        ASSERT_EQ(h.dataSets[RealTimeData].append(sample), DataError::None);
    }
    h.prompter.answers = {true};
    h.connect();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(h.display.clears[RealTimeData], 0);
    EXPECT_EQ(h.dataSets[RealTimeData].count, 4);
    EXPECT_TRUE(h.dataSets[RealTimeData].unsaved);
    EXPECT_FALSE(h.engine.busy());
    EXPECT_FALSE(h.connection().connecting());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));

    // Once saved, the next connect goes ahead.
    h.prompter.saveDirectory = h.scratch.path();
    h.prompter.answers = {true};
    h.connect();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.display.clears[RealTimeData], 1);
    EXPECT_EQ(h.dataSets[RealTimeData].count, 0);
}

TEST(DeviceCheck, RemovedDeviceDisconnectsOnTheNextTick) {
    Harness h(3, QStringLiteral("runs"));
    h.connect();
    ASSERT_TRUE(h.port.isOpen());

    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.isOpen());

    h.device.present = false;
    h.connection().dCheckTick();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
    EXPECT_EQ(h.text(I::CommunicationText), QStringLiteral("Unconnection"));
    EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(DeviceCheck, WaitsWhileAProcedureRunsOrNoPortIsOpen) {
    Harness h(3, QStringLiteral("runs"));
    // Without connecting by itself, an unconnected check only looks for the device.
    h.connection().setConnectsByItself(false);
    h.connection().dCheckTick();
    EXPECT_TRUE(h.device.levels.empty());

    h.connect();
    h.device.present = false;
    h.engine.begin();
    h.engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None);
    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.isOpen());
    h.engine.Pro_End();
    h.connection().dCheckTick();
    EXPECT_FALSE(h.port.isOpen());
}

// An open dialog is not a procedure: the check disconnects a logger removed under it.
TEST(DeviceCheck, RunsWhileADialogIsOpen) {
    Harness h(3, QStringLiteral("runs"));
    h.connect();
    h.device.present = false;
    h.session.prompter().hold([&h] {
        EXPECT_TRUE(h.session.busy());
        h.connection().dCheckTick();
        return 0;
    });
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
    EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(DownloadSpeed, MenuSetsModeAndCheckMarks) {
    Harness h;
    h.connection().D_M_Slow_Click();
    EXPECT_EQ(h.state.Download_Mode, 1);
    EXPECT_FALSE(h.controls.object(I::FastDownloadItem)->property("checked").toBool());
    EXPECT_TRUE(h.controls.object(I::SlowDownloadItem)->property("checked").toBool());
    h.connection().D_M_Fast_Click();
    EXPECT_EQ(h.state.Download_Mode, 0);
    EXPECT_TRUE(h.controls.object(I::FastDownloadItem)->property("checked").toBool());
    EXPECT_FALSE(h.controls.object(I::SlowDownloadItem)->property("checked").toBool());
}

TEST(Initialise, SendsTheRawCommandOnlyWhenIdle) {
    Harness h(1, QStringLiteral("runs"));
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    h.engine.begin();
    h.engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None);
    h.connection().initialise();
    EXPECT_EQ(h.logger.initialiseCount(), 0);
    h.engine.Pro_End();
    h.connection().initialise();
    EXPECT_EQ(h.logger.initialiseCount(), 1);
    EXPECT_EQ(h.port.writes.back(), Protocol::initAllCommand());
}

}  // namespace
