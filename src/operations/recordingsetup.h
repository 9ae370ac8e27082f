// The recording-setting dialog as rules without widgets: filled from the logger picture
// and the log data set header, changed by the dialog's handlers, and confirmed into the request
// Log_Start programs. The dialog shows what this holds after every change.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/commands.h"
#include "link/loggerstate.h"
#include "operations/namefield.h"

// What the logger is to record: the confirmed contents of the recording-setting dialog.
struct RecordingRequest {
    QString name;
    bool loop = false;
    std::uint8_t unit = kUnitMinutes;
    int count = 60;
    int upper = 40;  // whole degrees Celsius
    int lower = 0;
    bool upperOn = false;
    bool lowerOn = false;
    // The reserved start; none: recording starts at once.
    std::optional<QDateTime> reservedStart;
};

class RecordingSetup {
  public:
    static constexpr int kUpperMin = -19;
    static constexpr int kUpperMax = 70;
    static constexpr int kLowerMin = -20;
    static constexpr int kLowerMax = 69;
    static constexpr int kSecondsFirst = 2;
    static constexpr int kSecondsLast = 59;
    static constexpr int kMinutesFirst = 1;
    static constexpr int kMinutesLast = 240;

    // Messages of the dialog are titled `title` (the model text).
    RecordingSetup(const MessageTable& messages, Prompter& prompter, const QString& title);

    // Opens the dialog on the logger's settings; `shownModel`, the model of the data set on
    // display, decides whether the alarm bounds are shown.
    void load(const LoggerState& state, const DataSet& logHeader, const QString& shownModel);

    // The name box lost the focus: false when the name was refused (the box then holds the
    // logger's name again).
    bool setName(const QString& name);
    void setLoop(bool loop) { loop_ = loop; }
    // The unit options: the list is refilled and shows the count last chosen for the unit.
    void chooseSeconds(bool seconds) { seconds_ = seconds; }
    // A count of the list, kept for the selected unit; anything else is ignored.
    void chooseCount(int count);
    // The bounds push each other so that the lower one stays below the upper one.
    void setUpper(int degrees);
    void setLower(int degrees);
    void setUpperOn(bool on) { upperOn_ = on; }
    void setLowerOn(bool on) { lowerOn_ = on; }
    // Reservation on: the base is one minute after `now`, the date range runs to the day
    // before the same day of the next month, hour and minute start at the base's.
    void setReserve(bool on, const QDateTime& now);
    void setDayOffset(int days);
    // Hour and minute wrap: below 0 to the last value, above it to 0.
    void setHour(int hour);
    void setMinute(int minute);

    // The confirm button with the name box's text: the request, or nothing when the name or
    // the reserved time is refused (the message was shown and the dialog stays open).
    std::optional<RecordingRequest> confirm(const QString& name, const QDateTime& now);

    const QString& name() const { return name_; }
    bool loop() const { return loop_; }
    bool seconds() const { return seconds_; }
    QList<int> counts() const;
    int count() const { return seconds_ ? M_Interval_Sec_ : M_Interval_Min_; }
    std::int16_t M_Interval_Min() const { return M_Interval_Min_; }
    std::int16_t M_Interval_Sec() const { return M_Interval_Sec_; }
    int upper() const { return upper_; }
    int lower() const { return lower_; }
    bool upperOn() const { return upperOn_; }
    bool lowerOn() const { return lowerOn_; }
    bool alarmShown() const { return alarmShown_; }
    bool reserve() const { return reserve_; }
    const QDateTime& ReserveBase() const { return ReserveBase_; }
    int dayOffset() const { return dayOffset_; }
    int dayMax() const { return dayMax_; }
    int hour() const { return hour_; }
    int minute() const { return minute_; }

    // Texts of the labels and the confirm button.
    QString unitCaption() const;
    QString upperLabel() const;
    QString lowerLabel() const;
    QString dayLabel() const;
    QString hourLabel() const;
    QString minuteLabel() const;
    QString confirmCaption() const;

    // The last day offset a reservation from `base` may take.
    static int reservableDays(const QDate& base);
    // The reserved start the controls hold.
    QDateTime reservedTime() const;

  private:
    const MessageTable& messages_;
    Prompter& prompter_;
    NameField nameField_;
    QString name_;
    bool loop_ = false;
    bool seconds_ = false;
    std::int16_t M_Interval_Min_ = 60;
    std::int16_t M_Interval_Sec_ = 30;
    int upper_ = 40;
    int lower_ = 0;
    bool upperOn_ = false;
    bool lowerOn_ = false;
    bool alarmShown_ = true;
    bool reserve_ = false;
    QDateTime ReserveBase_;
    int dayOffset_ = 0;
    int dayMax_ = 0;
    int hour_ = 0;
    int minute_ = 0;
};
