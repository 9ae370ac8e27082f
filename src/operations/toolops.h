// The Tools and Help menus' dialogs and what they program: the identification name (Set_VTName),
// the logger clock (Now_Time_set), the communication port, the version, the maker's web page;
// and the main window's clock read-out (the tokei tick).
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

#include "data/messagetable.h"
#include "link/loggerstate.h"
#include "operations/connect.h"
#include "operations/context.h"
#include "operations/statusrefresh.h"

// The present date-time as the clock read-outs show it.
QString presentTimeText(const QDateTime& now);
VersionTexts versionTexts(const LoggerState& state, const MessageTable& messages);

class ToolOperations {
  public:
    static constexpr int kTokeiMs = 200;

    // Registers and arms the clock read-out's tick.
    ToolOperations(Context& context, Connection& connection, StatusRefresh& refresh);
    ~ToolOperations();
    ToolOperations(const ToolOperations&) = delete;
    ToolOperations& operator=(const ToolOperations&) = delete;

    // The clock, name and communication dialogs open only while no procedure runs.
    void openClockDialog();
    void openNameDialog();
    void openPortDialog();
    void showVersion();
    // The findings of the setup check (worded by the caller, which runs the check).
    void showSetupCheck(const QString& report);
    void openWebPage();

    // Each queues its procedure and sends it; false when a procedure runs or a box is open.
    bool Set_VTName(ProcedureKind P_Name, std::int32_t S_Num, const QString& name);
    bool Now_Time_set();

    void tokeiTick();

  private:
    void send();

    Context& c_;
    Connection& connection_;
    StatusRefresh& refresh_;
};
