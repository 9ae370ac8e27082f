// The status refresh and the texts of its read-outs; see statusrefresh.h.
#include "operations/statusrefresh.h"

#include <QApplication>
#include <QDateTime>
#include <QPalette>
#include <QRegularExpression>
#include <cmath>

#include "link/engine.h"
#include "link/loggermodel.h"
#include "operations/controls.h"
#include "operations/statuspanel.h"

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

namespace StatusColours {
QColor buttonFace() {
    return QApplication::palette().color(QPalette::Button);
}
}  // namespace StatusColours

namespace {

using namespace Controls;
namespace N = StatusNames;

QString name(const char* text) {
    return QString::fromLatin1(text);
}

constexpr std::initializer_list<const char*> kOperationControls = {
    "Option1",   "Option2",   "Option3",  "Option4",  "Combo2",    "Combo5",
    "Combo4",    "Command1",  "Command2", "Command4", "Command5",  "Command19",
    "Command26", "Command28", "Command6", "Command7", "Command11", "Command13",
    "m1",        "m2",        "m3",       "m11",      "m12",       "m21",
    "m22",       "m23",       "m31",      "m32",      "m33",       "m34"};
constexpr std::initializer_list<const char*> kDisplayOptions = {"Option5", "Option6", "Option7",
                                                                "Option8", "Option9"};
constexpr std::initializer_list<const char*> kStatusDialogs = {"Form12", "Form2", "Form5", "Form6"};
constexpr std::initializer_list<const char*> kAllScrollBars = {
    "VScroll1", "VScroll2", "VScroll3", "VScroll4", "HScroll1", "HScroll2", "HScroll3", "HScroll4"};
constexpr std::initializer_list<const char*> kShownScrollBars = {
    "VScroll1", "VScroll2", "VScroll3", "VScroll4", "HScroll1", "HScroll2"};
constexpr std::initializer_list<const char*> kZoomButtons = {"Command3",  "Command10", "Command15",
                                                             "Command16", "Command17", "Command18"};
constexpr std::initializer_list<const char*> kRangeLabels = {"Label30", "Label31", "Label34",
                                                             "Label35", "Label36", "Label37"};
constexpr std::initializer_list<const char*> kGraphButtons = {
    "Command12", "Command3", "Command10", "Command16", "Command15", "Command17", "Command18"};
constexpr std::initializer_list<const char*> kBoundReadOuts = {"Label31", "Label32", N::Upper,
                                                               N::Lower};
// The read-outs of the measurement panel: temperature, humidity, date-time.
constexpr std::initializer_list<const char*> kMeasuredReadOuts = {"Label2", "Label4", "Label10"};

}  // namespace

StatusRefresh::StatusRefresh(QObject* window, Engine& engine, LoggerState& state,
                             DataSets& dataSets, const MessageTable& messages)
    : window_(window), engine_(engine), state_(state), dataSets_(dataSets), messages_(messages) {}

void StatusRefresh::disableOperationControls() {
    setEnabled(window_, kOperationControls, false);
}

void StatusRefresh::enableOperationControls() {
    setEnabled(window_, kOperationControls, true);
    setEnabled(window_, kDisplayOptions, true);
}

void StatusRefresh::stopTimers() {
    for (TimerId timer : {TimerId::MouseP, TimerId::Continuation, TimerId::InputTimer,
                          TimerId::TimeOut, TimerId::DownloadTimer}) {
        engine_.timers().stop(timer);
    }
}

void StatusRefresh::setWindow(const char* property, const QVariant& value) {
    if (window_ != nullptr) {
        window_->setProperty(property, value);
    }
}

void StatusRefresh::setConnectButton(bool on) {
    set(window_, name("Command20"), "checked", on);
    set(window_, name("Command20"), "accessibleDescription", message(on ? 274 : 275));
    if (connectImage_) {
        connectImage_(on);
    }
}

void StatusRefresh::setGraphControlsVisible(bool visible) {
    setVisible(window_, kShownScrollBars, visible);
    setVisible(window_, kZoomButtons, visible);
    setVisible(window_, kRangeLabels, visible);
}

void StatusRefresh::run(const StatusView& view) {
    for (const char* dialog : kStatusDialogs) {
        close(window_, name(dialog));
    }
    if (engine_.port().isOpen()) {
        showConnected(view);
    } else {
        showNotConnected();
    }
    showCommonTail(view);
}

void StatusRefresh::showNotConnected() {
    setWindow("windowTitle", message(1009));
    state_.Machine_N_P = kProductName;

    setEnabled(window_, {"Combo1", "Combo3"}, true);
    setEnabled(window_, name("Command27"), false);
    setConnectButton(false);

    disableOperationControls();
    stopTimers();
    setWindow("enabled", true);
    if (pointer_) {
        pointer_(false);
    }

    setEnabled(window_, {"m1", "m2", "m3", "m11", "m12", "m21", "m22", "m23", "m31", "m32"}, true);
    setEnabled(window_, {"m33", "m34"}, false);
    setEnabled(window_, {"Frame8", "Frame11"}, true);
    setEnabled(window_, kDisplayOptions, true);

    for (const char* readOut :
         {N::Interval, N::Points, N::Beginning, N::Mode, N::Upper, N::Lower, N::IntervalSeconds}) {
        setText(window_, name(readOut), QString());
    }
    for (const char* readOut : kMeasuredReadOuts) {
        setText(window_, name(readOut), QString());
    }
    setText(window_, name(N::Operation), StatusText::kNoValue);
    setText(window_, name(N::IdentName), StatusText::kNoValue);
    setEnabled(window_, name("Combo4"), true);
    setText(window_, name("Command2"), message(1010));

    setText(window_, name(N::StatusPanel1), message(1011));
    setText(window_, name(N::Communication), message(1011));
    setBackColour(window_, name(N::Lamp), StatusColours::kLampOff);

    setBackColour(window_, name(N::Battery), StatusColours::buttonFace());
    setText(window_, name(N::Battery), StatusText::kNoValue);
    setBackColour(window_, name(N::StopNote), StatusColours::buttonFace());
    setText(window_, name(N::StopNote), QString());

    state_.VT_Name.clear();
    state_.F_W_Ver.clear();
    close(window_, name("Form3"));
}

void StatusRefresh::showConnected(const StatusView& view) {
    DataSet& log = dataSets_[LogData];
    setWindow("windowTitle", message(1009) + state_.Machine_N_P);

    setEnabled(window_, {"Combo1", "Combo3"}, false);
    setEnabled(window_, name("Command27"), true);
    setConnectButton(true);
    setEnabled(window_, {"m33", "m34"}, false);

    setText(window_, name(N::StatusPanel1), message(1014) + QString::number(view.Portnum));
    setText(window_, name(N::Communication), message(1015));
    setBackColour(window_, name(N::Lamp), StatusColours::kLampOn);

    const QString beginning = StatusText::formatDateTime(state_.Start_Time);
    setText(window_, name(N::Beginning), beginning);
    setText(window_, name(N::Mode), message(state_.Memory_Mode != 0 ? 1017 : 1016));
    setText(window_, name(N::Upper), StatusText::bound(log.upperOn, log.upperBound, messages_));
    setText(window_, name(N::Lower), StatusText::bound(log.lowerOn, log.lowerBound, messages_));

    // A start before 2000 (or none at all) means the logger holds no recording to describe.
    if (beginning.isEmpty() || StatusText::yearOf(state_.Start_Time) < 2000) {
        setText(window_, name(N::Beginning), StatusText::kNoDate);
        state_.Record_Pointer = 0;
        log.interval = 0;
        for (const char* readOut : {N::Mode, N::Upper, N::Lower}) {
            setText(window_, name(readOut), QString());
        }
    }

    setText(window_, name(N::Points),
            StatusText::points(state_.Record_Pointer, state_.loopWrapped(), messages_));
    setText(window_, name(N::IntervalSeconds), QString::number(log.interval));
    setText(window_, name(N::Interval), StatusText::interval(log.interval, messages_));

    const bool good = StatusText::batteryGood(state_);
    setBackColour(window_, name(N::Battery),
                  good ? StatusColours::buttonFace() : StatusColours::kRed);
    setText(window_, name(N::Battery), StatusText::battery(state_, messages_));

    const bool stopped = state_.Stop_Flag == QLatin1String("Stop");
    setBackColour(window_, name(N::StopNote),
                  stopped ? StatusColours::kRed : StatusColours::buttonFace());
    setText(window_, name(N::StopNote), stopped ? message(1021) : QString());

    setText(window_, name(N::IdentName), state_.VT_Name);
    if (state_.Record_State == kStateRecording) {
        showRecording();
    } else if (state_.Record_State == kStateReserved) {
        showReserved();
    } else if (state_.Record_State == kStateContinuous) {
        showContinuous();
    } else {
        showStopped();
    }
}

void StatusRefresh::showRecording() {
    disableOperationControls();
    setEnabled(window_, name("Option6"), false);
    setEnabled(window_, {"Command11", "Command4"}, true);
    setText(window_, name("Command4"), message(1022));
    setText(window_, name(N::Operation), message(1023));
    setEnabled(window_, {"m1", "m2", "m3", "m11", "m12", "m21", "m23"}, true);
    setEnabled(window_, {"Option5", "Option7", "Option8", "Option9"}, true);
}

void StatusRefresh::showReserved() {
    disableOperationControls();
    setEnabled(window_, {"m22", "Option6"}, false);
    setText(window_, name(N::Points), QStringLiteral("0") + message(1024));
    setEnabled(window_, {"Command11", "Command4"}, true);
    setText(window_, name("Command4"), message(1025));
    setText(window_, name(N::Operation), message(1026));
    setBackColour(window_, name(N::StopNote), StatusColours::buttonFace());
    setText(window_, name(N::StopNote), QString());
    setText(window_, name(N::Beginning), StatusText::reservation(state_, messages_));
    setEnabled(window_, {"m1", "m2", "m3", "m11", "m12", "m21", "m23"}, true);
    setEnabled(window_, {"Option5", "Option7", "Option8", "Option9"}, true);
    setText(window_, name(N::Interval),
            StatusText::interval(state_.Current_Interval_Sec, messages_));
}

void StatusRefresh::showContinuous() {
    disableOperationControls();
    setGraphControlsVisible(false);
    setEnabled(window_, {"Command10", "Command12"}, false);
    setText(window_, name("Command2"), message(1032));
    setEnabled(window_, name("Command2"), true);
    setEnabled(window_, {"m1", "m3", "m31"}, true);
    setEnabled(window_, {"Option5", "Option7"}, false);
    setEnabled(window_, {"Option8", "Option9"}, true);
    setEnabled(window_, {"Command22", "Command23"}, false);
}

void StatusRefresh::showStopped() {
    setEnabled(window_, {"m33", "m34"}, true);
    setText(window_, name("Command4"), message(1033));
    setText(window_, name(N::Operation), message(1034));
    setText(window_, name("Command2"), message(1035));
    enableOperationControls();
    setEnabled(window_, name("Combo4"), false);
    setEnabled(window_, name("m22"), true);
    setGraphControlsVisible(true);
    setEnabled(window_, {"m11", "m12", "m2", "Frame8", "Frame11"}, true);
    setEnabled(window_, kDisplayOptions, true);
}

void StatusRefresh::showCommonTail(const StatusView& view) {
    const bool validDisplay = view.Disp_stat <= FileData;
    const bool shownHasData = validDisplay && dataSets_.at(view.Disp_stat)->hasData();
    setEnabled(window_, kAllScrollBars, shownHasData);
    setEnabled(window_, kGraphButtons, shownHasData);

    const bool realTimeSavable =
        state_.Record_State != kStateContinuous && dataSets_[RealTimeData].hasData();
    setEnabled(window_, {"m121", "Command22", "Command23"}, realTimeSavable);
    setEnabled(window_, {"m122", "Command21", "Command24"}, dataSets_[LogData].hasData());
    setEnabled(window_, name("Command25"), dataSets_[FileData].hasData());

    if (validDisplay) {
        const char* panes[3] = {N::LogPane, N::RealTimePane, N::FilePane};
        for (int pane = 0; pane < 3; ++pane) {
            setVisible(window_, name(panes[pane]), pane == view.Disp_stat);
        }
        setText(window_, name(N::DataSetLabel), message(1036 + view.Disp_stat));
        const bool table = view.viewMode == 1;
        for (int pane = 0; pane < 3; ++pane) {
            setVisible(window_, name(N::TablePanes[pane]), table && pane == view.Disp_stat);
        }
        setVisible(window_, name(N::GraphArea), !table);
    }
    setEnabled(window_, name("m13"), shownHasData);

    dataSets_[LogData].model = state_.Machine_N_P;
    setVisible(window_, kBoundReadOuts, state_.Machine_N_P == kModelQM320);
}

bool Command11_Click(Engine& engine) {
    if (engine.busy()) {
        return false;
    }
    engine.begin();
    enqueueStatusRead(engine, QString());
    engine.SendCurrent();
    return true;
}
