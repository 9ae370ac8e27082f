// The status refresh: rebuilds the status panel's read-outs and the enabling of every control of
// the main window from the logger model, the data sets, the port state and the display
// selection. It finds the controls by object name, so it needs no compile-time knowledge of the
// window, and it skips a control that is missing.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>

#include "data/dataset.h"
#include "data/datasets.h"
#include "data/messagetable.h"
#include "link/loggerstate.h"

class Engine;

// Display choices the main window owns and the refresh reads.
struct StatusView {
    std::int16_t Portnum = 0;
    std::uint8_t Disp_stat = 0;  // 0 log, 1 real-time, 2 file
    int viewMode = 0;            // 0 graph, 1 table
};

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

namespace StatusColours {
QColor buttonFace();
inline const QColor kRed{255, 0, 0};
inline const QColor kLampOff{0, 0, 0};
inline const QColor kLampOn{128, 255, 128};
}  // namespace StatusColours

class StatusRefresh {
  public:
    StatusRefresh(QObject* window, Engine& engine, LoggerState& state, DataSets& dataSets,
                  const MessageTable& messages);

    // The main window's busy pointer (false restores the default pointer).
    void setPointerHook(std::function<void(bool busy)> hook) { pointer_ = std::move(hook); }
    // Shows the connect button's on or off picture for the language in use.
    void setConnectImageHook(std::function<void(bool on)> hook) { connectImage_ = std::move(hook); }

    void run(const StatusView& view);

    // The operation controls the procedures disable while they run; enabling also enables the
    // display options.
    void disableOperationControls();
    void enableOperationControls();
    // Disables the timers a procedure or measurement uses.
    void stopTimers();

  private:
    void showNotConnected();
    void showConnected(const StatusView& view);
    void showRecording();
    void showReserved();
    void showContinuous();
    void showStopped();
    void showCommonTail(const StatusView& view);
    void setGraphControlsVisible(bool visible);
    void setConnectButton(bool on);
    void setWindow(const char* property, const QVariant& value);
    QString message(int index) const { return messages_.text(index); }

    QObject* window_;
    Engine& engine_;
    LoggerState& state_;
    DataSets& dataSets_;
    const MessageTable& messages_;
    std::function<void(bool)> pointer_;
    std::function<void(bool)> connectImage_;
};

// The Update button (Command11): queues the status read with an empty keyword when no procedure
// runs; the refresh follows at the procedure's end. False when refused.
bool Command11_Click(Engine& engine);
