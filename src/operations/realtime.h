// Real-time measurement: one measurement or a continuous run into the real-time data set,
// the lists of the repeat unit options (seconds, minutes) and the
// continuation tick that queues each due measurement. Dueness comes from a steady clock on a
// schedule fixed at the start, so late timer ticks never add up to drift.
#pragma once

#include <QString>
#include <optional>

#include "operations/archivekeeper.h"
#include "operations/clock.h"
#include "operations/context.h"
#include "operations/csvfiles.h"
#include "operations/statusrefresh.h"

// How often a continuous run measures, as chosen: a count of seconds or of minutes.
struct MeasurementRepeat {
    enum class Unit { Seconds, Minutes };
    Unit unit = Unit::Seconds;
    int count = 0;
};

class RealTimeMeasurement {
  public:
    static constexpr int kTickMs = 1000;

    // Registers the continuation tick. A continuous run that stops goes to the keeper.
    RealTimeMeasurement(Context& context, CsvFiles& files, StatusRefresh& refresh,
                        ArchiveKeeper& keeper);
    ~RealTimeMeasurement();
    RealTimeMeasurement(const RealTimeMeasurement&) = delete;
    RealTimeMeasurement& operator=(const RealTimeMeasurement&) = delete;

    // The system clock unless another is set; it must outlive this object.
    void setClock(Clock& clock) { clock_ = &clock; }

    // The one-time button: one measurement into the real-time data set emptied for it.
    void measureOnce();
    // The continuous button: starts a continuous run repeating as `repeat` says, or stops the
    // one running.
    void startOrStopContinuous(const MeasurementRepeat& repeat);
    // The seconds option (counts 2 to 60) and the minutes option (1 to 240): the count list
    // offers the unit's counts.
    void chooseSeconds() { chooseUnit(MeasurementRepeat::Unit::Seconds); }
    void chooseMinutes() { chooseUnit(MeasurementRepeat::Unit::Minutes); }
    // The continuation tick: queues a due measurement when no procedure runs, stops a run
    // whose data set is full, and otherwise redraws graphs that have grown.
    void continuationTick();
    // At the end of every procedure, after the status refresh: finishes a stop asked for while
    // a measurement ran, and ends a run that lost its port.
    void procedureEnded();

    // The logger model says a continuous measurement runs.
    bool running() const;
    // The repeat interval in seconds; none for a count outside the unit's list.
    static std::optional<int> repeatSeconds(const MeasurementRepeat& repeat);

  private:
    void chooseUnit(MeasurementRepeat::Unit unit);
    void start(const MeasurementRepeat& repeat);
    void stop();
    // The rest of a stop, once no procedure runs: the graphs fitted, the save question, the
    // status refresh.
    void finish(bool full);
    void emptyDataSet();
    // Dates the sample buffer now and queues the measurement batch, after SetFastSampling
    // when `sampling` is given.
    void queueMeasurement(ProcedureKind keyword, std::optional<bool> sampling);

    Context& c_;
    CsvFiles& files_;
    StatusRefresh& refresh_;
    ArchiveKeeper& keeper_;
    SystemClock systemClock_;
    Clock* clock_ = &systemClock_;
    // The display is in continuous mode for a run not finished yet.
    bool active_ = false;
    // Stop was pressed while a measurement ran; the procedure's end finishes it.
    bool stopPending_ = false;
    qint64 intervalMs_ = 0;
    qint64 nextDueMs_ = 0;
};
