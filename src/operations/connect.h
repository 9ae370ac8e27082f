// Connecting to the logger: the connect/disconnect toggle with its scan of the ports, the reset
// pulse and identification of one port, the device check that disconnects a removed logger and
// connects one plugged in, the connect at start-up, the download-speed menu and the initialise
// button.
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
    // A logger plugged in is tried again on this many device checks while none of its ports
    // opens yet: the system names the serial port a moment after the USB device appears.
    static constexpr int kPlugInChecks = 4;

    // Registers the device check as the D_CHECK tick.
    Connection(Context& context, CbusDevice& device, CsvFiles& files);

    // The connect/disconnect toggle. Mode "Once" tries only Portnumber; anything else scans
    // ports 1..16. Does nothing while it already runs or while a procedure runs.
    // Pressed by the user: a disconnect keeps the program from connecting by itself again
    // until the user connects.
    void Port_Set_Command(const QString& Mode, int Portnumber);
    // Connects as the connect button does, once the program has started, unless something is
    // open or running; a failure shows no box, the status bar says it.
    void connectAtStart();
    // Off: the program connects only when the user asks (at start and on plug-in alike).
    void setConnectsByItself(bool on) { connectsByItself_ = on; }
    // The hint a failed connect ends with: where the user sees what the setup lacks.
    void setSetupHint(Msg hint) { setupHint_ = hint; }
    bool disconnectedByHand() const { return disconnectedByHand_; }
    // Opens one port, resets the device and identifies the logger; the port is left open
    // exactly when a supported model answered.
    void Port_Set_Once(int Portnumber);
    bool connecting() const { return guard_; }
    // The USB device as the last connect found it: the command line tells "no logger" from
    // "no permission" by it.
    CbusDevice::Status deviceStatus() const { return deviceStatus_; }

    // The D_CHECK tick: a removed USB device disconnects, also while a dialog is open; a device
    // that appears while unconnected connects once nothing is open.
    void dCheckTick();

    // Download-speed menu.
    void D_M_Fast_Click();
    void D_M_Slow_Click();

    // The initialise button: the raw initialise command, only when no procedure runs.
    void initialise();

    static QByteArray identifyFrame();
    static QByteArray initialiseBytes();

  private:
    enum class Reporting { Box, StatusBar };

    void connect(const QString& Mode, int Portnumber, Reporting reporting);
    // Closes the port and ends with the status refresh.
    void disconnect();
    void startStatusRead();
    void showFailure(Reporting reporting);
    // Whether the program may connect by itself now.
    bool mayConnectAutomatically() const;
    // One automatic attempt; keeps the plug-in checks only while no port could be opened.
    void connectAutomatically();
    void watchForPlugIn();
    QString readReply();
    QString lineSettings() const { return c_.session.lineSettings(); }

    Context& c_;
    CbusDevice& device_;
    CsvFiles& files_;
    bool guard_ = false;
    CbusDevice::Status deviceStatus_ = CbusDevice::kNotFound;
    Msg setupHint_ = Msg::RunCheckHint;
    bool connectsByItself_ = true;
    bool disconnectedByHand_ = false;
    // The device check saw the USB device while unconnected (or the port was open).
    bool devicePresent_ = false;
    int plugInChecksLeft_ = 0;
    // Ports opened by the last connect: none means the serial port was not there yet.
    int portsOpened_ = 0;
};
