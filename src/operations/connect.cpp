// Connecting, disconnecting and the device check; see connect.h.
#include "operations/connect.h"

#include "link/cbusdevice.h"
#include "link/commands.h"
#include "link/engine.h"
#include "link/loggermodel.h"
#include "link/protocol.h"

namespace {

constexpr std::uint8_t kLinesLow = 0x00;
constexpr int kBeforePulseMs = 250;
constexpr int kAfterPulseMs = 250;

}  // namespace

Connection::Connection(Context& context, CbusDevice& device, CsvFiles& files)
    : c_(context), device_(device), files_(files) {
    c_.session.timers().setTick(TimerId::DCheck, [this] { dCheckTick(); });
}

QByteArray Connection::identifyFrame() {
    return Protocol::frameBytes(kCommandKind, code(Command::Identify), 0, 0);
}

QByteArray Connection::initialiseBytes() {
    return Protocol::initAllCommand();
}

void Connection::Port_Set_Command(const QString& Mode, int Portnumber) {
    if (guard_ || c_.session.busy()) {
        return;
    }
    if (c_.session.port().isOpen()) {
        disconnectedByHand_ = true;
        disconnect();
        return;
    }
    disconnectedByHand_ = false;
    connect(Mode, Portnumber, Reporting::Box);
}

void Connection::connectAtStart() {
    if (mayConnectAutomatically()) {
        connectAutomatically();
    }
}

bool Connection::mayConnectAutomatically() const {
    return connectsByItself_ && !disconnectedByHand_ && !guard_ && !c_.session.busy() &&
           !c_.session.port().isOpen();
}

void Connection::connectAutomatically() {
    const int checksLeft = plugInChecksLeft_;
    connect({}, c_.session.Portnum, Reporting::StatusBar);
    devicePresent_ = deviceStatus_ != CbusDevice::kNotFound;
    // A port that opened and did not answer is a logger that failed: it is not asked again
    // until it is plugged in again.
    if (!c_.session.port().isOpen() && devicePresent_ && portsOpened_ == 0) {
        plugInChecksLeft_ = checksLeft;
    }
}

void Connection::connect(const QString& Mode, int Portnumber, Reporting reporting) {
    SerialPort& port = c_.session.port();
    guard_ = true;
    portsOpened_ = 0;
    plugInChecksLeft_ = 0;

    deviceStatus_ = device_.pulse(kLinesLow);
    if (deviceStatus_ == CbusDevice::kOk) {
        if (Mode == QLatin1String("Once")) {
            Port_Set_Once(Portnumber);
        } else {
            for (int candidate = kFirstPort; candidate <= kLastPort && !port.isOpen();
                 ++candidate) {
                Port_Set_Once(candidate);
            }
        }
        if (port.isOpen()) {
            const MessageTable& messages = c_.messages();
            if (!files_.offerSave(LogData,
                                  messages.pair(Msg::ConnectLosesDownload, Msg::AskSaveLogData)) ||
                !files_.offerSave(RealTimeData, messages.pair(Msg::ConnectLosesMeasurement,
                                                              Msg::AskSaveRealTimeData))) {
                // The user wanted the data kept but it was not saved: clearing it now would
                // lose it, so the connection is given up instead.
                port.close();
                guard_ = false;
                c_.engine().Pro_End();
                return;
            }
            c_.session.dataSets().clearForCommunication();
            c_.display.clear(LogData);
            c_.display.clear(RealTimeData);
            c_.session.Portnum = static_cast<std::int16_t>(port.portNumber());
            c_.session.applyLineSettings();
            c_.controls.setText(
                ControlId::ConnectionStatusPanel,
                messages.text(Msg::ConnectingPort) + QString::number(c_.session.Portnum));
            c_.controls.setEnabled(ControlId::NumberList, false);
            c_.state().recordState = RecordState::Stopped;
            startStatusRead();
            devicePresent_ = true;
            guard_ = false;
            return;
        }
    }
    showFailure(reporting);
}

void Connection::startStatusRead() {
    Engine& engine = c_.engine();
    engine.begin();
    engine.Enqueue(Command::GetBatteryLow, 0, 0, ProcedureKind::PortOpen);
    enqueueStatusRead(engine, ProcedureKind::PortOpen);
    engine.SendCurrent();
}

void Connection::showFailure(Reporting reporting) {
    const MessageTable& messages = c_.messages();
    const QString check = MessageTable::kPartBreak + messages.text(setupHint_);
    if (reporting == Reporting::StatusBar) {
        // Nobody asked: a box would interrupt whatever the user does, so the status bar says it.
        c_.controls.setText(ControlId::ConnectionStatusPanel,
                            messages.text(deviceStatus_ == CbusDevice::kPermissionDenied
                                              ? Msg::AutoConnectNotPermitted
                                              : Msg::AutoConnectNoLogger));
    } else if (deviceStatus_ == CbusDevice::kPermissionDenied) {
        // No port was tried: the fix lies with the system's setup, not with the cable.
        c_.message(messages.pair(Msg::UsbDeviceNotPermitted, Msg::InstallUdevRuleHint) + check);
    } else {
        // The Japanese text attaches to the model name directly; the English one needs a space.
        const QString separator =
            messages.language() == Language::English ? QStringLiteral(" ") : QString();
        c_.message(c_.state().Machine_N_P + separator + messages.text(Msg::NotConnected) + check);
    }
    if (reporting == Reporting::Box) {
        c_.controls.setText(ControlId::ConnectionStatusPanel,
                            messages.text(Msg::UnconnectedAfterFailure));
    }
    c_.controls.setEnabled(ControlId::NumberList, true);
    c_.controls.setEnabled(ControlId::PortDialog, true);
    guard_ = false;
    c_.pointer.setBusy(false);
}

void Connection::Port_Set_Once(int Portnumber) {
    SerialPort& port = c_.session.port();
    if (port.isOpen()) {
        port.close();
    }
    if (!port.open(Portnumber, lineSettings())) {
        return;
    }
    ++portsOpened_;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (port.isOpen()) {
            port.close();
        }
        c_.waiter.wait(kBeforePulseMs);
        pulseReset(device_, c_.waiter);
        c_.waiter.wait(kAfterPulseMs);

        if (!port.open(Portnumber, lineSettings())) {
            c_.pointer.setBusy(true);
            continue;
        }
        port.clearInput();
        port.write(identifyFrame());
        c_.waiter.wait(kIdentifyWaitMs);
        const QString reply = readReply();

        if (reply.contains(kModelQM400)) {
            port.close();
            c_.pointer.setBusy(true);
        } else if (reply.contains(kModelQM320)) {
            c_.state().Machine_N_P = kModelQM320;
            return;
        } else if (reply.contains(kModelQM300)) {
            c_.state().Machine_N_P = kModelQM300;
            return;
        } else {
            port.close();
            c_.pointer.setBusy(true);
        }
    }
}

QString Connection::readReply() {
    SerialPort& port = c_.session.port();
    QByteArray bytes;
    std::uint8_t byte = 0;
    while (bytes.size() < kMaxReplyBytes && port.bytesWaiting() > 0 && port.readByte(byte)) {
        bytes.append(static_cast<char>(byte));
    }
    return QString::fromLatin1(bytes);
}

void Connection::disconnect() {
    guard_ = true;
    c_.session.port().close();
    c_.state().recordState = RecordState::Stopped;
    c_.engine().Pro_End();
    guard_ = false;
    c_.pointer.setBusy(false);
}

void Connection::dCheckTick() {
    if (guard_ || c_.session.procedureRunning()) {
        return;
    }
    if (!c_.session.port().isOpen()) {
        watchForPlugIn();
        return;
    }
    // An open dialog is not a procedure: a logger removed under it disconnects, and the
    // refresh that follows closes the dialog before anything it asks for can be sent.
    if (device_.pulse(kLinesLow) == CbusDevice::kNotFound) {
        devicePresent_ = false;
        c_.session.deviceRemoved();
        disconnect();
    }
}

void Connection::watchForPlugIn() {
    // Only looked at, not pulsed: the lines of a device nobody connected to stay as they are.
    QString description;
    if (device_.describe(description) == CbusDevice::kNotFound) {
        devicePresent_ = false;
        plugInChecksLeft_ = 0;
        return;
    }
    if (!devicePresent_) {
        devicePresent_ = true;
        plugInChecksLeft_ = kPlugInChecks;
    }
    // A box or dialog open keeps the plug-in waiting; it connects on the first check after.
    if (plugInChecksLeft_ == 0 || !mayConnectAutomatically()) {
        return;
    }
    --plugInChecksLeft_;
    connectAutomatically();
}

void Connection::D_M_Fast_Click() {
    c_.state().Download_Mode = 0;
    c_.controls.setChecked(ControlId::FastDownloadItem, true);
    c_.controls.setChecked(ControlId::SlowDownloadItem, false);
}

void Connection::D_M_Slow_Click() {
    c_.state().Download_Mode = 1;
    c_.controls.setChecked(ControlId::FastDownloadItem, false);
    c_.controls.setChecked(ControlId::SlowDownloadItem, true);
}

void Connection::initialise() {
    if (c_.session.busy() || !c_.session.port().isOpen()) {
        return;
    }
    c_.session.port().write(initialiseBytes());
}
