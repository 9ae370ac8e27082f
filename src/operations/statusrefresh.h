// The status refresh: rebuilds the status panel's read-outs and the enabling of every control of
// the main window from the logger model, the data sets, the port state and the display
// selection. It skips a control that is missing.
#pragma once

#include <QString>
#include <cstdint>

#include "data/messagetable.h"
#include "link/loggerstate.h"
#include "operations/context.h"

// Texts of the read-outs, kept apart from the widgets so their rules can be checked alone.
namespace StatusText {
inline const QString kNoValue = QStringLiteral("----");
inline const QString kNoDate = QStringLiteral("----/--/-- --:--:--");
inline const QString kOff = QStringLiteral("OFF");

// "yyyy/mm/dd hh:nn:ss" of a day count from 1899-12-30; empty when it cannot be formatted.
QString formatDateTime(double days);
// Year of a day count, or 0 when it cannot be formatted.
int yearOf(double days);
// Minutes and seconds: 90 gives "1 Min30 Sec", 60 "1 Min", 0 empty.
QString interval(std::int32_t seconds, const MessageTable& messages);
// The leading number of a text as the old numeric conversion reads it (0 when there is none).
double leadingNumber(const QString& text);
bool batteryGood(const LoggerState& state);
QString battery(const LoggerState& state, const MessageTable& messages);
// Reserved start: day, hour, minute, as "05Day09:30 Record beginning".
QString reservation(const LoggerState& state, const MessageTable& messages);
QString points(double recordPointer, bool loopWrapped, const MessageTable& messages);
QString bound(std::uint8_t on, std::int16_t degrees, const MessageTable& messages);
}  // namespace StatusText

class StatusRefresh {
  public:
    explicit StatusRefresh(Context& context) : c_(context) {}

    void run();

    // The operation controls the procedures disable while they run; enabling also enables the
    // display options.
    void disableOperationControls();
    void enableOperationControls();
    // Disables the timers a procedure or measurement uses.
    void stopTimers();

  private:
    void showNotConnected();
    void showConnected();
    void showRecording();
    void showReserved();
    void showContinuous();
    void showStopped();
    void showCommonTail();
    void setGraphControlsVisible(bool visible);
    void setConnectButton(bool on);
    QString message(int index) const { return c_.messages().text(index); }

    Context& c_;
};

// The Update button (Command11): queues the status read as ProcedureKind::None when no procedure
// runs; the refresh follows at the procedure's end. False when refused.
bool Command11_Click(Session& session);
