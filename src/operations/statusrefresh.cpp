// The status refresh and the texts of its read-outs; see statusrefresh.h.
#include "operations/statusrefresh.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

#include "link/engine.h"
#include "link/loggermodel.h"

namespace StatusText {

namespace {
const QDateTime kEpoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
// Day counts beyond this are not dates any formatting can show.
constexpr double kMaxDays = 2958465.0;  // 9999-12-31

bool toDateTime(double days, QDateTime& result) {
    if (!std::isfinite(days) || days < -657434.0 || days > kMaxDays + 1) {
        return false;
    }
    result = kEpoch.addMSecs(std::llround(days * 86400000.0));
    return result.isValid();
}
}  // namespace

QString formatDateTime(double days) {
    QDateTime dateTime;
    if (!toDateTime(days, dateTime)) {
        return {};
    }
    return dateTime.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

int yearOf(double days) {
    QDateTime dateTime;
    return toDateTime(days, dateTime) ? dateTime.date().year() : 0;
}

QString interval(std::int32_t seconds, const MessageTable& messages) {
    QString text;
    if (seconds / 60 > 0) {
        text += QString::number(seconds / 60) + messages.text(1030);
    }
    if (seconds % 60 > 0) {
        text += QString::number(seconds % 60) + messages.text(1031);
    }
    return text;
}

double leadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

bool batteryGood(const LoggerState& state) {
    return leadingNumber(state.Battery_Volts) >= 2.5 && state.Error_Flag != QLatin1String("Error");
}

QString battery(const LoggerState& state, const MessageTable& messages) {
    const QString volts = state.Battery_Volts + QStringLiteral(" V");
    return batteryGood(state) ? volts : messages.text(1020) + volts;
}

QString reservation(const LoggerState& state, const MessageTable& messages) {
    auto twoDigits = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar('0')); };
    return twoDigits(state.Reserve_Day) + messages.text(1027) + twoDigits(state.Reserve_Hour) +
           messages.text(1028) + twoDigits(state.Reserve_Minute) + messages.text(1029);
}

QString points(double recordPointer, bool loopWrapped, const MessageTable& messages) {
    if (loopWrapped) {
        return QStringLiteral("15000") + messages.text(1024);
    }
    return QString::number(recordPointer / 4, 'g', 15) + messages.text(1024);
}

QString bound(std::uint8_t on, std::int16_t degrees, const MessageTable& messages) {
    return on != 0 ? QString::number(degrees) + messages.text(1018) : kOff;
}

}  // namespace StatusText

namespace {

using I = ControlId;
using Ids = std::initializer_list<ControlId>;

constexpr Ids kOperationControls = {
    I::Option1,   I::Option2,   I::Option3,  I::Option4,  I::Combo2,    I::Combo5,
    I::Combo4,    I::Command1,  I::Command2, I::Command4, I::Command5,  I::Command19,
    I::Command26, I::Command28, I::Command6, I::Command7, I::Command11, I::Command13,
    I::m1,        I::m2,        I::m3,       I::m11,      I::m12,       I::m21,
    I::m22,       I::m23,       I::m31,      I::m32,      I::m33,       I::m34};
constexpr Ids kDisplayOptions = {I::Option5, I::Option6, I::Option7, I::Option8, I::Option9};
constexpr Ids kStatusDialogs = {I::Form12, I::Form2, I::Form5, I::Form6};
constexpr Ids kAllScrollBars = {I::VScroll1, I::VScroll2, I::VScroll3, I::VScroll4,
                                I::HScroll1, I::HScroll2, I::HScroll3, I::HScroll4};
constexpr Ids kShownScrollBars = {I::VScroll1, I::VScroll2, I::VScroll3,
                                  I::VScroll4, I::HScroll1, I::HScroll2};
constexpr Ids kZoomButtons = {I::Command3,  I::Command10, I::Command15,
                              I::Command16, I::Command17, I::Command18};
constexpr Ids kRangeLabels = {I::GraphLabel30, I::GraphLabel31, I::GraphLabel34,
                              I::GraphLabel35, I::GraphLabel36, I::GraphLabel37};
constexpr Ids kGraphButtons = {I::Command12, I::Command3,  I::Command10, I::Command16,
                               I::Command15, I::Command17, I::Command18};
constexpr Ids kBoundReadOuts = {I::Label31, I::Label32, I::UpperText, I::LowerText};
// The read-outs of the measurement panel: temperature, humidity, date-time.
constexpr Ids kMeasuredReadOuts = {I::Label2, I::Label4, I::Label10};
constexpr std::array<ControlId, 3> kDataPanes = {I::Frame13, I::Frame6, I::Frame12};
constexpr std::array<ControlId, 3> kDataSetOptions = {I::Option5, I::Option6, I::Option7};
constexpr int kStartUnreadable = 1150;

}  // namespace

void StatusRefresh::disableOperationControls() {
    c_.controls.setEnabled(kOperationControls, false);
}

void StatusRefresh::enableOperationControls() {
    c_.controls.setEnabled(kOperationControls, true);
    c_.controls.setEnabled(kDisplayOptions, true);
}

void StatusRefresh::stopTimers() {
    for (TimerId timer : {TimerId::MouseP, TimerId::Continuation, TimerId::InputTimer,
                          TimerId::TimeOut, TimerId::DownloadTimer}) {
        c_.session.timers().stop(timer);
    }
}

void StatusRefresh::setConnectButton(bool on) {
    c_.controls.setChecked(I::Command20, on);
    c_.controls.setDescription(I::Command20, message(on ? 274 : 275));
}

void StatusRefresh::setGraphControlsVisible(bool visible) {
    c_.controls.setVisible(kShownScrollBars, visible);
    c_.controls.setVisible(kZoomButtons, visible);
    c_.controls.setVisible(kRangeLabels, visible);
}

void StatusRefresh::run() {
    for (ControlId dialog : kStatusDialogs) {
        c_.controls.close(dialog);
    }
    if (c_.session.port().isOpen()) {
        showConnected();
    } else {
        showNotConnected();
    }
    showCommonTail();
}

void StatusRefresh::showNotConnected() {
    Controls& k = c_.controls;
    LoggerState& state = c_.state();
    k.setText(I::Form1, message(1009));
    state.Machine_N_P = kProductName;

    k.setEnabled({I::Combo1, I::Combo3}, true);
    k.setEnabled(I::Command27, false);
    setConnectButton(false);

    disableOperationControls();
    stopTimers();
    k.setEnabled(I::Form1, true);
    c_.pointer.setBusy(false);

    k.setEnabled({I::m1, I::m2, I::m3, I::m11, I::m12, I::m21, I::m22, I::m23, I::m31, I::m32},
                 true);
    k.setEnabled({I::m33, I::m34}, false);
    k.setEnabled({I::Frame8, I::Frame11}, true);
    k.setEnabled(kDisplayOptions, true);

    for (ControlId readOut : {I::IntervalText, I::PointsText, I::BeginningText, I::ModeText,
                              I::UpperText, I::LowerText, I::IntervalSecondsText}) {
        k.setText(readOut, QString());
    }
    for (ControlId readOut : kMeasuredReadOuts) {
        k.setText(readOut, QString());
    }
    k.setText(I::OperationText, StatusText::kNoValue);
    k.setText(I::IdentNameText, StatusText::kNoValue);
    k.setEnabled(I::Combo4, true);
    k.setText(I::Command2, message(1010));

    k.setText(I::StatusBar1Panel1, message(1011));
    k.setText(I::CommunicationText, message(1011));
    k.setBackColour(I::ConnectionLamp, Shade::Black);

    k.setBackColour(I::BatteryText, Shade::ButtonFace);
    k.setText(I::BatteryText, StatusText::kNoValue);
    k.setBackColour(I::StopNoteText, Shade::ButtonFace);
    k.setText(I::StopNoteText, QString());

    state.VT_Name.clear();
    state.F_W_Ver.clear();
    k.close(I::Form3);
}

void StatusRefresh::showConnected() {
    Controls& k = c_.controls;
    LoggerState& state = c_.state();
    DataSet& log = c_.dataSet(LogData);
    const MessageTable& messages = c_.messages();
    k.setText(I::Form1, message(1009) + state.Machine_N_P);

    k.setEnabled({I::Combo1, I::Combo3}, false);
    k.setEnabled(I::Command27, true);
    setConnectButton(true);
    k.setEnabled({I::m33, I::m34}, false);

    k.setText(I::StatusBar1Panel1, message(1014) + QString::number(c_.session.Portnum));
    k.setText(I::CommunicationText, message(1015));
    k.setBackColour(I::ConnectionLamp, Shade::LampOn);

    const QString beginning = StatusText::formatDateTime(state.Start_Time);
    k.setText(I::BeginningText, beginning);
    k.setText(I::ModeText, message(state.Memory_Mode != 0 ? 1017 : 1016));
    k.setText(I::UpperText, StatusText::bound(log.upperOn, log.upperBound, messages));
    k.setText(I::LowerText, StatusText::bound(log.lowerOn, log.lowerBound, messages));
    k.setText(I::IntervalSecondsText, QString::number(log.interval));
    k.setText(I::IntervalText, StatusText::interval(log.interval, messages));

    // A start before 2000 (or none at all) with nothing recorded means the logger holds no
    // recording to describe. Records under an unreadable start are still there to download:
    // the panel says so and shows what the logger reports.
    if (beginning.isEmpty() || StatusText::yearOf(state.Start_Time) < 2000) {
        const bool recorded = state.Record_Pointer != 0 || state.loopWrapped();
        k.setText(I::BeginningText, recorded ? message(kStartUnreadable) : StatusText::kNoDate);
        if (!recorded) {
            for (ControlId readOut : {I::ModeText, I::UpperText, I::LowerText, I::IntervalText}) {
                k.setText(readOut, QString());
            }
            k.setText(I::IntervalSecondsText, QStringLiteral("0"));
        }
    }
    k.setText(I::PointsText,
              StatusText::points(state.Record_Pointer, state.loopWrapped(), messages));

    const bool good = StatusText::batteryGood(state);
    k.setBackColour(I::BatteryText, good ? Shade::ButtonFace : Shade::Red);
    k.setText(I::BatteryText, StatusText::battery(state, messages));

    const bool stopped = state.Stop_Flag == QLatin1String("Stop");
    k.setBackColour(I::StopNoteText, stopped ? Shade::Red : Shade::ButtonFace);
    k.setText(I::StopNoteText, stopped ? message(1021) : QString());

    k.setText(I::IdentNameText, state.VT_Name);
    if (state.Record_State == kStateRecording) {
        showRecording();
    } else if (state.Record_State == kStateReserved) {
        showReserved();
    } else if (state.Record_State == kStateContinuous) {
        showContinuous();
    } else {
        showStopped();
    }
}

void StatusRefresh::showRecording() {
    Controls& k = c_.controls;
    disableOperationControls();
    k.setEnabled(I::Option6, false);
    k.setEnabled({I::Command11, I::Command4}, true);
    k.setText(I::Command4, message(1022));
    k.setText(I::OperationText, message(1023));
    k.setEnabled({I::m1, I::m2, I::m3, I::m11, I::m12, I::m21, I::m23}, true);
    k.setEnabled({I::Option5, I::Option7, I::Option8, I::Option9}, true);
}

void StatusRefresh::showReserved() {
    Controls& k = c_.controls;
    disableOperationControls();
    k.setEnabled({I::m22, I::Option6}, false);
    k.setText(I::PointsText, QStringLiteral("0") + message(1024));
    k.setEnabled({I::Command11, I::Command4}, true);
    k.setText(I::Command4, message(1025));
    k.setText(I::OperationText, message(1026));
    k.setBackColour(I::StopNoteText, Shade::ButtonFace);
    k.setText(I::StopNoteText, QString());
    k.setText(I::BeginningText, StatusText::reservation(c_.state(), c_.messages()));
    k.setEnabled({I::m1, I::m2, I::m3, I::m11, I::m12, I::m21, I::m23}, true);
    k.setEnabled({I::Option5, I::Option7, I::Option8, I::Option9}, true);
    k.setText(I::IntervalText,
              StatusText::interval(c_.state().Current_Interval_Sec, c_.messages()));
}

void StatusRefresh::showContinuous() {
    Controls& k = c_.controls;
    disableOperationControls();
    setGraphControlsVisible(false);
    k.setEnabled({I::Command10, I::Command12}, false);
    k.setText(I::Command2, message(1032));
    k.setEnabled(I::Command2, true);
    k.setEnabled({I::m1, I::m3, I::m31}, true);
    k.setEnabled({I::Option5, I::Option7}, false);
    k.setEnabled({I::Option8, I::Option9}, true);
    k.setEnabled({I::Command22, I::Command23}, false);
}

void StatusRefresh::showStopped() {
    Controls& k = c_.controls;
    k.setEnabled({I::m33, I::m34}, true);
    k.setText(I::Command4, message(1033));
    k.setText(I::OperationText, message(1034));
    k.setText(I::Command2, message(1035));
    enableOperationControls();
    k.setEnabled(I::Combo4, false);
    k.setEnabled(I::m22, true);
    setGraphControlsVisible(true);
    k.setEnabled({I::m11, I::m12, I::m2, I::Frame8, I::Frame11}, true);
    k.setEnabled(kDisplayOptions, true);
}

void StatusRefresh::showCommonTail() {
    Controls& k = c_.controls;
    LoggerState& state = c_.state();
    const DataSetIndex shown = c_.display.shown();
    const bool shownHasData = c_.dataSet(shown).hasData();
    k.setEnabled(kAllScrollBars, shownHasData);
    k.setEnabled(kGraphButtons, shownHasData);

    const bool realTimeSavable =
        state.Record_State != kStateContinuous && c_.dataSet(RealTimeData).hasData();
    k.setEnabled({I::m121, I::Command22, I::Command23}, realTimeSavable);
    k.setEnabled({I::m122, I::Command21, I::Command24}, c_.dataSet(LogData).hasData());
    k.setEnabled(I::Command25, c_.dataSet(FileData).hasData());

    const bool table = c_.display.viewKind() == DataDisplay::Table;
    for (int pane = 0; pane < 3; ++pane) {
        k.setVisible(kDataPanes[pane], pane == shown);
        k.setVisible(tablePaneOf(pane), table && pane == shown);
        k.setChecked(kDataSetOptions[pane], pane == shown);
    }
    k.setChecked(I::Option8, !table);
    k.setChecked(I::Option9, table);
    k.setText(I::DataSetLabel, message(1036 + shown));
    k.setVisible(I::GraphArea, !table);
    k.setEnabled(I::m13, shownHasData);

    // The logger connected now is the one the log and real-time samples come from (connecting
    // empties both); after a disconnect they keep the header of their logger.
    if (c_.session.port().isOpen()) {
        for (DataSetIndex index : {LogData, RealTimeData}) {
            c_.dataSet(index).model = state.Machine_N_P;
            c_.dataSet(index).identName = state.VT_Name;
        }
    }
    k.setVisible(kBoundReadOuts, state.Machine_N_P == kModelQM320);
}
bool Command11_Click(Session& session) {
    if (session.busy()) {
        return false;
    }
    Engine& engine = session.engine();
    engine.begin();
    enqueueStatusRead(engine, ProcedureKind::None);
    engine.SendCurrent();
    return true;
}
