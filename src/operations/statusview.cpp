// The status panel's value, its read-out texts and its rendering; see statusview.h.
#include "operations/statusview.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <initializer_list>

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
        text += QString::number(seconds / 60) + messages.text(Msg::IntervalMinutesUnit);
    }
    if (seconds % 60 > 0) {
        text += QString::number(seconds % 60) + messages.text(Msg::IntervalSecondsUnit);
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

QString battery(const QString& volts, bool good, const MessageTable& messages) {
    const QString text = volts + QStringLiteral(" V");
    return good ? text : messages.text(Msg::BatteryNg) + text;
}

QString reservation(int day, int hour, int minute, const MessageTable& messages) {
    auto twoDigits = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar('0')); };
    return twoDigits(day) + messages.text(Msg::ReservedDaySeparator) + twoDigits(hour) +
           messages.text(Msg::ReservedHourSeparator) + twoDigits(minute) +
           messages.text(Msg::ReservedStartSuffix);
}

QString points(double points, const MessageTable& messages) {
    return QString::number(points, 'g', 15) + messages.text(Msg::RecordPointsUnit);
}

QString bound(bool on, int degrees, const MessageTable& messages) {
    return on ? QString::number(degrees) + messages.text(Msg::StatusBoundUnit) : kOff;
}

}  // namespace StatusText

namespace {

using I = ControlId;
using Ids = std::initializer_list<ControlId>;

constexpr Ids kStatusDialogs = {I::RecordingDialog, I::NameDialog, I::PortDialog, I::ClockDialog};
constexpr Ids kAllScrollBars = {I::TemperatureSpanBar,   I::TemperatureCentreBar,
                                I::HumiditySpanBar,      I::HumidityCentreBar,
                                I::TimeWidthBar,         I::TimePositionBar,
                                I::HumidityTimeWidthBar, I::HumidityTimePositionBar};
constexpr Ids kShownScrollBars = {I::TemperatureSpanBar, I::TemperatureCentreBar,
                                  I::HumiditySpanBar,    I::HumidityCentreBar,
                                  I::TimeWidthBar,       I::TimePositionBar};
constexpr Ids kZoomButtons = {I::TemperatureNarrowerButton, I::TemperatureWiderButton,
                              I::HumidityWiderButton,       I::HumidityNarrowerButton,
                              I::TimeNarrowerButton,        I::TimeWiderButton};
constexpr Ids kRangeLabels = {I::TemperatureTopLabel, I::TemperatureBottomLabel,
                              I::HumidityTopLabel,    I::HumidityBottomLabel,
                              I::LeftTimeLabel,       I::RightTimeLabel};
constexpr Ids kGraphButtons = {I::FitButton,
                               I::TemperatureNarrowerButton,
                               I::TemperatureWiderButton,
                               I::HumidityNarrowerButton,
                               I::HumidityWiderButton,
                               I::TimeNarrowerButton,
                               I::TimeWiderButton};
constexpr Ids kBoundReadOuts = {I::UpperBoundCaption, I::LowerBoundCaption, I::UpperBoundText,
                                I::LowerBoundText};
// The read-outs of the measurement panel: temperature, humidity, date-time.
constexpr Ids kMeasuredReadOuts = {I::MeasuredTemperatureReadout, I::MeasuredHumidityReadout,
                                   I::MeasuredTimeReadout};
constexpr std::array<ControlId, 3> kDataPanes = {I::LogPane, I::RealTimePane, I::FilePane};
constexpr std::array<ControlId, 3> kDataSetOptions = {I::LogDataOption, I::RealTimeDataOption,
                                                      I::FileDataOption};
constexpr std::array<Msg, 3> kDataSetNames = {Msg::LogDataName, Msg::RealTimeDataName,
                                              Msg::FileDataName};

// The value label of each read-out.
constexpr std::pair<StatusReadOut, ControlId> kReadOutLabels[] = {
    {StatusReadOut::IdentName, I::IdentNameText}, {StatusReadOut::Operation, I::OperationText},
    {StatusReadOut::Battery, I::BatteryText},     {StatusReadOut::StopNote, I::StopNoteText},
    {StatusReadOut::Beginning, I::BeginningText}, {StatusReadOut::Points, I::PointsText},
    {StatusReadOut::Interval, I::IntervalText},   {StatusReadOut::Mode, I::ModeText},
    {StatusReadOut::Upper, I::UpperBoundText},    {StatusReadOut::Lower, I::LowerBoundText},
};

// Collects the changes step by step as the panel's rules give them; a later step overrides an
// earlier one on the same property.
class Changes {
  public:
    Changes(StatusView& view, const MessageTable& messages) : view_(view), messages_(messages) {}

    template <typename List>
    void enable(const List& ids, bool on) {
        for (ControlId id : ids) {
            view_.change(id).enabled = on;
        }
    }
    void enable(Ids ids, bool on) { enable<Ids>(ids, on); }
    void enable(ControlId id, bool on) { view_.change(id).enabled = on; }
    void show(Ids ids, bool on) {
        for (ControlId id : ids) {
            view_.change(id).visible = on;
        }
    }
    void show(ControlId id, bool on) { view_.change(id).visible = on; }
    void check(ControlId id, bool on) { view_.change(id).checked = on; }
    void text(ControlId id, const QString& text) { view_.change(id).text = text; }
    void caption(ControlId id, Msg message) { text(id, messages_.text(message)); }
    void describe(ControlId id, Msg message) {
        view_.change(id).description = messages_.text(message);
    }
    void colour(ControlId id, Shade shade) { view_.change(id).backColour = shade; }

    void disableOperationControls() { enable(kOperationControls, false); }
    void enableOperationControls() {
        enable(kOperationControls, true);
        enable(kDisplayOptions, true);
    }
    void showGraphControls(bool on) {
        show(kShownScrollBars, on);
        show(kZoomButtons, on);
        show(kRangeLabels, on);
    }
    void connectButton(bool on) {
        check(I::ConnectButton, on);
        describe(I::ConnectButton, on ? Msg::Online : Msg::Offline);
    }

  private:
    StatusView& view_;
    const MessageTable& messages_;
};

// The typed read-outs of a connected logger.
void describeLogger(StatusView& view, const StatusInputs& in) {
    const LoggerState& state = in.state;
    view.port = in.portNumber;
    view.model = state.Machine_N_P;
    view.identName = state.VT_Name;
    view.batteryVolts = state.Battery_Volts;
    view.batteryGood = StatusText::batteryGood(state);
    const bool reserved = state.recordState == RecordState::Reserved;
    view.voltageStop = !reserved && state.Stop_Flag == QLatin1String("Stop");

    // A start before 2000 (or none at all) with nothing recorded means the logger holds no
    // recording to describe. Records under an unreadable start are still there to download:
    // the panel says so and shows what the logger reports.
    const bool readable = !StatusText::formatDateTime(state.Start_Time).isEmpty() &&
                          StatusText::yearOf(state.Start_Time) >= 2000;
    const bool recorded = state.Record_Pointer != 0 || state.loopWrapped();
    const bool described = readable || recorded;
    if (reserved) {
        view.start = StartKind::Reservation;
        view.reservedStart = {state.Reserve_Day, state.Reserve_Hour, state.Reserve_Minute};
    } else if (readable) {
        view.start = StartKind::Time;
        view.startTime = state.Start_Time;
    } else {
        view.start = recorded ? StartKind::Unreadable : StartKind::None;
    }
    if (described) {
        view.loop = state.Memory_Mode != 0;
        view.upper = AlarmBound{in.log.upperOn != 0, in.log.upperBound};
        view.lower = AlarmBound{in.log.lowerOn != 0, in.log.lowerBound};
        view.intervalSeconds = in.log.interval;
    }
    if (reserved) {
        view.intervalSeconds = state.Current_Interval_Sec;
        view.points = 0;
    } else {
        view.points = state.loopWrapped() ? 15000.0 : state.Record_Pointer / 4;
    }
}

void notConnectedChanges(Changes& k) {
    k.caption(I::MainWindow, Msg::WindowTitle);
    k.enable({I::BaudRateList, I::ModelList}, true);
    k.enable(I::InitialiseButton, false);
    k.connectButton(false);

    k.disableOperationControls();
    k.enable(I::MainWindow, true);

    k.enable({I::FileMenu, I::DisplayMenu, I::ToolMenu, I::OpenItem, I::SaveMenu, I::LogDisplayMenu,
              I::RealTimeDisplayMenu, I::FileDisplayMenu, I::CommunicationStartItem,
              I::CommunicationSettingItem},
             true);
    k.enable({I::ClockItem, I::IdentNameItem}, false);
    k.enable({I::DisplayFrame, I::IdentNameFrame}, true);
    k.enable(kDisplayOptions, true);

    for (ControlId readOut : kMeasuredReadOuts) {
        k.text(readOut, QString());
    }
    k.text(I::IntervalSecondsText, QString());
    k.enable(I::NumberList, true);
    k.caption(I::ContinuousButton, Msg::ContinuousButtonOffline);

    k.caption(I::ConnectionStatusPanel, Msg::Unconnected);
    k.caption(I::CommunicationText, Msg::Unconnected);
    k.colour(I::ConnectionLamp, Shade::Black);
}

void connectedChanges(Changes& k, const StatusView& view, const StatusInputs& in,
                      const MessageTable& messages) {
    k.text(I::MainWindow, messages.text(Msg::WindowTitle) + view.model);
    k.enable({I::BaudRateList, I::ModelList}, false);
    k.enable(I::InitialiseButton, true);
    k.connectButton(true);
    k.enable({I::ClockItem, I::IdentNameItem}, false);

    k.text(I::ConnectionStatusPanel,
           messages.text(Msg::CommunicatingPort) + QString::number(view.port));
    k.caption(I::CommunicationText, Msg::Communicating);
    k.colour(I::ConnectionLamp, Shade::LampOn);
    // The secondary read-out of the logger-recording frame: the log header's interval as a
    // plain number, 0 when there is nothing to describe (the memory mode is then unknown).
    const bool described = view.loop.has_value();
    k.text(I::IntervalSecondsText, QString::number(described ? in.log.interval : 0));

    // While the logger records or waits, the menus and views that leave it alone stay usable.
    const auto enableBesideTheLogger = [&k] {
        k.enable({I::FileMenu, I::DisplayMenu, I::ToolMenu, I::OpenItem, I::SaveMenu,
                  I::LogDisplayMenu, I::FileDisplayMenu},
                 true);
        k.enable({I::LogDataOption, I::FileDataOption, I::GraphViewOption, I::DumpViewOption},
                 true);
    };
    switch (view.recordState) {
        case RecordState::Recording:
            k.disableOperationControls();
            k.enable(I::RealTimeDataOption, false);
            k.enable({I::UpdateButton, I::StartStopButton}, true);
            k.caption(I::StartStopButton, Msg::StopRecordingButton);
            enableBesideTheLogger();
            break;
        case RecordState::Reserved:
            k.disableOperationControls();
            k.enable({I::RealTimeDisplayMenu, I::RealTimeDataOption}, false);
            k.enable({I::UpdateButton, I::StartStopButton}, true);
            k.caption(I::StartStopButton, Msg::CancelReservationButton);
            enableBesideTheLogger();
            break;
        case RecordState::Continuous:
            k.disableOperationControls();
            k.showGraphControls(false);
            k.enable({I::TemperatureWiderButton, I::FitButton}, false);
            k.caption(I::ContinuousButton, Msg::StopContinuousButton);
            k.enable(I::ContinuousButton, true);
            k.enable({I::FileMenu, I::ToolMenu, I::CommunicationStartItem}, true);
            k.enable({I::LogDataOption, I::FileDataOption}, false);
            k.enable({I::GraphViewOption, I::DumpViewOption}, true);
            k.enable({I::SaveRealTimeButton, I::PrintRealTimeButton}, false);
            break;
        case RecordState::Stopped:
            k.enable({I::ClockItem, I::IdentNameItem}, true);
            k.caption(I::StartStopButton, Msg::StartRecordingButton);
            k.caption(I::ContinuousButton, Msg::ContinuousButton);
            k.enableOperationControls();
            k.enable(I::NumberList, false);
            k.enable(I::RealTimeDisplayMenu, true);
            k.showGraphControls(true);
            k.enable({I::OpenItem, I::SaveMenu, I::DisplayMenu, I::DisplayFrame, I::IdentNameFrame},
                     true);
            k.enable(kDisplayOptions, true);
            break;
    }
}

// Both states: the controls that follow the data sets and the display.
void commonChanges(Changes& k, const StatusView& view, const StatusInputs& in) {
    const bool shownHasData = in.hasData[in.shown];
    k.enable(kAllScrollBars, shownHasData);
    k.enable(kGraphButtons, shownHasData);

    const bool realTimeSavable =
        view.recordState != RecordState::Continuous && in.hasData[RealTimeData];
    k.enable({I::SaveRealTimeItem, I::SaveRealTimeButton, I::PrintRealTimeButton}, realTimeSavable);
    k.enable({I::SaveLogItem, I::SaveLogButton, I::PrintLogButton}, in.hasData[LogData]);
    k.enable(I::PrintFileButton, in.hasData[FileData]);
    k.enable({I::SaveFileItem, I::AddFileToArchiveItem}, in.hasData[FileData]);

    for (int pane = 0; pane < 3; ++pane) {
        k.show(kDataPanes[pane], pane == in.shown);
        k.show(tablePaneOf(pane), in.tableView && pane == in.shown);
        k.check(kDataSetOptions[pane], pane == in.shown);
    }
    k.check(I::GraphViewOption, !in.tableView);
    k.check(I::DumpViewOption, in.tableView);
    k.caption(I::DataSetLabel, kDataSetNames[in.shown]);
    k.show(I::GraphArea, !in.tableView);
    k.enable(I::PrintItem, shownHasData);
    k.show(kBoundReadOuts, view.boundsShown);
}

QString connectedReadOut(const StatusView& view, StatusReadOut readOut,
                         const MessageTable& messages) {
    switch (readOut) {
        case StatusReadOut::IdentName:
            return view.identName;
        case StatusReadOut::Battery:
            return StatusText::battery(view.batteryVolts, view.batteryGood, messages);
        case StatusReadOut::StopNote:
            return view.voltageStop ? messages.text(Msg::EndedByLowVoltage) : QString();
        case StatusReadOut::Beginning:
            switch (view.start) {
                case StartKind::Time:
                    return StatusText::formatDateTime(view.startTime);
                case StartKind::Reservation:
                    return StatusText::reservation(view.reservedStart.day, view.reservedStart.hour,
                                                   view.reservedStart.minute, messages);
                case StartKind::Unreadable:
                    return messages.text(Msg::StartDateUnreadable);
                case StartKind::None:
                    break;
            }
            return StatusText::kNoDate;
        case StatusReadOut::Points:
            return view.points ? StatusText::points(*view.points, messages) : QString();
        case StatusReadOut::Interval:
            return view.intervalSeconds ? StatusText::interval(*view.intervalSeconds, messages)
                                        : QString();
        case StatusReadOut::Mode:
            return view.loop ? messages.text(*view.loop ? Msg::LoopMode : Msg::OneTimeMode)
                             : QString();
        case StatusReadOut::Upper:
        case StatusReadOut::Lower: {
            const std::optional<AlarmBound>& bound =
                readOut == StatusReadOut::Upper ? view.upper : view.lower;
            return bound ? StatusText::bound(bound->on, bound->degrees, messages) : QString();
        }
        case StatusReadOut::Operation:
            break;
    }
    return {};
}

}  // namespace

std::optional<QString> statusReadOut(const StatusView& view, StatusReadOut readOut,
                                     const MessageTable& messages) {
    if (readOut == StatusReadOut::Operation) {
        if (!view.connected) {
            return StatusText::kNoValue;
        }
        switch (view.recordState) {
            case RecordState::Recording:
                return messages.text(Msg::RecordingState);
            case RecordState::Reserved:
                return messages.text(Msg::ReservingState);
            case RecordState::Stopped:
                return messages.text(Msg::StoppedState);
            case RecordState::Continuous:
                break;
        }
        return std::nullopt;
    }
    if (view.connected) {
        return connectedReadOut(view, readOut, messages);
    }
    switch (readOut) {
        case StatusReadOut::IdentName:
        case StatusReadOut::Battery:
            return StatusText::kNoValue;
        default:
            return QString();
    }
}

StatusView buildStatusView(const StatusInputs& in, const MessageTable& messages) {
    StatusView view;
    view.connected = in.portOpen;
    view.recordState = in.state.recordState;
    view.neverDownloaded = in.log.neverDownloaded;
    view.closed.assign(kStatusDialogs);
    if (view.connected) {
        describeLogger(view, in);
    } else {
        view.model = kProductName;
        // The download-progress dialog of a download the lost port ended.
        view.closed.push_back(I::ProgressDialog);
    }
    view.boundsShown = view.model == kModelQM320;

    Changes k(view, messages);
    if (view.connected) {
        connectedChanges(k, view, in, messages);
    } else {
        notConnectedChanges(k);
    }
    for (const auto& [readOut, label] : kReadOutLabels) {
        if (const std::optional<QString> text = statusReadOut(view, readOut, messages)) {
            k.text(label, *text);
        }
    }
    const bool batteryRed = view.connected && !view.batteryGood;
    k.colour(I::BatteryText, batteryRed ? Shade::Red : Shade::ButtonFace);
    k.colour(I::StopNoteText, view.voltageStop ? Shade::Red : Shade::ButtonFace);
    commonChanges(k, view, in);
    return view;
}

void renderStatusView(const StatusView& view, Controls& controls) {
    for (ControlId dialog : view.closed) {
        controls.close(dialog);
    }
    for (int index = 0; index < kControlCount; ++index) {
        const auto id = static_cast<ControlId>(index);
        const ControlChange& change = view.change(id);
        if (change.text) {
            controls.setText(id, *change.text);
        }
        if (change.description) {
            controls.setDescription(id, *change.description);
        }
        if (change.enabled) {
            controls.setEnabled(id, *change.enabled);
        }
        if (change.visible) {
            controls.setVisible(id, *change.visible);
        }
        if (change.checked) {
            controls.setChecked(id, *change.checked);
        }
        if (change.backColour) {
            controls.setBackColour(id, *change.backColour);
        }
    }
}
