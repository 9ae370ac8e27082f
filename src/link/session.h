// One link session: the engine, the logger model and the download wired together around one
// port, one set of timers and the logger picture, with their ticks registered. The window, the
// tests and the benchmarks all build the link through it.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "data/sample.h"
#include "link/download.h"
#include "link/engine.h"
#include "link/heldprompter.h"
#include "link/loggermodel.h"
#include "link/loggerstate.h"
#include "link/serialport.h"
#include "link/timers.h"

class Session : private EngineHost {
  public:
    Session(SerialPort& port, TimerControl& timers, Prompter& prompter,
            const MessageTable& messages, DataSets& dataSets);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Number of the open port (1..16), taken from the port after a successful connect.
    std::int16_t Portnum = 1;
    // Baud rate text; the line settings are this followed by ",n,8,1".
    QString Port_Setting_N_P = QStringLiteral("57600");
    QString lineSettings() const { return Port_Setting_N_P + QStringLiteral(",n,8,1"); }
    // Hands the line settings and Portnum to the engine, which reopens the port with them.
    void applyLineSettings();

    // Where replies show their labels and a download its progress.
    void setLoggerView(LoggerView* view) { model_.setView(view); }
    void setDownloadView(DownloadView* view) { download_.setView(view); }
    // Pro_End's last step (enable the window, refresh the status panel) and the busy pointer.
    void onProcedureEnded(std::function<void()> handler) { procedureEnded_ = std::move(handler); }
    void onBusyPointer(std::function<void(bool)> handler) { busyPointer_ = std::move(handler); }

    // A procedure runs, or a box or dialog is open: nothing may start a procedure now.
    bool busy() const { return engine_.busy() || prompter_.open(); }
    Engine& engine() { return engine_; }
    LoggerModel& model() { return model_; }
    Download& download() { return download_; }
    // The one sample buffer: a real-time measurement dates it before queueing, the replies
    // fill and write it.
    Sample& sampleBuffer() { return sampleBuffer_; }
    LoggerState& state() { return state_; }
    DataSets& dataSets() { return dataSets_; }
    DataSet& dataSet(DataSetIndex index) { return dataSets_[index]; }
    SerialPort& port() { return port_; }
    TimerControl& timers() { return timers_; }
    // Every box of the session and its operations goes through this prompter.
    HeldPrompter& prompter() { return prompter_; }
    const MessageTable& messages() const { return messages_; }

  private:
    void showFailure(int firstMessage, int secondMessage) override;
    void setBusyPointer(bool busy) override;
    void procedureEnded() override;
    void portLost() override;

    SerialPort& port_;
    TimerControl& timers_;
    HeldPrompter prompter_;
    const MessageTable& messages_;
    DataSets& dataSets_;
    LoggerState state_;
    Sample sampleBuffer_;
    Engine engine_;
    LoggerModel model_;
    Download download_;
    std::function<void()> procedureEnded_;
    std::function<void(bool)> busyPointer_;
};
