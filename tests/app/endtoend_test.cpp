// The whole program in-process: the main window with the simulated logger behind its port,
// driven by clicks on its controls and by its own timers on simulated time.
#include <gtest/gtest.h>

#include <QWidget>

#include "endtoend.h"

namespace {

using e2e::connectLogger;
using e2e::kIdeographicSpace;
using e2e::Rig;
using I = ControlId;

TEST(EndToEnd, ConnectButtonOpensPortThreeAndShowsCommunicating) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_EQ(rig.port.portNumber(), Rig::kLoggerPort);
    EXPECT_EQ(rig.window->Portnum(), Rig::kLoggerPort);
    // The status read of "port_open" is queued and running: the panel already names the port.
    EXPECT_TRUE(rig.window->session().engine().busy());
    EXPECT_EQ(rig.window->statusText(1), "Communicating" + kIdeographicSpace + "Port3");
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.window->statusText(1), "Communicating" + kIdeographicSpace + "Port3");
    EXPECT_TRUE(rig.prompter.calls.empty());
    // The logger was reset through the CBUS lines before it identified itself.
    EXPECT_TRUE(rig.logger.resetSeen());
}

// What the status panel shows after the connect of each scenario; nullptr: not checked.
struct PanelCase {
    const char* scenario;
    const char* title;
    const char* operation;
    const char* battery;
    const char* stopNote;
    const char* interval;
    const char* points;
    const char* name;
    const char* beginning;
    bool boundsShown;
    const char* upper;
    const char* lower;
    const char* command4;
    bool downloadEnabled;
};

class StatusAfterConnect : public ::testing::TestWithParam<PanelCase> {};

void expectText(Rig& rig, ControlId name, const char* expected) {
    if (expected != nullptr) {
        EXPECT_EQ(rig.text(name), QString::fromUtf8(expected)) << controlName(name);
    }
}

TEST_P(StatusAfterConnect, ShowsTheLoggersValues) {
    const PanelCase& c = GetParam();
    Rig rig(QString::fromLatin1(c.scenario));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    EXPECT_TRUE(rig.prompter.calls.empty());
    EXPECT_EQ(rig.window->windowTitle(),
              QStringLiteral("[Veltrane] Temperature and Humidity Logger") + c.title);
    EXPECT_EQ(rig.text(I::CommunicationText), QStringLiteral("Communicating"));
    expectText(rig, I::OperationText, c.operation);
    expectText(rig, I::BatteryText, c.battery);
    expectText(rig, I::StopNoteText, c.stopNote);
    expectText(rig, I::IntervalText, c.interval);
    expectText(rig, I::PointsText, c.points);
    expectText(rig, I::IdentNameText, c.name);
    expectText(rig, I::BeginningText, c.beginning);
    expectText(rig, I::StartStopButton, c.command4);
    for (ControlId name : {I::UpperBoundText, I::LowerBoundText}) {
        auto* readOut = rig.window->controls().as<QWidget>(name);
        ASSERT_NE(readOut, nullptr) << controlName(name);
        EXPECT_EQ(readOut->isVisibleTo(rig.window.get()), c.boundsShown) << controlName(name);
    }
    if (c.boundsShown) {
        expectText(rig, I::UpperBoundText, c.upper);
        expectText(rig, I::LowerBoundText, c.lower);
    }
    auto* download = rig.window->controls().as<QWidget>(I::DownloadButton);
    ASSERT_NE(download, nullptr);
    EXPECT_EQ(download->isEnabledTo(rig.window.get()), c.downloadEnabled);
}

// Times follow Rig::scenarioNow() (2026-03-01 12:00). The start shown is that of the first run:
// ten days before for "runs", 36 days before at 09:00 for "demo"; "recording" began an hour
// before (its points grow while the connect waits, so they are not checked); "reserved"
// starts tomorrow at 08:30; "nodate" has an erased start over 100 records.
INSTANTIATE_TEST_SUITE_P(
    Scenarios, StatusAfterConnect,
    ::testing::Values(
        PanelCase{"runs", "QM320-HX", "Record stop", "3.00 V", "", "10 Min", "650 point", "LAB1",
                  "2026/02/19 12:00:00", true, "30 C", "OFF", "Start", true},
        PanelCase{"demo", "QM320-HX", "Record stop", "2.92 V", "", "10 Min", "3000 point", "DEMO",
                  "2026/01/24 09:00:00", true, "28 C", "15 C", "Start", true},
        PanelCase{"qm300", "QM300-HX", "Record stop", "3.00 V", "", "10 Min", "650 point", "LAB1",
                  "2026/02/19 12:00:00", false, nullptr, nullptr, "Start", true},
        PanelCase{"lowbattery", "QM320-HX", "Record stop", "NG2.39 V",
                  "End due to the voltage decrease.", "10 Min", "650 point", "LAB1",
                  "2026/02/19 12:00:00", true, "30 C", "OFF", "Start", true},
        PanelCase{"reserved", "QM320-HX", "Reserving", "3.00 V", "", "5 Min", "0 point", "RSV1",
                  "02Day08:30 Record beginning", true, nullptr, nullptr, "Reservation cancel",
                  false},
        PanelCase{"recording", "QM320-HX", "Recording", "3.00 V", "", "10 Sec", nullptr, "REC1",
                  "2026/03/01 11:00:00", true, "30 C", "10 C", "Stop", false},
        PanelCase{"nodate", "QM320-HX", "Record stop", "3.00 V", "", "1 Min", "100 point", nullptr,
                  "Start date unreadable", true, nullptr, nullptr, "Start", true}),
    [](const ::testing::TestParamInfo<PanelCase>& info) {
        return std::string(info.param.scenario);
    });

TEST(EndToEnd, Qm400NeverConnects) {
    Rig rig(QStringLiteral("qm400"));
    ASSERT_TRUE(rig.started());
    const QString model = rig.window->Machine_N_P();
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.window->session().engine().busy());
    // Three attempts on the logger's port, each answered with the refused model.
    EXPECT_EQ(rig.port.openCount(), 1 + Connection::kAttempts);
    ASSERT_EQ(rig.prompter.calls.size(), 1u);
    EXPECT_EQ(rig.prompter.calls[0].kind, "message");
    EXPECT_EQ(rig.prompter.calls[0].text,
              model + " " + rig.window->messages().pair(Msg::NotConnected, Msg::RunCheckHint));
    EXPECT_EQ(rig.window->statusText(1), QStringLiteral("Unconnection"));
    rig.advance(2 * MainWindow::kDeviceCheckMs);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.window->windowTitle(),
              QStringLiteral("[Veltrane] Temperature and Humidity Logger"));
}

// The USB device removed while idle or while the status read of the connect runs; its serial
// port vanishes with it or (as a slow driver reports it) only later.
struct RemovalCase {
    const char* name;
    bool duringStatusRead;
    bool portGoesToo;
};

class DeviceRemoval : public ::testing::TestWithParam<RemovalCase> {};

TEST_P(DeviceRemoval, DisconnectsWithinTwoChecks) {
    const RemovalCase& c = GetParam();
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    if (c.duringStatusRead) {
        ASSERT_TRUE(rig.click(ControlId::ConnectButton));
        ASSERT_TRUE(rig.window->session().engine().busy());
    } else {
        connectLogger(rig);
        rig.advance(3 * MainWindow::kDeviceCheckMs);
        ASSERT_TRUE(rig.port.isOpen()) << "a present device stays connected";
    }

    rig.device.present = false;
    rig.port.setPresent(!c.portGoesToo);
    rig.advance(2 * MainWindow::kDeviceCheckMs);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.window->session().engine().busy());
    EXPECT_EQ(rig.window->statusText(1), QStringLiteral("Unconnection"));
    EXPECT_EQ(rig.text(I::CommunicationText), QStringLiteral("Unconnection"));
    EXPECT_TRUE(rig.window->session().state().recordState == RecordState::Stopped);
    // Only the status read that lost its port says so; a check that finds the device gone
    // disconnects without a word.
    if (c.duringStatusRead && c.portGoesToo) {
        ASSERT_EQ(rig.prompter.calls.size(), 1u);
        EXPECT_EQ(rig.prompter.calls[0].text,
                  rig.window->messages().pair(Msg::ConnectionLost, Msg::CheckCableAndConnect));
    } else {
        EXPECT_TRUE(rig.prompter.calls.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DeviceRemoval,
                         ::testing::Values(RemovalCase{"Idle", false, true},
                                           RemovalCase{"IdlePortLingers", false, false},
                                           RemovalCase{"DuringStatusRead", true, true},
                                           RemovalCase{"DuringStatusReadPortLingers", true, false}),
                         [](const ::testing::TestParamInfo<RemovalCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(EndToEnd, ConnectWhileAProcedureRunsDoesNothing) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    ASSERT_TRUE(rig.window->session().engine().busy());
    const int opens = rig.port.openCount();
    const QByteArray written = rig.port.written();
    const std::size_t pulses = rig.device.levels.size();

    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    // Download cannot even be pressed while the connect runs.
    EXPECT_FALSE(rig.click(ControlId::DownloadButton));
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_EQ(rig.port.openCount(), opens);
    EXPECT_EQ(rig.port.written(), written);
    EXPECT_EQ(rig.device.levels.size(), pulses);
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_EQ(rig.text(I::IdentNameText), QStringLiteral("LAB1"));

    // The same during a download.
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.window->session().engine().busy());
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    EXPECT_TRUE(rig.port.isOpen());
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.window->dataSets()[LogData].count, 650);
}

// The status caption and the graph's range label share the name Label31: the continuous
// measurement hides the graph's range labels and leaves the bound captions of a QM320-HX alone.
TEST(EndToEnd, ContinuousHidesTheRangeLabelsNotTheBoundCaptions) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    WidgetControls& controls = rig.window->controls();
    ASSERT_NE(controls.object(I::UpperBoundCaption), controls.object(I::TemperatureBottomLabel));
    rig.window->session().state().recordState = RecordState::Continuous;
    rig.window->refreshStatus();
    for (ControlId range : {I::TemperatureTopLabel, I::TemperatureBottomLabel, I::HumidityTopLabel,
                            I::RightTimeLabel}) {
        EXPECT_FALSE(controls.shown(range)) << controlName(range);
    }
    EXPECT_TRUE(controls.shown(I::UpperBoundCaption));
    EXPECT_EQ(controls.text(I::UpperBoundCaption),
              rig.window->messages().text(Msg::UpperBoundCaption));

    rig.window->session().state().recordState = RecordState::Stopped;
    rig.window->refreshStatus();
    EXPECT_TRUE(controls.shown(I::TemperatureBottomLabel));
    EXPECT_TRUE(controls.shown(I::UpperBoundCaption));
}

}  // namespace
