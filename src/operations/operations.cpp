// The operations of the main window on one context; see operations.h.
#include "operations/operations.h"

Operations::Operations(Context& context, CbusDevice& device)
    : c_(context),
      status_(context),
      files_(context, status_),
      keeper_(context),
      readouts_(context),
      connection_(context, device, files_),
      download_(context, files_, status_, keeper_),
      realTime_(context, files_, status_, keeper_),
      recording_(context, status_),
      tools_(context, connection_, status_),
      history_(context, files_, status_) {
    c_.session.onProcedureEnded([this] { procedureEnded(); });
    c_.session.onBusyPointer([this](bool busy) { c_.pointer.setBusy(busy); });
    c_.session.download().setInterfaceReset(&device, &c_.waiter);
}

Operations::~Operations() {
    c_.session.download().setInterfaceReset(nullptr, nullptr);
    c_.session.onProcedureEnded({});
    c_.session.onBusyPointer({});
}

void Operations::procedureEnded() {
    c_.controls.setEnabled(ControlId::MainWindow, true);
    c_.pointer.setBusy(false);
    status_.run();
    realTime_.procedureEnded();
    keeper_.procedureEnded();
}
