// The one-time and continuous real-time measurement; see realtime.h.
#include "operations/realtime.h"

#include <QStringList>

#include "link/commands.h"
#include "link/loggermodel.h"

namespace {

struct CountRange {
    int first;
    int last;
};
constexpr CountRange kSecondCounts{2, 60};
constexpr CountRange kMinuteCounts{1, 240};
// The shortest repeat needs the logger's fast sampling.
constexpr int kFastSamplingSeconds = 2;

CountRange countsOf(MeasurementRepeat::Unit unit) {
    return unit == MeasurementRepeat::Unit::Minutes ? kMinuteCounts : kSecondCounts;
}

}  // namespace

RealTimeMeasurement::RealTimeMeasurement(Context& context, CsvFiles& files, StatusRefresh& refresh,
                                         ArchiveKeeper& keeper)
    : c_(context), files_(files), refresh_(refresh), keeper_(keeper) {
    c_.session.timers().setTick(TimerId::Continuation, [this] { continuationTick(); });
}

RealTimeMeasurement::~RealTimeMeasurement() {
    c_.session.timers().setTick(TimerId::Continuation, {});
}

bool RealTimeMeasurement::running() const {
    return c_.state().recordState == RecordState::Continuous;
}

std::optional<int> RealTimeMeasurement::repeatSeconds(const MeasurementRepeat& repeat) {
    // A count outside the list (none chosen, or text that is not one) would make every tick
    // due; it starts nothing.
    const CountRange range = countsOf(repeat.unit);
    if (repeat.count < range.first || repeat.count > range.last) {
        return std::nullopt;
    }
    return repeat.unit == MeasurementRepeat::Unit::Minutes ? repeat.count * 60 : repeat.count;
}

void RealTimeMeasurement::chooseUnit(MeasurementRepeat::Unit unit) {
    const bool minutes = unit == MeasurementRepeat::Unit::Minutes;
    c_.controls.setText(ControlId::RepeatUnitLabel,
                        c_.messages().text(minutes ? Msg::MinutesOption : Msg::SecondsOption));
    const CountRange range = countsOf(unit);
    QStringList counts;
    for (int count = range.first; count <= range.last; ++count) {
        counts.append(QString::number(count));
    }
    c_.controls.setItems(ControlId::RepeatCountList, counts, QString::number(range.first));
}

void RealTimeMeasurement::measureOnce() {
    if (c_.session.busy()) {
        return;
    }
    emptyDataSet();
    queueMeasurement(ProcedureKind::SingleMeasurement, false);
}

void RealTimeMeasurement::startOrStopContinuous(const MeasurementRepeat& repeat) {
    if (running()) {
        stop();
    } else {
        start(repeat);
    }
}

void RealTimeMeasurement::start(const MeasurementRepeat& repeat) {
    const std::optional<int> seconds = repeatSeconds(repeat);
    if (!seconds || c_.session.busy()) {
        return;
    }
    emptyDataSet();
    for (ControlId readOut : {ControlId::MeasuredTemperatureReadout,
                              ControlId::MeasuredHumidityReadout, ControlId::MeasuredTimeReadout}) {
        c_.controls.setText(readOut, QString());
    }
    c_.session.timers().arm(TimerId::Continuation, kTickMs);
    c_.state().recordState = RecordState::Continuous;
    c_.dataSet(RealTimeData).interval = *seconds;
    intervalMs_ = *seconds * qint64{1000};
    nextDueMs_ = clock_->steadyMs() + intervalMs_;
    active_ = true;
    c_.display.setContinuous(true);
    queueMeasurement(ProcedureKind::ContinuousMeasurement, *seconds == kFastSamplingSeconds);
    refresh_.run();
}

void RealTimeMeasurement::stop() {
    c_.session.timers().stop(TimerId::Continuation);
    c_.state().recordState = RecordState::Stopped;
    // The save question waits until the measurement under way has ended.
    if (c_.engine().busy()) {
        stopPending_ = true;
        return;
    }
    finish(false);
}

void RealTimeMeasurement::finish(bool full) {
    active_ = false;
    stopPending_ = false;
    c_.display.setContinuous(false);
    if (full) {
        c_.message(c_.messages().text(Msg::RealTimeDataFull));
    }
    keeper_.realTimeRunStopped();
    files_.offerSave(RealTimeData, c_.messages().text(Msg::AskSaveMeasurement));
    refresh_.run();
}

void RealTimeMeasurement::continuationTick() {
    if (!running()) {
        return;
    }
    const bool idle = !c_.session.busy();
    if (c_.dataSet(RealTimeData).count >= DataSet::kMaxCount) {
        if (idle) {
            c_.session.timers().stop(TimerId::Continuation);
            c_.state().recordState = RecordState::Stopped;
            finish(true);
        }
        return;
    }
    const qint64 now = clock_->steadyMs();
    if (idle && now >= nextDueMs_) {
        // The next one keeps to the schedule, past every point this one was late for.
        nextDueMs_ += ((now - nextDueMs_) / intervalMs_ + 1) * intervalMs_;
        queueMeasurement(ProcedureKind::ContinuousMeasurement, std::nullopt);
        return;
    }
    c_.display.redrawIfGrown();
}

void RealTimeMeasurement::procedureEnded() {
    if (!active_) {
        return;
    }
    if (stopPending_) {
        finish(false);
        return;
    }
    if (running() && c_.session.port().isOpen()) {
        return;
    }
    // The port was closed under the run (a failure, a disconnect, a removed device): the run
    // ends without the question and its samples stay unsaved. A failure has said why in its
    // own box; a lost logger says so here.
    c_.session.timers().stop(TimerId::Continuation);
    c_.state().recordState = RecordState::Stopped;
    active_ = false;
    c_.display.setContinuous(false);
    if (c_.session.portLostAtEnd()) {
        c_.message(c_.messages().text(Msg::ContinuousMeasurementLost));
    }
    keeper_.realTimeRunStopped();
}

void RealTimeMeasurement::emptyDataSet() {
    DataSet& set = c_.dataSet(RealTimeData);
    set.count = 0;
    set.drawnCount = 0;
    set.stats.reset();
    c_.display.clear(RealTimeData);
}

void RealTimeMeasurement::queueMeasurement(ProcedureKind keyword, std::optional<bool> sampling) {
    Sample& sample = c_.session.sampleBuffer();
    sample = Sample();
    sample.dateTime = clock_->now();
    Engine& engine = c_.engine();
    engine.begin();
    if (sampling) {
        const std::uint8_t on = *sampling ? 1 : 0;
        engine.Enqueue(Command::SetFastSampling, on, on, keyword);
    }
    enqueueMeasurement(engine, keyword);
    engine.SendCurrent();
}
