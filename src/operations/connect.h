// Connecting to the logger: the connect/disconnect toggle with its scan of the ports, the reset
// pulse and identification of one port, the device check that disconnects a removed logger,
// the download-speed menu and the initialise button.
#pragma once

#include <QByteArray>
#include <QString>

#include "link/cbusdevice.h"
#include "operations/context.h"
#include "operations/csvfiles.h"

class Connection {
  public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;
    static constexpr int kAttempts = 3;
    static constexpr int kIdentifyWaitMs = 500;
    // Replies longer than this are not an identify reply; reading stops there.
    static constexpr int kMaxReplyBytes = 256;

    // Registers the device check as the D_CHECK tick.
    Connection(Context& context, CbusDevice& device, CsvFiles& files);

    // The connect/disconnect toggle. Mode "Once" tries only Portnumber; anything else scans
    // ports 1..16. Does nothing while it already runs or while a procedure runs.
    void Port_Set_Command(const QString& Mode, int Portnumber);
    // Opens one port, resets the device and identifies the logger; the port is left open
    // exactly when a supported model answered.
    void Port_Set_Once(int Portnumber);
    bool connecting() const { return guard_; }
    // The USB device as the last connect found it: the command line tells "no logger" from
    // "no permission" by it.
    CbusDevice::Status deviceStatus() const { return deviceStatus_; }

    // The D_CHECK tick: a removed USB device disconnects, also while a dialog is open.
    void dCheckTick();

    // Download-speed menu.
    void D_M_Fast_Click();
    void D_M_Slow_Click();

    // The initialise button: the raw initialise command, only when no procedure runs.
    void initialise();

    static QByteArray identifyFrame();
    static QByteArray initialiseBytes();

  private:
    // Closes the port and ends with the status refresh.
    void disconnect();
    void startStatusRead();
    void showFailure();
    QString readReply();
    QString lineSettings() const { return c_.session.lineSettings(); }

    Context& c_;
    CbusDevice& device_;
    CsvFiles& files_;
    bool guard_ = false;
    CbusDevice::Status deviceStatus_ = CbusDevice::kNotFound;
};
