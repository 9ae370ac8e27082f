// The wired test set-up; see harness.h.
#include "harness.h"

#include <QDateTime>

#include "operations/controls.h"
#include "sim/simscenarios.h"

namespace optest {

Harness::Harness(int loggerPort, const QString& scenario)
    : port(logger, loggerPort), device(logger), waiter(logger), window(buildTestWindow()) {
    messages.fillEnglish();
    if (!scenario.isEmpty()) {
        simscenario::apply(scenario, logger, QDateTime::currentDateTimeUtc());
    }
    dataSets.open(scratch.path());
    engine = std::make_unique<Engine>(port, timers, *this);
    model = std::make_unique<LoggerModel>(state, dataSets[LogData], dataSets[RealTimeData],
                                          sampleBuffer, prompter, messages, *this);
    model->registerHandlers(*engine);
    refresh_ = std::make_unique<StatusRefresh>(window.get(), *engine, state, dataSets, messages);
    connection = std::make_unique<Connection>(window.get(), *engine, device, waiter, prompter,
                                              messages, state, *this);
}

Harness::~Harness() {
    dataSets.close();
}

bool Harness::runProcedure(int maxTicks) {
    for (int tick = 0; tick < maxTicks && engine->busy(); ++tick) {
        engine->inputTick();
        if (engine->busy() && timers.isArmed(TimerId::TimeOut) && port.bytesWaiting() <= 0) {
            engine->timeOutTick();
        }
    }
    return !engine->busy();
}

void Harness::connect(const QString& mode, int portNumber) {
    connection->Port_Set_Command(mode, portNumber);
    runProcedure();
}

QString Harness::text(const char* name) const {
    QObject* control = Controls::find(window.get(), QString::fromLatin1(name));
    if (control == nullptr) {
        return QStringLiteral("<missing>");
    }
    const QVariant text = control->property("text");
    return text.isValid() ? text.toString() : control->property("title").toString();
}

bool Harness::enabled(const char* name) const {
    QObject* control = Controls::find(window.get(), QString::fromLatin1(name));
    if (auto* widget = qobject_cast<QWidget*>(control)) {
        return widget->isEnabledTo(window.get());
    }
    return control != nullptr && control->property("enabled").toBool();
}

bool Harness::shown(const char* name) const {
    QObject* control = Controls::find(window.get(), QString::fromLatin1(name));
    if (auto* widget = qobject_cast<QWidget*>(control)) {
        return !widget->isHidden();
    }
    return control != nullptr && control->property("visible").toBool();
}

void Harness::showFailure(int firstMessage, int secondMessage) {
    prompter.message(state.Machine_N_P, messages.pair(firstMessage, secondMessage));
}

void Harness::procedureEnded() {
    ++refreshes;
    view.Portnum = connection->Portnum;
    refresh_->run(view);
}

void Harness::saveCsv(DataSetIndex dataSet) {
    saved.push_back(dataSet);
    if (saveSucceeds) {
        dataSets[dataSet].unsaved = false;
    }
}

void Harness::clearDataSets() {
    ++clears;
    dataSets.clearForCommunication();
}

}  // namespace optest
