// The wired test set-up; see harness.h.
#include "harness.h"

#include <QDateTime>

namespace optest {

Harness::Harness(int loggerPort, const QString& scenario)
    : SimSessionRig(scenario, QDateTime::currentDateTimeUtc(), loggerPort) {
    window = buildTestWindow(controls);
    ops = std::make_unique<Operations>(context, device);
    // Counts the refreshes at the end of each procedure, then runs the operations' own end.
    session.onProcedureEnded([this] {
        ++refreshes;
        ops->procedureEnded();
    });
}

void Harness::connect(const QString& mode, int portNumber) {
    connection().Port_Set_Command(mode, portNumber);
    runProcedure();
}

}  // namespace optest
