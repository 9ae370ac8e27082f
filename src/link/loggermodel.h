// The logger model: the command batches operations queue to read or set the logger, and the
// handling of every reply that is not record data, into LoggerState and the log data set
// header. Window labels are reported through LoggerView; the link holds no widgets.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "data/sample.h"
#include "link/engine.h"
#include "link/loggerstate.h"
#include "link/sampledecode.h"

// Batches: each appends its entries with the caller's procedure and value; false when the queue
// could not take them all. The caller then calls SendCurrent.
bool enqueueStatusRead(Engine& engine, ProcedureKind keyword, std::int32_t value = 0);
bool enqueueClockRead(Engine& engine, ProcedureKind keyword, std::int32_t value = 0);
bool enqueueClockWrite(Engine& engine, ProcedureKind keyword, std::int32_t value,
                       const QDateTime& now);
bool enqueueMeasurement(Engine& engine, ProcedureKind keyword, std::int32_t value = 0);

// What a reply asks of the window besides the values it stores.
struct ModelEffect {
    QString message;                   // text of a message box to show, empty for none
    std::optional<bool> batteryLow;    // battery label: red "Decrease" or black "Normality"
    std::optional<QString> clockText;  // logger clock label
};

// The per-reply handling on its own: stores what the reply carries and says what to show.
ModelEffect applyReply(LoggerState& state, DataSet& logHeader, const CommandEntry& entry,
                       const Reply& reply, const MessageTable& messages);

// Window-side labels and read-outs fed by replies.
class LoggerView {
  public:
    virtual ~LoggerView() = default;
    // The battery label: the text of Msg::BatteryLow in red when low, of Msg::BatteryNormal in
    // black otherwise.
    virtual void batteryLabel(const QString& text, bool low) = 0;
    // The logger clock label.
    virtual void clockLabel(const QString& text) = 0;
    // The temperature, humidity and time read-outs of the real-time panel.
    virtual void realTimeReadout(const RealTimeReadout& readout) = 0;
    // A real-time sample was completed: show the real-time data set (Disp_stat 1), refresh
    // its table and graphs.
    virtual void realTimeSampleAdded() = 0;
};

class LoggerModel {
  public:
    LoggerModel(LoggerState& state, DataSet& logData, DataSet& realTimeData, Sample& sampleBuffer,
                Prompter& prompter, const MessageTable& messages);

    // Where the labels and read-outs replies fill are shown; nothing is shown without one.
    void setView(LoggerView* view) { view_ = view; }

    // Registers the handlers of every reply above and of the real-time measurement replies.
    void registerHandlers(Engine& engine);

    ReplyAction handle(const CommandEntry& entry, const Reply& reply);

  private:
    ReplyAction handleRealTime(const CommandEntry& entry, const Reply& reply);

    LoggerState& state_;
    DataSet& logData_;
    DataSet& realTimeData_;
    Sample& sample_;
    Prompter& prompter_;
    const MessageTable& messages_;
    LoggerView* view_ = nullptr;
};
