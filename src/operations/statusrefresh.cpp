// The status refresh; see statusrefresh.h.
#include "operations/statusrefresh.h"

#include "link/engine.h"
#include "link/loggermodel.h"

void StatusRefresh::disableOperationControls() {
    for (ControlId id : kOperationControls) {
        c_.controls.setEnabled(id, false);
    }
}

void StatusRefresh::stopTimers() {
    for (TimerId timer : {TimerId::MouseP, TimerId::Continuation, TimerId::InputTimer,
                          TimerId::TimeOut, TimerId::DownloadTimer}) {
        c_.session.timers().stop(timer);
    }
}

StatusView StatusRefresh::view() const {
    const StatusInputs inputs{
        .state = c_.state(),
        .log = c_.dataSet(LogData),
        .hasData = {c_.dataSet(LogData).hasData(), c_.dataSet(RealTimeData).hasData(),
                    c_.dataSet(FileData).hasData()},
        .portOpen = c_.session.port().isOpen(),
        .portNumber = c_.session.Portnum,
        .shown = c_.display.shown(),
        .tableView = c_.display.viewKind() == DataDisplay::Table,
    };
    return buildStatusView(inputs, c_.messages());
}

void StatusRefresh::run() {
    const StatusView shown = view();
    renderStatusView(shown, c_.controls);
    LoggerState& state = c_.state();
    if (shown.connected) {
        // The logger connected now is the one the log and real-time samples come from
        // (connecting empties both); after a disconnect they keep the header of their logger.
        for (DataSetIndex index : {LogData, RealTimeData}) {
            c_.dataSet(index).model = state.Machine_N_P;
            c_.dataSet(index).identName = state.VT_Name;
        }
        return;
    }
    stopTimers();
    c_.pointer.setBusy(false);
    state.Machine_N_P = shown.model;
    state.VT_Name.clear();
    state.F_W_Ver.clear();
}

bool readStatus(Session& session) {
    if (session.busy()) {
        return false;
    }
    Engine& engine = session.engine();
    engine.begin();
    enqueueStatusRead(engine, ProcedureKind::None);
    engine.SendCurrent();
    return true;
}
