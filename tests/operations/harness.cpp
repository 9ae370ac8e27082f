// The wired test set-up; see harness.h.
#include "harness.h"

#include <QDateTime>

#include "sim/simscenarios.h"

namespace optest {

Harness::Harness(int loggerPort, const QString& scenario)
    : port(logger, loggerPort), device(logger), waiter(logger) {
    if (!scenario.isEmpty()) {
        simscenario::apply(scenario, logger, QDateTime::currentDateTimeUtc());
    }
    dataSets.open(scratch.path());
    window = buildTestWindow(controls);
    ops = std::make_unique<Operations>(context, device);
    // Counts the refreshes at the end of each procedure, then runs the operations' own end.
    session.onProcedureEnded([this] {
        ++refreshes;
        ops->procedureEnded();
    });
}

Harness::~Harness() {
    ops.reset();
    dataSets.close();
}

bool Harness::runProcedure(int maxTicks) {
    for (int tick = 0; tick < maxTicks && engine.busy(); ++tick) {
        engine.inputTick();
        if (engine.busy() && timers.isArmed(TimerId::TimeOut) && port.bytesWaiting() <= 0) {
            engine.timeOutTick();
        }
    }
    return !engine.busy();
}

std::vector<std::array<int, 3>> Harness::received(std::size_t from) const {
    std::vector<std::array<int, 3>> sent;
    for (std::size_t i = from; i < logger.history().size(); ++i) {
        const SimCommand& c = logger.history()[i];
        sent.push_back({c.code, c.arg1, c.arg2});
    }
    return sent;
}

void Harness::connect(const QString& mode, int portNumber) {
    connection().Port_Set_Command(mode, portNumber);
    runProcedure();
}

}  // namespace optest
