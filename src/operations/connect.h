// Connecting to the logger: the connect/disconnect toggle with its scan of the ports, the reset
// pulse and identification of one port, the device check that disconnects a removed logger,
// the download-speed menu and the initialise button.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

#include "data/dataset.h"

class CbusDevice;
class Engine;
class MessageTable;
class Prompter;
class Waiter;
struct LoggerState;

// What connecting needs from the main window beyond the link.
class ConnectHost {
  public:
    virtual ~ConnectHost() = default;
    virtual bool isUnsaved(DataSetIndex dataSet) = 0;
    // CSV save of the log or real-time data set, as offered before communication begins; a
    // successful save clears the data set's unsaved flag.
    virtual void saveCsv(DataSetIndex dataSet) = 0;
    // Empties the log and real-time data sets (their graphs and tables included).
    virtual void clearDataSets() = 0;
    virtual void setBusyPointer(bool busy) = 0;
};

class Connection {
  public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;
    static constexpr int kAttempts = 3;
    static constexpr int kIdentifyWaitMs = 500;
    // Replies longer than this are not an identify reply; reading stops there.
    static constexpr int kMaxReplyBytes = 256;

    Connection(QObject* window, Engine& engine, CbusDevice& device, Waiter& waiter,
               Prompter& prompter, const MessageTable& messages, LoggerState& state,
               ConnectHost& host);

    // Number of the open port (1..16), taken from the port after a successful connect.
    std::int16_t Portnum = 1;
    // Baud rate text; the line settings are this followed by ",n,8,1".
    QString Port_Setting_N_P = QStringLiteral("57600");

    QString lineSettings() const { return Port_Setting_N_P + QStringLiteral(",n,8,1"); }

    // The connect/disconnect toggle. Mode "Once" tries only Portnumber; anything else scans
    // ports 1..16. Does nothing while it already runs or while a procedure runs.
    void Port_Set_Command(const QString& Mode, int Portnumber);
    // Opens one port, resets the device and identifies the logger; the port is left open
    // exactly when a supported model answered.
    void Port_Set_Once(int Portnumber);
    bool connecting() const { return guard_; }

    // The D_CHECK tick: a removed USB device disconnects.
    void dCheckTick();

    // Download-speed menu.
    void D_M_Fast_Click();
    void D_M_Slow_Click();

    // The initialise button: the raw initialise command, only when no procedure runs.
    void Command27_Click();

    static QByteArray identifyFrame();
    static QByteArray initialiseBytes();

  private:
    // Asks to save an unsaved data set; false when the user chose to keep it and the save did
    // not happen (cancelled or failed).
    bool offerSave(DataSetIndex dataSet, int firstMessage, int secondMessage);
    void startStatusRead();
    void showFailure();
    QString readReply();

    QObject* window_;
    Engine& engine_;
    CbusDevice& device_;
    Waiter& waiter_;
    Prompter& prompter_;
    const MessageTable& messages_;
    LoggerState& state_;
    ConnectHost& host_;
    bool guard_ = false;
};
