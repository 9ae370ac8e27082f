// The status refresh: read-out texts and colours, the enabling of controls in every state, and
// the values a simulated logger's status read produces on the panel.
#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>

#include "data/datetime.h"
#include "harness.h"
#include "ui/widgetcontrols.h"

namespace {

using namespace optest;
using I = ControlId;

QColor back(Harness& h, ControlId id) {
    return h.controls.backColour(id);
}

// A port open on 3 without traffic, as after a connect, with a stopped QM320-HX.
void openConnected(Harness& h) {
    ASSERT_TRUE(h.port.open(3, QStringLiteral("57600,n,8,1")));
    h.session.Portnum = 3;
    h.state.Machine_N_P = kModelQM320;
    h.state.Start_Time = datetime::fromDateAndTime(QDate(2025, 3, 14), QTime(9, 30));
    h.state.Battery_Volts = QStringLiteral("3.00");
    h.state.VT_Name = QStringLiteral("AB  ");
    h.state.Record_Pointer = 400;
    h.dataSets[LogData].interval = 600;
}

TEST(StatusText, IntervalReadsMinutesAndSeconds) {
    MessageTable messages;
    messages.fillEnglish();
    const std::pair<int, const char*> cases[] = {
        {90, "1 Min30 Sec"}, {60, "1 Min"},      {0, ""},  {59, "59 Sec"},
        {3600, "60 Min"},    {61, "1 Min1 Sec"}, {-5, ""},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(StatusText::interval(seconds, messages), QString::fromUtf8(text)) << seconds;
    }
    messages.fillJapanese();
    EXPECT_EQ(StatusText::interval(90, messages), QStringLiteral("1 分30 秒"));
}

TEST(StatusText, BatteryIsNgBelowTwoAndAHalfVoltsOrOnFault) {
    MessageTable messages;
    messages.fillEnglish();
    const struct {
        const char* volts;
        const char* error;
        const char* text;
        bool good;
    } cases[] = {
        {"2.50", "", "2.50 V", true},         {"2.49", "", "NG2.49 V", false},
        {"3.00", "Error", "NG3.00 V", false}, {"", "", "NG V", false},
        {"2.9x", "", "2.9x V", true},         {"abc", "", "NGabc V", false},
    };
    for (const auto& c : cases) {
        LoggerState state;
        state.Battery_Volts = QString::fromLatin1(c.volts);
        state.Error_Flag = QString::fromLatin1(c.error);
        EXPECT_EQ(StatusText::batteryGood(state), c.good) << c.volts;
        EXPECT_EQ(
            StatusText::battery(state.Battery_Volts, StatusText::batteryGood(state), messages),
            QString::fromLatin1(c.text))
            << c.volts;
    }
}

TEST(StatusText, DatesBefore2000OrUnformattableAreRecognised) {
    EXPECT_EQ(
        StatusText::formatDateTime(datetime::fromDateAndTime(QDate(2025, 3, 14), QTime(9, 30, 5))),
        QStringLiteral("2025/03/14 09:30:05"));
    EXPECT_EQ(StatusText::yearOf(datetime::fromDateAndTime(QDate(1999, 12, 31), QTime(23, 59))),
              1999);
    EXPECT_EQ(StatusText::yearOf(0), 1899);
    EXPECT_TRUE(StatusText::formatDateTime(std::nan("")).isEmpty());
    EXPECT_TRUE(StatusText::formatDateTime(1e12).isEmpty());
    EXPECT_EQ(StatusText::yearOf(1e12), 0);
}

TEST(StatusRefresh, NotConnected) {
    Harness h;
    h.state.Machine_N_P = kModelQM320;
    h.state.VT_Name = QStringLiteral("LAB1");
    h.state.F_W_Ver = QStringLiteral("1.05");
    auto* portDialog = h.window->findChild<QDialog*>(QStringLiteral("Form5"));
    portDialog->show();
    h.timers.arm(TimerId::TimeOut, 500);
    h.timers.arm(TimerId::Continuation, 1000);
    h.refresh();

    EXPECT_EQ(h.window->windowTitle(),
              QStringLiteral("[Veltrane] Temperature and Humidity Logger"));
    EXPECT_EQ(h.state.Machine_N_P, QStringLiteral("Veltrane"));
    EXPECT_TRUE(h.state.VT_Name.isEmpty());
    EXPECT_TRUE(h.state.F_W_Ver.isEmpty());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
    EXPECT_EQ(h.text(I::CommunicationText), QStringLiteral("Unconnection"));
    EXPECT_EQ(back(h, I::ConnectionLamp), QColor(0, 0, 0));
    EXPECT_EQ(h.text(I::OperationText), QStringLiteral("----"));
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("----"));
    EXPECT_EQ(h.text(I::BatteryText), QStringLiteral("----"));
    EXPECT_EQ(back(h, I::BatteryText), shadeColour(Shade::ButtonFace));
    EXPECT_EQ(h.text(I::PointsText), QString());
    EXPECT_EQ(h.text(I::ContinuousButton), QStringLiteral("Continuous"));
    EXPECT_FALSE(portDialog->isVisible());
    EXPECT_FALSE(h.timers.isArmed(TimerId::TimeOut));
    EXPECT_FALSE(h.timers.isArmed(TimerId::Continuation));
    EXPECT_FALSE(h.controls.object(I::ConnectButton)->property("checked").toBool());
}

// Enabling by state: controls that must be on and off after the refresh.
struct StateCase {
    const char* name;
    bool connected;
    RecordState recordState;
    std::vector<ControlId> on;
    std::vector<ControlId> off;
    const char* operation;  // nullptr: not checked
    const char* command4;
};

class StatusStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(StatusStates, EnablesByState) {
    const StateCase& c = GetParam();
    Harness h;
    if (c.connected) {
        openConnected(h);
    }
    h.state.recordState = c.recordState;
    // The refresh must set every control whatever it held before.
    for (ControlId name : c.on) {
        h.controls.setEnabled(name, false);
    }
    for (ControlId name : c.off) {
        h.controls.setEnabled(name, true);
    }
    h.refresh();
    for (ControlId name : c.on) {
        EXPECT_TRUE(h.enabled(name)) << controlName(name);
    }
    for (ControlId name : c.off) {
        EXPECT_FALSE(h.enabled(name)) << controlName(name);
    }
    if (c.operation != nullptr) {
        EXPECT_EQ(h.text(I::OperationText), QString::fromLatin1(c.operation));
    }
    if (c.command4 != nullptr) {
        EXPECT_EQ(h.text(I::StartStopButton), QString::fromLatin1(c.command4));
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusStates,
    ::testing::Values(
        StateCase{
            "NotConnected",
            false,
            RecordState::Stopped,
            {I::BaudRateList, I::ModelList, I::NumberList, I::FileMenu, I::DisplayMenu, I::ToolMenu,
             I::CommunicationStartItem, I::CommunicationSettingItem, I::LogDataOption,
             I::DumpViewOption, I::DisplayFrame, I::IdentNameFrame},
            {I::InitialiseButton, I::MeasureOnceButton, I::ContinuousButton, I::StartStopButton,
             I::DownloadButton, I::UpdateButton, I::IntervalUnitSecondsOption, I::IntervalCountList,
             I::ClockItem, I::IdentNameItem},
            "----",
            nullptr},
        StateCase{
            "Stopped",
            true,
            RecordState::Stopped,
            {I::MeasureOnceButton, I::ContinuousButton, I::StartStopButton, I::DownloadButton,
             I::UpdateButton, I::ReservationButton, I::ClockSetButton, I::IntervalUnitSecondsOption,
             I::RepeatMinutesOption, I::IntervalCountList, I::RepeatCountList, I::InitialiseButton,
             I::ClockItem, I::IdentNameItem, I::RealTimeDisplayMenu, I::RealTimeDataOption},
            {I::BaudRateList, I::ModelList, I::NumberList},
            "Record stop",
            "Start"},
        StateCase{
            "Recording",
            true,
            RecordState::Recording,
            {I::UpdateButton, I::StartStopButton, I::FileMenu, I::DisplayMenu, I::ToolMenu,
             I::LogDisplayMenu, I::FileDisplayMenu, I::LogDataOption, I::GraphViewOption},
            {I::DownloadButton, I::MeasureOnceButton, I::ContinuousButton, I::ReservationButton,
             I::IntervalUnitSecondsOption, I::RealTimeDataOption, I::ClockItem, I::IdentNameItem,
             I::CommunicationStartItem, I::RealTimeDisplayMenu, I::NumberList},
            "Recording",
            "Stop"},
        StateCase{"Reserved",
                  true,
                  RecordState::Reserved,
                  {I::UpdateButton, I::StartStopButton, I::LogDisplayMenu, I::FileDisplayMenu,
                   I::FileDataOption},
                  {I::DownloadButton, I::MeasureOnceButton, I::ContinuousButton,
                   I::RealTimeDataOption, I::RealTimeDisplayMenu, I::ClockItem, I::IdentNameItem},
                  "Reserving",
                  "Reservation cancel"},
        StateCase{"Continuous",
                  true,
                  RecordState::Continuous,
                  {I::ContinuousButton, I::FileMenu, I::ToolMenu, I::CommunicationStartItem,
                   I::GraphViewOption, I::DumpViewOption},
                  {I::StartStopButton, I::DownloadButton, I::UpdateButton, I::MeasureOnceButton,
                   I::LogDataOption, I::FileDataOption, I::SaveRealTimeButton,
                   I::PrintRealTimeButton, I::DisplayMenu, I::ClockItem},
                  nullptr,
                  nullptr}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

TEST(StatusRefresh, ConnectedReadOuts) {
    Harness h;
    openConnected(h);
    h.dataSets[LogData].upperOn = 128;
    h.dataSets[LogData].upperBound = 30;
    h.dataSets[LogData].lowerOn = 0;
    h.dataSets[LogData].lowerBound = 10;
    h.refresh();

    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Communicating\u3000Port3"));
    EXPECT_EQ(h.text(I::CommunicationText), QStringLiteral("Communicating"));
    EXPECT_EQ(back(h, I::ConnectionLamp), QColor(128, 255, 128));
    EXPECT_EQ(h.window->windowTitle(),
              QStringLiteral("[Veltrane] Temperature and Humidity LoggerQM320-HX"));
    EXPECT_EQ(h.text(I::BeginningText), QStringLiteral("2025/03/14 09:30:00"));
    EXPECT_EQ(h.text(I::PointsText), QStringLiteral("100 point"));
    EXPECT_EQ(h.text(I::IntervalText), QStringLiteral("10 Min"));
    EXPECT_EQ(h.text(I::IntervalSecondsText), QStringLiteral("600"));
    EXPECT_EQ(h.text(I::ModeText), QStringLiteral("One Time"));
    EXPECT_EQ(h.text(I::UpperBoundText), QStringLiteral("30 C"));
    EXPECT_EQ(h.text(I::LowerBoundText), QStringLiteral("OFF"));
    EXPECT_EQ(h.text(I::BatteryText), QStringLiteral("3.00 V"));
    EXPECT_EQ(back(h, I::BatteryText), shadeColour(Shade::ButtonFace));
    EXPECT_EQ(h.text(I::StopNoteText), QString());
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("AB  "));
    EXPECT_TRUE(h.controls.object(I::ConnectButton)->property("checked").toBool());
    EXPECT_EQ(h.dataSets[LogData].model, QStringLiteral("QM320-HX"));
}

TEST(StatusRefresh, BatteryFaultAndVoltageStopTurnRed) {
    Harness h;
    openConnected(h);
    h.state.Battery_Volts = QStringLiteral("2.4");
    h.state.Stop_Flag = QStringLiteral("Stop");
    h.refresh();
    EXPECT_EQ(h.text(I::BatteryText), QStringLiteral("NG2.4 V"));
    EXPECT_EQ(back(h, I::BatteryText), QColor(255, 0, 0));
    EXPECT_EQ(h.text(I::StopNoteText), QStringLiteral("End due to the voltage decrease."));
    EXPECT_EQ(back(h, I::StopNoteText), QColor(255, 0, 0));

    h.state.Battery_Volts = QStringLiteral("2.5");
    h.state.Stop_Flag.clear();
    h.refresh();
    EXPECT_EQ(h.text(I::BatteryText), QStringLiteral("2.5 V"));
    EXPECT_EQ(back(h, I::BatteryText), shadeColour(Shade::ButtonFace));
    EXPECT_EQ(back(h, I::StopNoteText), shadeColour(Shade::ButtonFace));
}

// A start before 2000 over an empty memory is no recording: dashes and nothing to describe.
// Records under such a start are still there: the panel says the start is unreadable and shows
// what the logger reports, which stays as read so the records can be downloaded.
TEST(StatusRefresh, UnreadableStartHidesOnlyAnEmptyRecording) {
    const struct {
        int recordPointer;
        bool wrapped;
        const char* beginning;
        const char* points;
        const char* interval;
        const char* mode;
    } cases[] = {
        {0, false, "----/--/-- --:--:--", "0 point", "", ""},
        {400, false, "Start date unreadable", "100 point", "10 Min", "One Time"},
        {0, true, "Start date unreadable", "15000 point", "10 Min", "Loop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recordPointer);
        Harness h;
        openConnected(h);
        h.state.Start_Time = datetime::fromDateAndTime(QDate(1999, 6, 1), QTime(12, 0));
        h.state.Record_Pointer = c.recordPointer;
        h.state.Memory_Mode = c.wrapped ? 1 : 0;
        h.state.Wrapped = c.wrapped ? 1 : 0;
        h.refresh();
        EXPECT_EQ(h.text(I::BeginningText), QString::fromLatin1(c.beginning));
        EXPECT_EQ(h.text(I::PointsText), QString::fromLatin1(c.points));
        EXPECT_EQ(h.text(I::IntervalText), QString::fromLatin1(c.interval));
        EXPECT_EQ(h.text(I::ModeText), QString::fromLatin1(c.mode));
        EXPECT_EQ(h.state.Record_Pointer, c.recordPointer);
        EXPECT_EQ(h.dataSets[LogData].interval, 600);
    }
}

TEST(StatusRefresh, ReservationShowsTheReservedStart) {
    Harness h;
    openConnected(h);
    h.state.recordState = RecordState::Reserved;
    h.state.Reserve_Day = 5;
    h.state.Reserve_Hour = 9;
    h.state.Reserve_Minute = 30;
    h.state.Current_Interval_Sec = 90;
    h.state.Stop_Flag = QStringLiteral("Stop");
    h.refresh();
    EXPECT_EQ(h.text(I::BeginningText), QStringLiteral("05Day09:30 Record beginning"));
    EXPECT_EQ(h.text(I::PointsText), QStringLiteral("0 point"));
    EXPECT_EQ(h.text(I::IntervalText), QStringLiteral("1 Min30 Sec"));
    EXPECT_EQ(h.text(I::StopNoteText), QString());

    h.messages.fillJapanese();
    h.refresh();
    EXPECT_EQ(h.text(I::BeginningText), QStringLiteral("05日09時30分 記録開始"));
}

TEST(StatusRefresh, BoundsShownOnlyForQm320) {
    for (const QString& model : {kModelQM320, kModelQM300}) {
        Harness h;
        openConnected(h);
        h.state.Machine_N_P = model;
        h.refresh();
        const bool shown = model == kModelQM320;
        for (ControlId name :
             {I::UpperBoundCaption, I::LowerBoundCaption, I::UpperBoundText, I::LowerBoundText}) {
            EXPECT_EQ(h.shown(name), shown) << qPrintable(model) << " " << controlName(name);
        }
    }
}

TEST(StatusRefresh, ContinuousHidesGraphControlsAndStoppedShowsThem) {
    Harness h;
    openConnected(h);
    h.state.recordState = RecordState::Continuous;
    h.dataSets[RealTimeData].count = 5;
    h.refresh();
    for (ControlId name : {I::TemperatureSpanBar, I::TimePositionBar, I::TemperatureNarrowerButton,
                           I::TimeWiderButton, I::TemperatureTopLabel}) {
        EXPECT_FALSE(h.shown(name)) << controlName(name);
    }
    EXPECT_EQ(h.text(I::ContinuousButton), QStringLiteral("Stop"));
    EXPECT_FALSE(h.enabled(I::SaveRealTimeButton));

    h.state.recordState = RecordState::Stopped;
    h.refresh();
    for (ControlId name : {I::TemperatureSpanBar, I::TimePositionBar, I::TemperatureNarrowerButton,
                           I::TimeWiderButton, I::TemperatureTopLabel}) {
        EXPECT_TRUE(h.shown(name)) << controlName(name);
    }
    EXPECT_EQ(h.text(I::ContinuousButton), QStringLiteral("Continuous"));
    EXPECT_TRUE(h.enabled(I::SaveRealTimeButton));
}

// Panes and data-dependent controls follow the data set on display and the view mode.
TEST(StatusRefresh, PanesAndDataControlsFollowTheDisplay) {
    Harness h;
    h.dataSets[LogData].count = 10;
    h.dataSets[FileData].count = 0;
    const char* labels[] = {"Log", "RealTime", "File"};
    const ControlId panes[] = {I::LogPane, I::RealTimePane, I::FilePane};
    for (std::uint8_t disp = 0; disp < 3; ++disp) {
        for (int mode : {0, 1}) {
            h.display.current = static_cast<DataSetIndex>(disp);
            h.display.kind = mode;
            h.refresh();
            SCOPED_TRACE(testing::Message() << "Disp_stat " << int(disp) << " mode " << mode);
            EXPECT_EQ(h.text(I::DataSetLabel), QString::fromLatin1(labels[disp]));
            for (int pane = 0; pane < 3; ++pane) {
                EXPECT_EQ(h.shown(panes[pane]), pane == disp);
                EXPECT_EQ(h.shown(tablePaneOf(pane)), mode == 1 && pane == disp);
            }
            EXPECT_EQ(h.shown(I::GraphArea), mode == 0);
            const bool hasData = disp == LogData;
            EXPECT_EQ(h.enabled(I::HumidityTimeWidthBar), hasData);
            EXPECT_EQ(h.enabled(I::FitButton), hasData);
            EXPECT_EQ(h.enabled(I::PrintItem), hasData);
            EXPECT_TRUE(h.enabled(I::SaveLogButton));
            EXPECT_FALSE(h.enabled(I::PrintFileButton));
            EXPECT_FALSE(h.enabled(I::SaveRealTimeItem));
        }
    }
}

// Registration finds each control by name and kind inside its scope; a name missing or found
// twice is reported, and the control stays unregistered.
TEST(Controls, RegistrationReportsMissingAndDuplicatedNames) {
    WidgetControls controls;
    std::unique_ptr<QWidget> window = buildTestWindow(controls);
    EXPECT_TRUE(controls.registerFrom(window.get()).isEmpty());
    EXPECT_NE(controls.object(I::UpperBoundCaption), controls.object(I::TemperatureBottomLabel));

    auto* twin = new QPushButton(window.get());
    twin->setObjectName(QStringLiteral("Command5"));
    delete controls.object(I::LoggerClockLabel);
    WidgetControls again;
    const QStringList problems = again.registerFrom(window.get());
    EXPECT_EQ(problems, QStringList({QStringLiteral("Command5: found 2 times"),
                                     QStringLiteral("Label24: found 0 times")}));
    EXPECT_EQ(again.object(I::DownloadButton), nullptr);
    again.setText(I::DownloadButton, QStringLiteral("skipped"));
    EXPECT_EQ(again.text(I::DownloadButton), QString());
}

// A control that is not registered is skipped; the refresh still does its work.
TEST(StatusRefresh, MissingControlsAreSkipped) {
    Harness h;
    WidgetControls none;
    Context bare{h.session, h.waiter, none, h.display, h.pointer, h.dialogs, h.progress};
    StatusRefresh refresh(bare);
    h.state.VT_Name = QStringLiteral("LAB1");
    refresh.run();
    EXPECT_TRUE(h.state.VT_Name.isEmpty());
    openConnected(h);
    refresh.run();
    EXPECT_EQ(h.dataSets[LogData].model, QStringLiteral("QM320-HX"));
}

TEST(UpdateButton, QueuesTheStatusReadOnlyWhenIdle) {
    Harness h(3, QStringLiteral("runs"));
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    h.logger.state().name = {'N', 'E', 'W', '1'};
    ASSERT_TRUE(readStatus(h.session));
    EXPECT_EQ(h.engine.queue().Count, 19);
    EXPECT_EQ(h.engine.queue().Entries[0].Keyword, ProcedureKind::None);
    EXPECT_FALSE(readStatus(h.session));
    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("NEW1"));
}

// The panel after a real status read of each scenario.
struct ScenarioCase {
    const char* scenario;
    std::function<void(SimLoggerState&)> tweak;
    std::vector<std::pair<ControlId, QString>> texts;
};

class ScenarioReadOuts : public ::testing::TestWithParam<ScenarioCase> {};

TEST_P(ScenarioReadOuts, ShowTheFormattedValues) {
    const ScenarioCase& c = GetParam();
    Harness h(1, QString::fromLatin1(c.scenario));
    if (c.tweak) {
        c.tweak(h.logger.state());
    }
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    for (const auto& [name, text] : c.texts) {
        EXPECT_EQ(h.text(name), text) << c.scenario << " " << controlName(name);
    }
}

QString tomorrowReservation() {
    const QDate tomorrow = QDateTime::currentDateTimeUtc().date().addDays(1);
    return QStringLiteral("%1Day08:30 Record beginning").arg(tomorrow.day(), 2, 10, QChar('0'));
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ScenarioReadOuts,
    ::testing::Values(
        ScenarioCase{"runs",
                     nullptr,
                     {{I::OperationText, "Record stop"},
                      {I::IntervalText, "10 Min"},
                      {I::PointsText, "650 point"},
                      {I::ModeText, "One Time"},
                      {I::UpperBoundText, "30 C"},
                      {I::LowerBoundText, "OFF"},
                      {I::BatteryText, "3.00 V"},
                      {I::IdentNameText, "LAB1"}}},
        ScenarioCase{
            "lowbattery",
            nullptr,
            {{I::BatteryText, "NG2.39 V"}, {I::StopNoteText, "End due to the voltage decrease."}}},
        ScenarioCase{"runs",
                     [](SimLoggerState& s) {
                         s.settingUnit = kUnitSeconds;
                         s.settingCount = 90;
                     },
                     {{I::IntervalText, "1 Min30 Sec"}, {I::IntervalSecondsText, "90"}}},
        ScenarioCase{"runs",
                     [](SimLoggerState& s) {
                         s.settingUnit = kUnitSeconds;
                         s.settingCount = 60;
                     },
                     {{I::IntervalText, "1 Min"}}},
        ScenarioCase{"nodate",
                     nullptr,
                     {{I::BeginningText, "Start date unreadable"},
                      {I::PointsText, "100 point"},
                      {I::IntervalText, "1 Min"}}},
        ScenarioCase{"wrapped", nullptr, {{I::PointsText, "15000 point"}, {I::ModeText, "Loop"}}},
        ScenarioCase{"reserved",
                     nullptr,
                     {{I::OperationText, "Reserving"},
                      {I::BeginningText, tomorrowReservation()},
                      {I::IntervalText, "5 Min"},
                      {I::StartStopButton, "Reservation cancel"}}},
        ScenarioCase{"recording",
                     nullptr,
                     {{I::OperationText, "Recording"}, {I::StartStopButton, "Stop"}}}));

}  // namespace
