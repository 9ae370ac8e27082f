// The status refresh: read-out texts and colours, the enabling of controls in every state, and
// the values a simulated logger's status read produces on the panel.
#include <gtest/gtest.h>

#include <QDialog>

#include "data/datetime.h"
#include "harness.h"
#include "operations/controls.h"
#include "operations/statuspanel.h"

namespace {

using namespace optest;

QColor back(Harness& h, const char* name) {
    return Controls::backColour(h.window.get(), QString::fromLatin1(name));
}

// A port open on 3 without traffic, as after a connect, with a stopped QM320-HX.
void openConnected(Harness& h) {
    ASSERT_TRUE(h.port.open(3, QStringLiteral("57600,n,8,1")));
    h.view.Portnum = 3;
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
        EXPECT_EQ(StatusText::battery(state, messages), QString::fromLatin1(c.text)) << c.volts;
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
    EXPECT_EQ(h.text(StatusNames::StatusPanel1), QStringLiteral("Unconnection"));
    EXPECT_EQ(h.text(StatusNames::Communication), QStringLiteral("Unconnection"));
    EXPECT_EQ(back(h, StatusNames::Lamp), QColor(0, 0, 0));
    EXPECT_EQ(h.text(StatusNames::Operation), QStringLiteral("----"));
    EXPECT_EQ(h.text(StatusNames::IdentName), QStringLiteral("----"));
    EXPECT_EQ(h.text(StatusNames::Battery), QStringLiteral("----"));
    EXPECT_EQ(back(h, StatusNames::Battery), StatusColours::buttonFace());
    EXPECT_EQ(h.text(StatusNames::Points), QString());
    EXPECT_EQ(h.text("Command2"), QStringLiteral("Continuous"));
    EXPECT_FALSE(portDialog->isVisible());
    EXPECT_FALSE(h.timers.isArmed(TimerId::TimeOut));
    EXPECT_FALSE(h.timers.isArmed(TimerId::Continuation));
    EXPECT_FALSE(Controls::find(h.window.get(), "Command20")->property("checked").toBool());
}

// Enabling by state: controls that must be on and off after the refresh.
struct StateCase {
    const char* name;
    bool connected;
    const char* recordState;
    std::vector<const char*> on;
    std::vector<const char*> off;
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
    h.state.Record_State = QString::fromLatin1(c.recordState);
    // The refresh must set every control whatever it held before.
    for (const char* name : c.on) {
        Controls::setEnabled(h.window.get(), QString::fromLatin1(name), false);
    }
    for (const char* name : c.off) {
        Controls::setEnabled(h.window.get(), QString::fromLatin1(name), true);
    }
    h.refresh();
    for (const char* name : c.on) {
        EXPECT_TRUE(h.enabled(name)) << name;
    }
    for (const char* name : c.off) {
        EXPECT_FALSE(h.enabled(name)) << name;
    }
    if (c.operation != nullptr) {
        EXPECT_EQ(h.text(StatusNames::Operation), QString::fromLatin1(c.operation));
    }
    if (c.command4 != nullptr) {
        EXPECT_EQ(h.text("Command4"), QString::fromLatin1(c.command4));
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusStates,
    ::testing::Values(
        StateCase{"NotConnected",
                  false,
                  "",
                  {"Combo1", "Combo3", "Combo4", "m1", "m2", "m3", "m31", "m32", "Option5",
                   "Option9", "Frame8", "Frame11"},
                  {"Command27", "Command1", "Command2", "Command4", "Command5", "Command11",
                   "Option1", "Combo2", "m33", "m34"},
                  "----",
                  nullptr},
        StateCase{
            "Stopped",
            true,
            "",
            {"Command1", "Command2", "Command4", "Command5", "Command11", "Command19", "Command6",
             "Option1", "Option4", "Combo2", "Combo5", "Command27", "m33", "m34", "m22", "Option6"},
            {"Combo1", "Combo3", "Combo4"},
            "Record stop",
            "Start"},
        StateCase{"Recording",
                  true,
                  "kirokucyu",
                  {"Command11", "Command4", "m1", "m2", "m3", "m21", "m23", "Option5", "Option8"},
                  {"Command5", "Command1", "Command2", "Command19", "Option1", "Option6", "m33",
                   "m34", "m31", "m22", "Combo4"},
                  "Recording",
                  "Stop"},
        StateCase{"Reserved",
                  true,
                  "yoyakucyu",
                  {"Command11", "Command4", "m21", "m23", "Option7"},
                  {"Command5", "Command1", "Command2", "Option6", "m22", "m33", "m34"},
                  "Reserving",
                  "Reservation cancel"},
        StateCase{"Continuous",
                  true,
                  "renzoku",
                  {"Command2", "m1", "m3", "m31", "Option8", "Option9"},
                  {"Command4", "Command5", "Command11", "Command1", "Option5", "Option7",
                   "Command22", "Command23", "m2", "m33"},
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

    EXPECT_EQ(h.text(StatusNames::StatusPanel1), QStringLiteral("Communicating\u3000Port3"));
    EXPECT_EQ(h.text(StatusNames::Communication), QStringLiteral("Communicating"));
    EXPECT_EQ(back(h, StatusNames::Lamp), QColor(128, 255, 128));
    EXPECT_EQ(h.window->windowTitle(),
              QStringLiteral("[Veltrane] Temperature and Humidity LoggerQM320-HX"));
    EXPECT_EQ(h.text(StatusNames::Beginning), QStringLiteral("2025/03/14 09:30:00"));
    EXPECT_EQ(h.text(StatusNames::Points), QStringLiteral("100 point"));
    EXPECT_EQ(h.text(StatusNames::Interval), QStringLiteral("10 Min"));
    EXPECT_EQ(h.text(StatusNames::IntervalSeconds), QStringLiteral("600"));
    EXPECT_EQ(h.text(StatusNames::Mode), QStringLiteral("One Time"));
    EXPECT_EQ(h.text(StatusNames::Upper), QStringLiteral("30 C"));
    EXPECT_EQ(h.text(StatusNames::Lower), QStringLiteral("OFF"));
    EXPECT_EQ(h.text(StatusNames::Battery), QStringLiteral("3.00 V"));
    EXPECT_EQ(back(h, StatusNames::Battery), StatusColours::buttonFace());
    EXPECT_EQ(h.text(StatusNames::StopNote), QString());
    EXPECT_EQ(h.text(StatusNames::IdentName), QStringLiteral("AB  "));
    EXPECT_TRUE(Controls::find(h.window.get(), "Command20")->property("checked").toBool());
    EXPECT_EQ(h.dataSets[LogData].model, QStringLiteral("QM320-HX"));
}

TEST(StatusRefresh, BatteryFaultAndVoltageStopTurnRed) {
    Harness h;
    openConnected(h);
    h.state.Battery_Volts = QStringLiteral("2.4");
    h.state.Stop_Flag = QStringLiteral("Stop");
    h.refresh();
    EXPECT_EQ(h.text(StatusNames::Battery), QStringLiteral("NG2.4 V"));
    EXPECT_EQ(back(h, StatusNames::Battery), QColor(255, 0, 0));
    EXPECT_EQ(h.text(StatusNames::StopNote), QStringLiteral("End due to the voltage decrease."));
    EXPECT_EQ(back(h, StatusNames::StopNote), QColor(255, 0, 0));

    h.state.Battery_Volts = QStringLiteral("2.5");
    h.state.Stop_Flag.clear();
    h.refresh();
    EXPECT_EQ(h.text(StatusNames::Battery), QStringLiteral("2.5 V"));
    EXPECT_EQ(back(h, StatusNames::Battery), StatusColours::buttonFace());
    EXPECT_EQ(back(h, StatusNames::StopNote), StatusColours::buttonFace());
}

TEST(StatusRefresh, StartBefore2000ShowsDashesAndClearsTheRecording) {
    for (const bool wrapped : {false, true}) {
        Harness h;
        openConnected(h);
        h.state.Start_Time = datetime::fromDateAndTime(QDate(1999, 6, 1), QTime(12, 0));
        h.state.Memory_Mode = wrapped ? 1 : 0;
        h.state.Wrapped = wrapped ? 1 : 0;
        h.dataSets[LogData].upperOn = 128;
        h.refresh();
        EXPECT_EQ(h.text(StatusNames::Beginning), QStringLiteral("----/--/-- --:--:--"));
        EXPECT_EQ(h.state.Record_Pointer, 0);
        EXPECT_EQ(h.dataSets[LogData].interval, 0);
        EXPECT_EQ(h.text(StatusNames::Points),
                  wrapped ? QStringLiteral("15000 point") : QStringLiteral("0 point"));
        EXPECT_EQ(h.text(StatusNames::Interval), QString());
        EXPECT_EQ(h.text(StatusNames::Mode), QString());
        EXPECT_EQ(h.text(StatusNames::Upper), QString());
        EXPECT_EQ(h.text(StatusNames::Lower), QString());
    }
}

TEST(StatusRefresh, ReservationShowsTheReservedStart) {
    Harness h;
    openConnected(h);
    h.state.Record_State = kStateReserved;
    h.state.Reserve_Day = 5;
    h.state.Reserve_Hour = 9;
    h.state.Reserve_Minute = 30;
    h.state.Current_Interval_Sec = 90;
    h.state.Stop_Flag = QStringLiteral("Stop");
    h.refresh();
    EXPECT_EQ(h.text(StatusNames::Beginning), QStringLiteral("05Day09:30 Record beginning"));
    EXPECT_EQ(h.text(StatusNames::Points), QStringLiteral("0 point"));
    EXPECT_EQ(h.text(StatusNames::Interval), QStringLiteral("1 Min30 Sec"));
    EXPECT_EQ(h.text(StatusNames::StopNote), QString());

    h.messages.fillJapanese();
    h.refresh();
    EXPECT_EQ(h.text(StatusNames::Beginning), QStringLiteral("05日09時30分 記録開始"));
}

TEST(StatusRefresh, BoundsShownOnlyForQm320) {
    for (const QString& model : {kModelQM320, kModelQM300}) {
        Harness h;
        openConnected(h);
        h.state.Machine_N_P = model;
        h.refresh();
        const bool shown = model == kModelQM320;
        for (const char* name : {"Label31", "Label32", StatusNames::Upper, StatusNames::Lower}) {
            EXPECT_EQ(h.shown(name), shown) << qPrintable(model) << " " << name;
        }
    }
}

TEST(StatusRefresh, ContinuousHidesGraphControlsAndStoppedShowsThem) {
    Harness h;
    openConnected(h);
    h.state.Record_State = kStateContinuous;
    h.dataSets[RealTimeData].count = 5;
    h.refresh();
    for (const char* name : {"VScroll1", "HScroll2", "Command3", "Command18", "Label30"}) {
        EXPECT_FALSE(h.shown(name)) << name;
    }
    EXPECT_EQ(h.text("Command2"), QStringLiteral("Stop"));
    EXPECT_FALSE(h.enabled("Command22"));

    h.state.Record_State.clear();
    h.refresh();
    for (const char* name : {"VScroll1", "HScroll2", "Command3", "Command18", "Label30"}) {
        EXPECT_TRUE(h.shown(name)) << name;
    }
    EXPECT_EQ(h.text("Command2"), QStringLiteral("Continuous"));
    EXPECT_TRUE(h.enabled("Command22"));
}

// Panes and data-dependent controls follow the data set on display and the view mode.
TEST(StatusRefresh, PanesAndDataControlsFollowTheDisplay) {
    Harness h;
    h.dataSets[LogData].count = 10;
    h.dataSets[FileData].count = 0;
    const char* labels[] = {"Log", "RealTime", "File"};
    const char* panes[] = {StatusNames::LogPane, StatusNames::RealTimePane, StatusNames::FilePane};
    for (std::uint8_t disp = 0; disp < 3; ++disp) {
        for (int mode : {0, 1}) {
            h.view.Disp_stat = disp;
            h.view.viewMode = mode;
            h.refresh();
            SCOPED_TRACE(testing::Message() << "Disp_stat " << int(disp) << " mode " << mode);
            EXPECT_EQ(h.text(StatusNames::DataSetLabel), QString::fromLatin1(labels[disp]));
            for (int pane = 0; pane < 3; ++pane) {
                EXPECT_EQ(h.shown(panes[pane]), pane == disp);
                EXPECT_EQ(h.shown(StatusNames::TablePanes[pane]), mode == 1 && pane == disp);
            }
            EXPECT_EQ(h.shown(StatusNames::GraphArea), mode == 0);
            const bool hasData = disp == LogData;
            EXPECT_EQ(h.enabled("HScroll3"), hasData);
            EXPECT_EQ(h.enabled("Command12"), hasData);
            EXPECT_EQ(h.enabled("m13"), hasData);
            EXPECT_TRUE(h.enabled("Command21"));
            EXPECT_FALSE(h.enabled("Command25"));
            EXPECT_FALSE(h.enabled("m121"));
        }
    }
}

TEST(StatusRefresh, MissingControlsAreSkipped) {
    Harness h;
    QWidget empty;
    StatusRefresh refresh(&empty, *h.engine, h.state, h.dataSets, h.messages);
    h.state.VT_Name = QStringLiteral("LAB1");
    h.view.Disp_stat = 7;
    refresh.run(h.view);
    EXPECT_TRUE(h.state.VT_Name.isEmpty());
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("[Veltrane] Temperature and Humidity Logger"));

    StatusRefresh detached(nullptr, *h.engine, h.state, h.dataSets, h.messages);
    openConnected(h);
    detached.run(h.view);
    EXPECT_EQ(h.dataSets[LogData].model, QStringLiteral("QM320-HX"));
}

TEST(UpdateButton, QueuesTheStatusReadOnlyWhenIdle) {
    Harness h(3, QStringLiteral("runs"));
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    h.logger.state().name = {'N', 'E', 'W', '1'};
    ASSERT_TRUE(Command11_Click(*h.engine));
    EXPECT_EQ(h.engine->queue().Count, 19);
    EXPECT_TRUE(h.engine->queue().Entries[0].Keyword.isEmpty());
    EXPECT_FALSE(Command11_Click(*h.engine));
    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(h.text(StatusNames::IdentName), QStringLiteral("NEW1"));
}

// The panel after a real status read of each scenario.
struct ScenarioCase {
    const char* scenario;
    std::function<void(SimLoggerState&)> tweak;
    std::vector<std::pair<const char*, QString>> texts;
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
        EXPECT_EQ(h.text(name), text) << c.scenario << " " << name;
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
                     {{StatusNames::Operation, "Record stop"},
                      {StatusNames::Interval, "10 Min"},
                      {StatusNames::Points, "650 point"},
                      {StatusNames::Mode, "One Time"},
                      {StatusNames::Upper, "30 C"},
                      {StatusNames::Lower, "OFF"},
                      {StatusNames::Battery, "3.00 V"},
                      {StatusNames::IdentName, "LAB1"}}},
        ScenarioCase{"lowbattery",
                     nullptr,
                     {{StatusNames::Battery, "NG2.39 V"},
                      {StatusNames::StopNote, "End due to the voltage decrease."}}},
        ScenarioCase{
            "runs",
            [](SimLoggerState& s) {
                s.settingUnit = kUnitSeconds;
                s.settingCount = 90;
            },
            {{StatusNames::Interval, "1 Min30 Sec"}, {StatusNames::IntervalSeconds, "90"}}},
        ScenarioCase{"runs",
                     [](SimLoggerState& s) {
                         s.settingUnit = kUnitSeconds;
                         s.settingCount = 60;
                     },
                     {{StatusNames::Interval, "1 Min"}}},
        ScenarioCase{"nodate",
                     nullptr,
                     {{StatusNames::Beginning, "----/--/-- --:--:--"},
                      {StatusNames::Points, "0 point"},
                      {StatusNames::Interval, ""},
                      {StatusNames::Mode, ""}}},
        ScenarioCase{"wrapped",
                     nullptr,
                     {{StatusNames::Points, "15000 point"}, {StatusNames::Mode, "Loop"}}},
        ScenarioCase{"reserved",
                     nullptr,
                     {{StatusNames::Operation, "Reserving"},
                      {StatusNames::Beginning, tomorrowReservation()},
                      {StatusNames::Interval, "5 Min"},
                      {"Command4", "Reservation cancel"}}},
        ScenarioCase{
            "recording", nullptr, {{StatusNames::Operation, "Recording"}, {"Command4", "Stop"}}}));

}  // namespace

namespace {

TEST(StatusPanelWidget, CaptionsComeFromTheMessageTable) {
    MessageTable messages;
    const struct {
        const char* name;
        const char* english;
        const char* japanese;
    } cases[] = {
        {"Frame13", "State", "状態"},
        {"Label9", "Operation", "動作"},
        {"Label31", "Upper bound temperature setting", "上限温度設定"},
        {"Command11", "Update", "更新"},
        {"Command5", "Download", "ダウンロード"},
        {"Command21", "Save", "保存"},
        {"Command24", "Print", "印刷"},
        {"Frame11", "Ident_name", "識別名称"},
        {"communicationFrame", "Communication", "通信"},
    };
    for (const bool japanese : {false, true}) {
        japanese ? messages.fillJapanese() : messages.fillEnglish();
        QWidget root;
        auto* panel = new StatusPanel(&root);
        auto* name = new IdentNameFrame(&root);
        auto* communication = new CommunicationFrame(&root);
        panel->applyCaptions(messages);
        name->applyCaptions(messages);
        communication->applyCaptions(messages);
        for (const auto& c : cases) {
            QObject* control = Controls::find(&root, QString::fromLatin1(c.name));
            ASSERT_NE(control, nullptr) << c.name;
            auto* box = qobject_cast<QGroupBox*>(control);
            const QString text = box ? box->title() : control->property("text").toString();
            EXPECT_EQ(text, QString::fromUtf8(japanese ? c.japanese : c.english)) << c.name;
        }
        for (QPushButton* button : root.findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->text().isEmpty()) << qPrintable(button->objectName());
        }
    }
}

}  // namespace
