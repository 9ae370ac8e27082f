// The Tools and Help menus; see toolops.h.
#include "operations/toolops.h"

#include "data/datetime.h"
#include "data/version.h"
#include "link/loggermodel.h"

namespace {
const QString kOnce = QStringLiteral("Once");
}  // namespace

QString presentTimeText(const QDateTime& now) {
    return datetime::format(datetime::fromDateTime(now));
}

VersionTexts versionTexts(const LoggerState& state, const MessageTable& messages) {
    return {
        messages.text(Msg::VersionTitle),
        state.Machine_N_P,
        state.F_W_Ver.isEmpty() ? QString() : messages.text(Msg::HardwareVersion) + state.F_W_Ver,
        messages.text(Msg::ApplicationVersion)
            .arg(QString::fromLatin1(kProgramVersion.data(),
                                     static_cast<qsizetype>(kProgramVersion.size()))),
        messages.text(Msg::MakerName),
        messages.text(Msg::MakerWebAddress),
        messages.text(Msg::LicenceLine)};
}

ToolOperations::ToolOperations(Context& context, Connection& connection, StatusRefresh& refresh)
    : c_(context), connection_(connection), refresh_(refresh) {
    c_.session.timers().setTick(TimerId::Tokei, [this] { tokeiTick(); });
    c_.session.timers().arm(TimerId::Tokei, kTokeiMs);
}

ToolOperations::~ToolOperations() {
    c_.session.timers().stop(TimerId::Tokei);
    c_.session.timers().setTick(TimerId::Tokei, {});
}

void ToolOperations::tokeiTick() {
    c_.controls.setText(ControlId::ClockPanel, presentTimeText(c_.now()));
}

void ToolOperations::openClockDialog() {
    if (c_.session.busy()) {
        return;
    }
    // A logger removed while the dialog was open has disconnected: nothing is sent.
    if (c_.session.prompter().hold([this] { return c_.dialogs.clockSetting(); }) &&
        c_.session.port().isOpen()) {
        Now_Time_set();
    }
}

void ToolOperations::openNameDialog() {
    if (c_.session.busy()) {
        return;
    }
    NameField field(c_.state().VT_Name, Msg::NameLetterNotUsable, c_.messages(), c_.prompter(),
                    c_.state().Machine_N_P);
    const auto name =
        c_.session.prompter().hold([&] { return c_.dialogs.identificationName(field); });
    if (name && c_.session.port().isOpen()) {
        Set_VTName(ProcedureKind::None, 0, *name);
    }
}

void ToolOperations::openPortDialog() {
    if (c_.session.busy()) {
        return;
    }
    const PortChoice choice{c_.session.port().isOpen(), c_.session.Portnum};
    const auto port = c_.session.prompter().hold([&] { return c_.dialogs.communication(choice); });
    // A logger removed while the dialog was open has disconnected: its button meant the
    // other way.
    if (port && c_.session.port().isOpen() == choice.connected) {
        c_.pointer.setBusy(false);
        connection_.Port_Set_Command(kOnce, *port);
    }
}

void ToolOperations::showVersion() {
    const VersionTexts texts = versionTexts(c_.state(), c_.messages());
    c_.session.prompter().hold([&] {
        c_.dialogs.version(texts);
        return 0;
    });
}

void ToolOperations::showSetupCheck(const QString& report) {
    const QString title = c_.messages().text(Msg::CheckSetupTitle);
    c_.session.prompter().hold([&] {
        c_.dialogs.setupCheck(title, report);
        return 0;
    });
}

void ToolOperations::openWebPage() {
    const QString address = c_.messages().text(Msg::WebAddress);
    if (!c_.dialogs.openUrl(QUrl(address))) {
        c_.message(c_.messages().text(Msg::WebPageNotOpened) + MessageTable::kPartBreak + address);
    }
}

bool ToolOperations::Set_VTName(ProcedureKind P_Name, std::int32_t S_Num, const QString& name) {
    if (c_.session.busy()) {
        return false;
    }
    Engine& engine = c_.engine();
    c_.session.beginProcedure(Procedure::NameSet);
    const auto codes = NameField::codes(name);
    engine.Enqueue(Command::SetName12, codes[0], codes[1], P_Name, S_Num);
    engine.Enqueue(Command::SetName34, codes[2], codes[3], P_Name, S_Num);
    enqueueStatusRead(engine, P_Name, S_Num);
    send();
    return true;
}

bool ToolOperations::Now_Time_set() {
    if (c_.session.busy()) {
        return false;
    }
    Engine& engine = c_.engine();
    c_.session.beginProcedure(Procedure::ClockSet);
    enqueueClockWrite(engine, ProcedureKind::None, 0, c_.now());
    enqueueClockRead(engine, ProcedureKind::ClockSet);
    send();
    return true;
}

void ToolOperations::send() {
    refresh_.disableOperationControls();
    c_.engine().SendCurrent();
}
