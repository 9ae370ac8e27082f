// The recording-setting dialog's rules; see recordingsetup.h.
#include "operations/recordingsetup.h"

#include <algorithm>

namespace {

constexpr int kDefaultUpper = 40;
constexpr int kDefaultLower = 0;
constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kLastWholeMinutes = 14400;

// The number forms of the table write the two digits as "00" among their own characters.
QString twoDigitForm(int value, const QString& form) {
    QString text = form;
    return text.replace(QStringLiteral("00"),
                        QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')));
}

// The date form of the table writes the month as "mm", Qt as "MM".
QString dateForm(const QDate& date, const QString& form) {
    QString pattern = form;
    return date.toString(pattern.replace(QStringLiteral("mm"), QStringLiteral("MM")));
}

}  // namespace

RecordingSetup::RecordingSetup(const MessageTable& messages, Prompter& prompter,
                               const QString& title)
    : messages_(messages),
      prompter_(prompter),
      nameField_(QString(), Msg::RecordingNameLetterNotUsable, messages, prompter, title) {}

void RecordingSetup::load(const LoggerState& state, const DataSet& logHeader,
                          const QString& shownModel) {
    M_Interval_Min_ = 60;
    M_Interval_Sec_ = 30;
    setReserve(false, QDateTime());
    seconds_ = false;

    nameField_.setLoggerName(state.VT_Name);
    name_ = state.VT_Name;
    loop_ = state.Memory_Mode != 0;

    const bool inRange = logHeader.upperBound >= kUpperMin && logHeader.upperBound <= kUpperMax &&
                         logHeader.lowerBound >= kLowerMin && logHeader.lowerBound <= kLowerMax;
    setUpper(inRange ? logHeader.upperBound : kDefaultUpper);
    setLower(inRange ? logHeader.lowerBound : kDefaultLower);
    upperOn_ = logHeader.upperOn != 0;
    lowerOn_ = logHeader.lowerOn != 0;

    // An interval that is neither whole seconds below a minute nor whole minutes keeps the
    // minutes count the dialog already has.
    const std::int32_t m = logHeader.interval;
    if (m >= 1 && m <= kLastMinute) {
        M_Interval_Sec_ = static_cast<std::int16_t>(m);
        seconds_ = true;
    } else if (m >= 60 && m <= kLastWholeMinutes && m % 60 == 0) {
        M_Interval_Min_ = static_cast<std::int16_t>(m / 60);
    }
    alarmShown_ = shownModel == kModelQM320;
}

bool RecordingSetup::setName(const QString& name) {
    if (nameField_.accept(name)) {
        name_ = name;
        return true;
    }
    name_ = nameField_.loggerName();
    return false;
}

QList<int> RecordingSetup::counts() const {
    const int first = seconds_ ? kSecondsFirst : kMinutesFirst;
    const int last = seconds_ ? kSecondsLast : kMinutesLast;
    QList<int> list;
    for (int n = first; n <= last; ++n) {
        list.append(n);
    }
    return list;
}

void RecordingSetup::chooseCount(int count) {
    if (seconds_ && count >= kSecondsFirst && count <= kSecondsLast) {
        M_Interval_Sec_ = static_cast<std::int16_t>(count);
    } else if (!seconds_ && count >= kMinutesFirst && count <= kMinutesLast) {
        M_Interval_Min_ = static_cast<std::int16_t>(count);
    }
}

void RecordingSetup::setUpper(int degrees) {
    upper_ = std::clamp(degrees, kUpperMin, kUpperMax);
    if (lower_ >= upper_) {
        lower_ = upper_ - 1;
    }
}

void RecordingSetup::setLower(int degrees) {
    lower_ = std::clamp(degrees, kLowerMin, kLowerMax);
    if (lower_ >= upper_) {
        upper_ = lower_ + 1;
    }
}

void RecordingSetup::setReserve(bool on, const QDateTime& now) {
    reserve_ = on;
    if (!on) {
        return;
    }
    ReserveBase_ = now.addSecs(60);
    dayMax_ = reservableDays(ReserveBase_.date());
    dayOffset_ = 0;
    hour_ = ReserveBase_.time().hour();
    minute_ = ReserveBase_.time().minute();
}

int RecordingSetup::reservableDays(const QDate& base) {
    int last = 0;
    int monthChanges = 0;
    for (int i = 1;; ++i) {
        last = i - 1;
        if (base.addDays(i).month() != base.addDays(i - 1).month()) {
            ++monthChanges;
        }
        if (base.addDays(i).day() == base.day() || monthChanges >= 2) {
            return last;
        }
    }
}

void RecordingSetup::setDayOffset(int days) {
    dayOffset_ = std::clamp(days, 0, dayMax_);
}

void RecordingSetup::setHour(int hour) {
    hour_ = hour < 0 ? kLastHour : hour > kLastHour ? 0 : hour;
}

void RecordingSetup::setMinute(int minute) {
    minute_ = minute < 0 ? kLastMinute : minute > kLastMinute ? 0 : minute;
}

QDateTime RecordingSetup::reservedTime() const {
    return QDateTime(ReserveBase_.date().addDays(dayOffset_), QTime(hour_, minute_, 0));
}

std::optional<RecordingRequest> RecordingSetup::confirm(const QString& name, const QDateTime& now) {
    if (!setName(name)) {
        return std::nullopt;
    }
    RecordingRequest request{name_,    loop_,    seconds_ ? kUnitSeconds : kUnitMinutes,
                             count(),  upper_,   lower_,
                             upperOn_, lowerOn_, std::nullopt};
    if (reserve_) {
        const QDateTime start = reservedTime();
        // The same day of the month as today in another month is a month or more ahead.
        const bool monthAhead =
            start.date().day() == now.date().day() && start.date().month() != now.date().month();
        if (start < now || monthAhead) {
            prompter_.message(kModelQM300, messages_.text(Msg::ReservationTimeWrong));
            setReserve(true, now);
            return std::nullopt;
        }
        request.reservedStart = start;
    }
    return request;
}

QString RecordingSetup::unitCaption() const {
    return messages_.text(seconds_ ? Msg::IntervalSecondsOption : Msg::IntervalMinutesOption);
}

QString RecordingSetup::upperLabel() const {
    return QString::number(upper_) + messages_.text(Msg::BoundDegreeUnit);
}

QString RecordingSetup::lowerLabel() const {
    return QString::number(lower_) + messages_.text(Msg::BoundDegreeUnit);
}

QString RecordingSetup::dayLabel() const {
    if (!reserve_) {
        return messages_.text(Msg::NoReservedDate);
    }
    return dateForm(ReserveBase_.date().addDays(dayOffset_),
                    messages_.text(Msg::ReservedDateFormat));
}

QString RecordingSetup::hourLabel() const {
    return reserve_ ? twoDigitForm(hour_, messages_.text(Msg::ReservedHourFormat))
                    : messages_.text(Msg::NoReservedHour);
}

QString RecordingSetup::minuteLabel() const {
    return reserve_ ? twoDigitForm(minute_, messages_.text(Msg::ReservedMinuteFormat))
                    : messages_.text(Msg::NoReservedMinute);
}

QString RecordingSetup::confirmCaption() const {
    return messages_.text(reserve_ ? Msg::ReserveButton : Msg::RecordStartButton);
}
