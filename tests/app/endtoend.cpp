// The in-process rig of the end-to-end tests; see endtoend.h.
#include "endtoend.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTableView>

namespace e2e {

double SimClock::now() const {
    return at(Rig::scenarioNow()) + static_cast<double>(ms) / 1000 * kSecond;
}

Rig::Rig(const QString& scenario, bool qtDialogs, bool archive) : SimRig(scenario, scenarioNow()) {
    if (!scenarioApplied) {
        return;
    }
    port.setServedPort(kLoggerPort);
    std::optional<QString> archivePath;
    if (archive) {
        archivePath = QDir(dir.path()).filePath(QStringLiteral("archive.sqlite"));
    }
    window = std::make_unique<MainWindow>(
        MainWindowDependencies{port, device, prompter, waiter, dir.path(),
                               qtDialogs ? nullptr : &dialogs, QString(), archivePath, false});
    window->operations().realTime().setClock(clock);
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
        ++clock.ms;
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
    // A user presses only what is shown and enabled.
    auto* button = window->controls().as<QAbstractButton>(id);
    if (button == nullptr || !button->isVisibleTo(window.get()) || !button->isEnabled()) {
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
    return simrig::samples(window->dataSets()[index]);
}

namespace {

// Visible and enabled, and so is every menu entry leading to it.
bool usable(const QAction* action) {
    if (!action->isVisible() || !action->isEnabled()) {
        return false;
    }
    for (QObject* holder : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(holder);
            menu != nullptr && !usable(menu->menuAction())) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool pressMenuItem(QAction* item) {
    if (item == nullptr || !usable(item)) {
        return false;
    }
    item->trigger();
    return true;
}

void connectLogger(Rig& rig) {
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    ASSERT_TRUE(rig.port.isOpen());
    ASSERT_TRUE(rig.runProcedure());
}

void expectCsvRoundTrip(Rig& rig, DataSetIndex index, const std::vector<Sample>& samples) {
    const QString csv = QDir(rig.dir.path()).filePath(QStringLiteral("data%1.csv").arg(index));
    rig.prompter.fileNames = {csv};
    ASSERT_TRUE(
        rig.click(index == LogData ? ControlId::SaveLogButton : ControlId::SaveRealTimeButton));
    ASSERT_TRUE(QFile::exists(csv));
    EXPECT_FALSE(rig.window->dataSets()[index].unsaved);
    rig.prompter.fileNames = {csv};
    rig.window->openCsv();
    for (const auto& call : rig.prompter.calls) {
        EXPECT_NE(call.kind, "message") << call.text.toStdString();
    }
    EXPECT_EQ(rig.window->Disp_stat(), FileData);
    auto* fileTable = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_2"));
    ASSERT_NE(fileTable, nullptr);
    EXPECT_EQ(fileTable->model()->rowCount(), static_cast<int>(samples.size()));
    const std::vector<Sample> file = rig.samples(FileData);
    ASSERT_EQ(file.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(QString::number(file[i].temperature, 'f', 2),
                  QString::number(samples[i].temperature, 'f', 2))
            << i + 1;
        ASSERT_EQ(QString::number(file[i].humidity, 'f', 2),
                  QString::number(samples[i].humidity, 'f', 2))
            << i + 1;
        ASSERT_EQ(datetime::toSeconds(file[i].dateTime), datetime::toSeconds(samples[i].dateTime))
            << i + 1;
        ASSERT_EQ(file[i].series, samples[i].series) << i + 1;
    }
}

}  // namespace e2e
