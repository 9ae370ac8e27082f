// The in-process rig of the end-to-end tests; see endtoend.h.
#include "endtoend.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "sim/simscenarios.h"

namespace e2e {

Rig::Rig(const QString& scenario) {
    if (!simscenario::apply(scenario, logger, now())) {
        return;
    }
    port.setServedPort(kLoggerPort);
    window = std::make_unique<MainWindow>(
        MainWindowDependencies{port, device, prompter, waiter, dir.path(), &dialogs});
    window->startUp();
}

Rig::~Rig() {
    if (window) {
        prompter.answers.clear();
        window->close();
    }
}

void Rig::paceLine(int bytesPerMs) {
    bytesPerMs_ = bytesPerMs;
    port.setAutoDeliver(bytesPerMs <= 0);
}

void Rig::advance(int ms) {
    QtTimerSet& timers = window->timers();
    for (int step = 0; step < ms; ++step) {
        logger.advanceTime(1);
        if (bytesPerMs_ > 0) {
            port.deliver(bytesPerMs_);
        }
        for (int i = 0; i < kTimerCount; ++i) {
            const auto id = static_cast<TimerId>(i);
            const int interval = timers.interval(id);
            if (timers.armings(id) != armings_[i]) {
                armings_[i] = timers.armings(id);
                sinceArmed_[i] = 0;
            }
            if (!timers.isArmed(id) || interval <= 0) {
                sinceArmed_[i] = 0;
                continue;
            }
            if (++sinceArmed_[i] >= interval) {
                sinceArmed_[i] = 0;
                timers.fire(id);
            }
        }
    }
}

bool Rig::runProcedure(int limitMs) {
    for (int ms = 0; ms < limitMs && window->session().engine().busy(); ++ms) {
        advance(1);
    }
    return !window->session().engine().busy();
}

bool Rig::click(ControlId id) {
    auto* button = window->controls().as<QPushButton>(id);
    if (button == nullptr) {
        return false;
    }
    button->click();
    return true;
}

QString Rig::text(ControlId id) const {
    if (window->controls().object(id) == nullptr) {
        return QStringLiteral("<missing %1>").arg(QLatin1String(controlName(id)));
    }
    return window->controls().text(id);
}

std::vector<Sample> Rig::samples(DataSetIndex index) {
    DataSet& set = window->dataSets()[index];
    std::vector<Sample> all;
    Sample sample;
    for (int k = 1; k <= set.count; ++k) {
        if (set.read(k, sample) != DataError::None) {
            break;
        }
        all.push_back(sample);
    }
    return all;
}

void connectLogger(Rig& rig) {
    ASSERT_TRUE(rig.click(ControlId::Command20));
    ASSERT_TRUE(rig.port.isOpen());
    ASSERT_TRUE(rig.runProcedure());
}

}  // namespace e2e
