// Procedures that fail part-way through the real window against the simulated logger: one box
// that names the procedure and says what may be left in the logger once a change went out, the
// plain box before that, a lost logger with nothing running left silent, a continuous run ended
// by an unplug, and a logger removed while a setting dialog is open.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QTimer>
#include <functional>

#include "endtoend.h"

namespace {

using e2e::Rig;
using I = ControlId;

QStringList messageTexts(const ScriptedPrompter& prompter) {
    QStringList texts;
    for (const ScriptedPrompter::Call& call : prompter.calls) {
        if (call.kind == "message") {
            texts.append(call.text);
        }
    }
    return texts;
}

void unplug(Rig& rig) {
    rig.device.present = false;
    rig.port.setPresent(false);
}

// The Start button programs a recording named "E2E" through the scripted dialog.
void startRecording(Rig& rig) {
    rig.dialogs.recording = [](RecordingSetup& setup) {
        return setup.confirm(QStringLiteral("E2E"), QDateTime::currentDateTime());
    };
    ASSERT_TRUE(rig.click(I::StartStopButton));
}

void stopRecording(Rig& rig) {
    ASSERT_TRUE(rig.click(I::StartStopButton));
}

void setClock(Rig& rig) {
    rig.dialogs.clockSet = true;
    rig.window->menu().clockItem->trigger();
}

void setName(Rig& rig) {
    rig.dialogs.name = [](NameField&) { return std::optional<QString>(QStringLiteral("AB")); };
    rig.window->menu().identNameItem->trigger();
}

void update(Rig& rig) {
    ASSERT_TRUE(rig.click(I::UpdateButton));
}

// The expected box: a procedure's failure line (0: none, the plain box), the cause as two
// entries, and what may be left in the logger with what to do.
struct Box {
    int failed;
    std::array<int, 2> cause;
    std::array<int, 2> left;
};

QString boxText(const MessageTable& m, const Box& box) {
    QString text;
    if (box.failed != 0) {
        text = m.text(box.failed) + MessageTable::kPartBreak;
    }
    text += box.cause[1] != 0 ? m.pair(box.cause[0], box.cause[1]) : m.text(box.cause[0]);
    if (box.left[0] != 0) {
        text += MessageTable::kPartBreak + m.pair(box.left[0], box.left[1]);
    }
    return text;
}

constexpr std::array<int, 2> kTimeOut{1118, 1119};
constexpr std::array<int, 2> kRefused{1042, 1043};
constexpr std::array<int, 2> kLost{1332, 0};
constexpr std::array<int, 2> kLostPlain{1332, 1333};
constexpr std::array<int, 2> kPartlySet{1327, 1328};
constexpr std::array<int, 2> kStillRecording{1329, 1331};
constexpr std::array<int, 2> kNothing{0, 0};

struct FailureCase {
    const char* name;
    const char* scenario;
    std::function<void(SimFaults&, SimPort&)> fault;
    std::function<void(Rig&)> run;
    Box box;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class FailingProcedure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailingProcedure, GivesOneBoxSayingWhatMayBeLeftInTheLogger) {
    const FailureCase& c = GetParam();
    Rig rig(QLatin1String(c.scenario));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    ASSERT_TRUE(rig.prompter.calls.empty());
    c.fault(rig.logger.faults(), rig.port);
    c.run(rig);
    ASSERT_TRUE(rig.runProcedure(20000));
    rig.advance(2 * MainWindow::kDeviceCheckMs);

    const QStringList texts = messageTexts(rig.prompter);
    ASSERT_EQ(texts.size(), 1) << texts.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(texts[0].toStdString(), boxText(rig.window->messages(), c.box).toStdString());
    EXPECT_EQ(rig.prompter.calls.back().title, QStringLiteral("QM320-HX"));
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.window->statusText(1), QStringLiteral("Unconnection"));
}

const auto kSilent = [](Command command) {
    return [command](SimFaults& f, SimPort&) { f.silent.insert(code(command)); };
};
const auto kRefuse = [](Command command) {
    return [command](SimFaults& f, SimPort&) { f.refuseFirst[code(command)] = 11; };
};
const auto kUnplugAfter = [](Command command) {
    return [command](SimFaults& f, SimPort&) { f.unplugAfter = code(command); };
};
// The port fails from the next write on while the USB device still shows.
const auto kPortDead = [](SimFaults&, SimPort& port) { port.setPresent(false); };

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingProcedure,
    ::testing::Values(FailureCase{"StartSilent",
                                  "empty",
                                  kSilent(Command::StartRecording),
                                  startRecording,
                                  {1320, kTimeOut, kPartlySet}},
                      FailureCase{"StartRefused",
                                  "empty",
                                  kRefuse(Command::StartRecording),
                                  startRecording,
                                  {1320, kRefused, kPartlySet}},
                      FailureCase{"StartUnpluggedAfterMemoryMode",
                                  "empty",
                                  kUnplugAfter(Command::SetMemoryMode),
                                  startRecording,
                                  {1320, kLost, kPartlySet}},
                      FailureCase{"StopRefused",
                                  "live",
                                  kRefuse(Command::StopRecording),
                                  stopRecording,
                                  {1322, kRefused, kStillRecording}},
                      FailureCase{"ClockSilent",
                                  "runs",
                                  kSilent(Command::SetClockHourDay),
                                  setClock,
                                  {1325, kTimeOut, kPartlySet}},
                      FailureCase{"NameUnplugged",
                                  "runs",
                                  kUnplugAfter(Command::SetName12),
                                  setName,
                                  {1326, kLost, kPartlySet}},
                      // Nothing reached the logger: the plain box of the cause.
                      FailureCase{"StartPortDeadBeforeTheFirstChange",
                                  "empty",
                                  kPortDead,
                                  startRecording,
                                  {0, kLostPlain, kNothing}},
                      // A procedure that changes nothing says only that the logger was lost.
                      FailureCase{"UpdateUnplugged",
                                  "runs",
                                  kUnplugAfter(Command::GetName12),
                                  update,
                                  {0, kLostPlain, kNothing}}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// Unplugged in the middle of a recording start, the logger holds the new name and mode but does
// not record; the box says so.
TEST(WindowProcedures, UnplugMidStartLeavesTheLoggerPartlySet) {
    Rig rig(QStringLiteral("empty"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    rig.logger.faults().unplugAfter = code(Command::SetMemoryMode);
    startRecording(rig);
    ASSERT_TRUE(rig.runProcedure(20000));
    EXPECT_EQ(rig.logger.history().back().code, code(Command::SetMemoryMode));
    EXPECT_EQ(rig.logger.state().name, (std::array<std::uint8_t, 4>{' ', 'E', '2', 'E'}));
    EXPECT_EQ(rig.logger.state().status & (kStatusRecording0 | kStatusRecording1), 0);
    EXPECT_TRUE(messageTexts(rig.prompter)
                    .value(0)
                    .contains(rig.window->messages().text(Msg::MayBePartlySet)));
}

// Closing the window in the middle of a recording start ends it at once with the same box.
TEST(WindowProcedures, ClosingDuringAStartSaysTheLoggerMayBePartlySet) {
    Rig rig(QStringLiteral("empty"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    rig.paceLine(6);
    startRecording(rig);
    const std::size_t before = rig.logger.history().size();
    for (int ms = 0; ms < 10000 && rig.logger.history().size() < before + 3; ++ms) {
        rig.advance(1);
    }
    ASSERT_TRUE(rig.window->session().engine().busy());
    rig.window->close();
    EXPECT_FALSE(rig.window->session().engine().busy());
    EXPECT_EQ(messageTexts(rig.prompter),
              QStringList{boxText(rig.window->messages(), {1320, {1335, 0}, kPartlySet})});
}

// A logger removed while nothing runs disconnects without a word.
TEST(WindowProcedures, LostLoggerWithNothingRunningStaysSilent) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    unplug(rig);
    rig.advance(2 * MainWindow::kDeviceCheckMs);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.window->statusText(1), QStringLiteral("Unconnection"));
    EXPECT_TRUE(rig.prompter.calls.empty());
}

// A continuous run ended by an unplug says so once, whether the logger went between two
// measurements (the device check) or during one (the port failing).
TEST(WindowProcedures, ContinuousRunEndedByAnUnplugSaysSo) {
    for (const bool duringMeasurement : {false, true}) {
        SCOPED_TRACE(duringMeasurement);
        Rig rig(QStringLiteral("runs"));
        ASSERT_TRUE(rig.started());
        e2e::connectLogger(rig);
        ASSERT_TRUE(rig.click(I::RealTimeDataOption));
        ASSERT_TRUE(rig.click(I::RepeatSecondsOption));
        ASSERT_TRUE(rig.click(I::ContinuousButton));
        ASSERT_TRUE(rig.runProcedure());
        ASSERT_EQ(rig.text(I::ContinuousButton),
                  rig.window->messages().text(Msg::StopContinuousButton));
        if (duringMeasurement) {
            rig.logger.faults().unplugAfter = code(Command::MeasureTemperature);
            rig.advance(2000);
            ASSERT_TRUE(rig.runProcedure());
        } else {
            unplug(rig);
        }
        rig.advance(2 * MainWindow::kDeviceCheckMs);
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_EQ(rig.text(I::ContinuousButton),
                  rig.window->messages().text(Msg::ContinuousButtonOffline));
        EXPECT_EQ(messageTexts(rig.prompter),
                  QStringList{rig.window->messages().text(Msg::ContinuousMeasurementLost)});
        EXPECT_TRUE(rig.prompter.questionTexts().isEmpty());
    }
}

// A logger removed while the recording dialog is open disconnects under it, and confirming the
// dialog afterwards sends nothing and shows nothing.
TEST(WindowProcedures, LoggerRemovedUnderTheRecordingDialogDisconnects) {
    Rig rig(QStringLiteral("empty"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    const std::size_t sent = rig.logger.history().size();
    QString statusUnder;
    rig.dialogs.recording = [&rig, &statusUnder](RecordingSetup& setup) {
        unplug(rig);
        rig.advance(2 * MainWindow::kDeviceCheckMs);
        statusUnder = rig.window->statusText(1);
        return setup.confirm(QStringLiteral("E2E"), QDateTime::currentDateTime());
    };
    ASSERT_TRUE(rig.click(I::StartStopButton));
    EXPECT_EQ(statusUnder, QStringLiteral("Unconnection"));
    EXPECT_FALSE(rig.window->session().busy());
    EXPECT_EQ(rig.logger.history().size(), sent);
    EXPECT_TRUE(rig.prompter.calls.empty());
}

// With the window's own dialogs: the refresh that follows the disconnect closes the open name
// or clock dialog.
TEST(WindowProcedures, LoggerRemovedUnderASettingDialogClosesIt) {
    for (const bool clock : {false, true}) {
        SCOPED_TRACE(clock);
        Rig rig(QStringLiteral("runs"), Rig::QtDialogs);
        ASSERT_TRUE(rig.started());
        e2e::connectLogger(rig);
        bool closedByRefresh = false;
        bool seen = false;
        QTimer::singleShot(0, rig.window.get(), [&rig, &closedByRefresh, &seen, clock] {
            auto* dialog =
                rig.window->controls().as<QDialog>(clock ? I::ClockDialog : I::NameDialog);
            seen = dialog != nullptr;
            unplug(rig);
            rig.advance(2 * MainWindow::kDeviceCheckMs);
            closedByRefresh = dialog != nullptr && !dialog->isVisible();
            if (dialog != nullptr && dialog->isVisible()) {
                dialog->reject();
            }
        });
        (clock ? rig.window->menu().clockItem : rig.window->menu().identNameItem)->trigger();
        EXPECT_TRUE(seen);
        EXPECT_TRUE(closedByRefresh);
        EXPECT_EQ(rig.window->statusText(1), QStringLiteral("Unconnection"));
        EXPECT_TRUE(rig.prompter.calls.empty());
    }
}

}  // namespace
