// Everything of the main window that connecting and the status refresh need, wired as the
// application wires it, around the simulated logger.
#pragma once

#include <QTemporaryDir>
#include <memory>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/sample.h"
#include "fakes.h"
#include "link/engine.h"
#include "link/loggermodel.h"
#include "link/loggerstate.h"
#include "link/timers.h"
#include "operations/connect.h"
#include "operations/statusrefresh.h"

namespace optest {

class Harness : public EngineHost, public ConnectHost, public LoggerView {
  public:
    // The logger answers on loggerPort as the named scenario (empty: the simulator's default).
    explicit Harness(int loggerPort = 3, const QString& scenario = QString());
    ~Harness() override;

    // Runs the queued procedure to its end by polling, as the InputTimer would.
    bool runProcedure(int maxTicks = 1000);
    // Connects by the toggle and runs the status read that follows.
    void connect(const QString& mode = QString(), int port = 0);
    void refresh() { refresh_->run(view); }

    QString text(const char* name) const;
    bool enabled(const char* name) const;
    bool shown(const char* name) const;

    // EngineHost
    void showFailure(int firstMessage, int secondMessage) override;
    void setBusyPointer(bool busy) override { busyPointer = busy; }
    void procedureEnded() override;
    // ConnectHost
    bool isUnsaved(DataSetIndex dataSet) override { return dataSets[dataSet].unsaved; }
    void saveCsv(DataSetIndex dataSet) override;
    void clearDataSets() override;
    // LoggerView
    void batteryLabel(const QString&, bool) override {}
    void clockLabel(const QString&) override {}
    void realTimeReadout(const RealTimeReadout&) override {}
    void realTimeSampleAdded() override {}

    SimLogger logger;
    SimBusPort port;
    FakeCbusDevice device;
    TestWaiter waiter;
    ScriptedPrompter prompter;
    MessageTable messages;
    TimerTable timers;
    LoggerState state;
    QTemporaryDir scratch;
    DataSets dataSets;
    Sample sampleBuffer;
    std::unique_ptr<QWidget> window;
    StatusView view;
    std::vector<DataSetIndex> saved;
    bool saveSucceeds = true;
    int clears = 0;
    int refreshes = 0;
    bool busyPointer = false;

    std::unique_ptr<Engine> engine;
    std::unique_ptr<LoggerModel> model;
    std::unique_ptr<StatusRefresh> refresh_;
    std::unique_ptr<Connection> connection;
};

}  // namespace optest
