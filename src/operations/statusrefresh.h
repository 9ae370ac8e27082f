// The status refresh: rebuilds the status panel's read-outs and the enabling of every control of
// the main window from the logger model, the data sets, the port state and the display
// selection. It skips a control that is missing.
#pragma once

#include "link/loggerstate.h"
#include "operations/context.h"
#include "operations/statusview.h"

class StatusRefresh {
  public:
    explicit StatusRefresh(Context& context) : c_(context) {}

    // Builds the panel's value, renders it on the controls and, without a port, stops the
    // timers and forgets the logger.
    void run();
    // The panel's value as the logger model, the data sets and the display give it now.
    StatusView view() const;

    // The operation controls the procedures disable while they run; the refresh at their end
    // enables them by state.
    void disableOperationControls();
    // Disables the timers a procedure or measurement uses.
    void stopTimers();

  private:
    Context& c_;
};

// The Update button: queues the status read as ProcedureKind::None when no procedure
// runs; the refresh follows at the procedure's end. False when refused.
bool readStatus(Session& session);
