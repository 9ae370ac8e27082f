// Connecting, disconnecting and the device check; see connect.h.
#include "operations/connect.h"

#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/cbusdevice.h"
#include "link/commands.h"
#include "link/engine.h"
#include "link/loggermodel.h"
#include "link/loggerstate.h"
#include "link/protocol.h"
#include "link/waiter.h"
#include "operations/controls.h"
#include "operations/statuspanel.h"

namespace {

constexpr std::uint8_t kLinesHigh = 0xFF;
constexpr std::uint8_t kLinesLow = 0x00;
constexpr int kBeforePulseMs = 250;
constexpr int kPulseHighMs = 100;
constexpr int kAfterPulseMs = 250;

}  // namespace

Connection::Connection(QObject* window, Engine& engine, CbusDevice& device, Waiter& waiter,
                       Prompter& prompter, const MessageTable& messages, LoggerState& state,
                       ConnectHost& host)
    : window_(window),
      engine_(engine),
      device_(device),
      waiter_(waiter),
      prompter_(prompter),
      messages_(messages),
      state_(state),
      host_(host) {}

QByteArray Connection::identifyFrame() {
    return Protocol::frameBytes(kCommandKind, code(Command::Identify), 0, 0);
}

QByteArray Connection::initialiseBytes() {
    return Protocol::initAllCommand();
}

void Connection::Port_Set_Command(const QString& Mode, int Portnumber) {
    if (guard_ || engine_.busy()) {
        return;
    }
    guard_ = true;
    SerialPort& port = engine_.port();

    if (port.isOpen()) {
        port.close();
        state_.Record_State.clear();
        engine_.Pro_End();
        guard_ = false;
        host_.setBusyPointer(false);
        return;
    }

    if (device_.pulse(kLinesLow) == CbusDevice::kOk) {
        if (Mode == QLatin1String("Once")) {
            Port_Set_Once(Portnumber);
        } else {
            for (int candidate = kFirstPort; candidate <= kLastPort && !port.isOpen();
                 ++candidate) {
                Port_Set_Once(candidate);
            }
        }
        if (port.isOpen()) {
            if (!offerSave(LogData, 1066, 1067) || !offerSave(RealTimeData, 1068, 1069)) {
                // The user wanted the data kept but it was not saved: clearing it now would
                // lose it, so the connection is given up instead.
                port.close();
                guard_ = false;
                engine_.Pro_End();
                return;
            }
            host_.clearDataSets();
            Portnum = static_cast<std::int16_t>(port.portNumber());
            engine_.setLineSettings(lineSettings(), Portnum);
            Controls::setText(window_, QString::fromLatin1(StatusNames::StatusPanel1),
                              messages_.text(1070) + QString::number(Portnum));
            Controls::setEnabled(window_, QStringLiteral("Combo4"), false);
            state_.Record_State.clear();
            startStatusRead();
            guard_ = false;
            return;
        }
    }
    showFailure();
}

bool Connection::offerSave(DataSetIndex dataSet, int firstMessage, int secondMessage) {
    if (!host_.isUnsaved(dataSet) ||
        !prompter_.question(state_.Machine_N_P, messages_.pair(firstMessage, secondMessage))) {
        return true;
    }
    host_.saveCsv(dataSet);
    return !host_.isUnsaved(dataSet);
}

void Connection::startStatusRead() {
    engine_.begin();
    engine_.Enqueue(Command::GetBatteryLow, 0, 0, Keyword::PortOpen);
    enqueueStatusRead(engine_, Keyword::PortOpen);
    engine_.SendCurrent();
}

void Connection::showFailure() {
    // The Japanese text attaches to the model name directly; the English one needs a space.
    const QString separator =
        messages_.language() == Language::English ? QStringLiteral(" ") : QString();
    prompter_.message(state_.Machine_N_P, state_.Machine_N_P + separator + messages_.text(1071));
    Controls::setText(window_, QString::fromLatin1(StatusNames::StatusPanel1),
                      messages_.text(1072));
    Controls::setEnabled(window_, QStringLiteral("Combo4"), true);
    Controls::setEnabled(window_, QStringLiteral("Form5"), true);
    guard_ = false;
    host_.setBusyPointer(false);
}

void Connection::Port_Set_Once(int Portnumber) {
    SerialPort& port = engine_.port();
    if (port.isOpen()) {
        port.close();
    }
    if (!port.open(Portnumber, lineSettings())) {
        return;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (port.isOpen()) {
            port.close();
        }
        waiter_.wait(kBeforePulseMs);
        device_.pulse(kLinesHigh);
        waiter_.wait(kPulseHighMs);
        device_.pulse(kLinesLow);
        waiter_.wait(kAfterPulseMs);

        if (!port.open(Portnumber, lineSettings())) {
            host_.setBusyPointer(true);
            continue;
        }
        port.clearInput();
        port.write(identifyFrame());
        waiter_.wait(kIdentifyWaitMs);
        const QString reply = readReply();

        if (reply.contains(kModelQM400)) {
            port.close();
            host_.setBusyPointer(true);
        } else if (reply.contains(kModelQM320)) {
            state_.Machine_N_P = kModelQM320;
            return;
        } else if (reply.contains(kModelQM300)) {
            state_.Machine_N_P = kModelQM300;
            return;
        } else {
            port.close();
            host_.setBusyPointer(true);
        }
    }
}

QString Connection::readReply() {
    SerialPort& port = engine_.port();
    QByteArray bytes;
    std::uint8_t byte = 0;
    while (bytes.size() < kMaxReplyBytes && port.bytesWaiting() > 0 && port.readByte(byte)) {
        bytes.append(static_cast<char>(byte));
    }
    return QString::fromLatin1(bytes);
}

void Connection::dCheckTick() {
    if (engine_.busy() || !engine_.port().isOpen()) {
        return;
    }
    if (device_.pulse(kLinesLow) == CbusDevice::kNotFound) {
        Port_Set_Command(QString(), 0);
    }
}

void Connection::D_M_Fast_Click() {
    state_.Download_Mode = 0;
    Controls::setChecked(window_, QStringLiteral("D_M_Fast"), true);
    Controls::setChecked(window_, QStringLiteral("D_M_Slow"), false);
}

void Connection::D_M_Slow_Click() {
    state_.Download_Mode = 1;
    Controls::setChecked(window_, QStringLiteral("D_M_Fast"), false);
    Controls::setChecked(window_, QStringLiteral("D_M_Slow"), true);
}

void Connection::Command27_Click() {
    if (engine_.busy() || !engine_.port().isOpen()) {
        return;
    }
    engine_.port().write(initialiseBytes());
}
