// The command line's controls, display, progress, prompter and dialogs; see clihost.h.
#include "cli/clihost.h"

#include <QDateTime>

namespace {

constexpr int kIntervalRefused = 1219;
constexpr int kNoAlarm = 1220;
constexpr int kBoundRefused = 1221;
constexpr int kReserveRefused = 1222;
constexpr int kUnanswered = 1223;
constexpr int kBarWidth = 30;

// A message box's two parts, joined by two carriage returns, go on lines of their own: on a
// terminal a carriage return would write the second part over the first.
void printLine(QString text) {
    text.replace(MessageTable::kPartBreak, QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

TextControls::TextControls(const MessageTable& messages) {
    for (const ControlInfo& info : controlTable()) {
        if (info.caption) {
            at(info.id).text = messages.text(*info.caption);
        }
    }
}

void TextControls::setItems(ControlId id, const QStringList& items, const QString& current) {
    at(id).text = items.contains(current) ? current : QString();
}

void NoDisplay::appendNewest(DataSetIndex index) {
    shown_ = index;
    if (onAppend) {
        onAppend(index);
    }
}

void TerminalProgress::open(std::function<void()> onCancel) {
    onCancel_ = std::move(onCancel);
    open_ = true;
}

void TerminalProgress::setProgress(int value, int maximum, const QString& caption) {
    if (!terminal_ || !open_ || maximum <= 0) {
        return;
    }
    const int filled = static_cast<int>(static_cast<qint64>(kBarWidth) * value / maximum);
    const QString bar =
        QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'));
    std::fprintf(stderr, "\r%s [%s]", caption.toLocal8Bit().constData(),
                 bar.toLatin1().constData());
    std::fflush(stderr);
}

void TerminalProgress::closeByProgram() {
    if (terminal_ && open_) {
        std::fprintf(stderr, "\n");
    }
    open_ = false;
}

void TerminalProgress::cancel() {
    if (open_ && onCancel_) {
        onCancel_();
    }
}

void CliPrompter::message(const QString&, const QString& text) {
    messages.append(text);
    printLine(text);
}

bool CliPrompter::question(const QString&, const QString& text) {
    if (answer) {
        return *answer;
    }
    unanswered.append(text);
    printLine(table != nullptr ? table->text(kUnanswered).arg(text) : text);
    return false;
}

std::optional<RecordingRequest> CliDialogs::recordingSetting(RecordingSetup& setup) {
    setup.setLoop(options_.loop);
    setup.chooseSeconds(options_.interval.seconds);
    if (!setup.counts().contains(options_.interval.count)) {
        QStringList offered;
        const QString unit =
            options_.interval.seconds ? QStringLiteral("s") : QStringLiteral("min");
        for (int count : setup.counts()) {
            offered.append(QString::number(count) + unit);
        }
        refuse(messages_.text(kIntervalRefused).arg(offered.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    setup.chooseCount(options_.interval.count);
    if ((options_.upper || options_.lower) && !setup.alarmShown()) {
        refuse(messages_.text(kNoAlarm));
        return std::nullopt;
    }
    // The lower bound first, so the upper one is not pushed by a lower that is still the default.
    if (!setBound(setup, options_.lower, false) || !setBound(setup, options_.upper, true) ||
        !setReservation(setup)) {
        return std::nullopt;
    }
    return setup.confirm(options_.name, now_());
}

bool CliDialogs::refuse(const QString& text) {
    refused = true;
    prompter_.message(QString(), text);
    return false;
}

bool CliDialogs::setBound(RecordingSetup& setup, std::optional<int> degrees, bool upper) {
    if (!degrees) {
        return true;
    }
    const int first = upper ? RecordingSetup::kUpperMin : RecordingSetup::kLowerMin;
    const int last = upper ? RecordingSetup::kUpperMax : RecordingSetup::kLowerMax;
    if (*degrees < first || *degrees > last) {
        return refuse(messages_.text(kBoundRefused).arg(first).arg(last).arg(*degrees));
    }
    if (upper) {
        setup.setUpperOn(true);
        setup.setUpper(*degrees);
    } else {
        setup.setLowerOn(true);
        setup.setLower(*degrees);
    }
    // A pair the dialog would have pushed apart is refused rather than changed.
    if (options_.upper && options_.lower && *options_.lower >= *options_.upper) {
        return refuse(messages_.text(kBoundRefused).arg(first).arg(last).arg(*degrees));
    }
    return true;
}

bool CliDialogs::setReservation(RecordingSetup& setup) {
    if (!options_.at) {
        return true;
    }
    setup.setReserve(true, now_());
    const QDateTime base = setup.ReserveBase();
    const QDateTime last(base.date().addDays(setup.dayMax()), QTime(23, 59));
    const QDateTime at = *options_.at;
    if (at < base || at > last) {
        const QString pattern = QStringLiteral("yyyy-MM-dd HH:mm");
        return refuse(
            messages_.text(kReserveRefused).arg(base.toString(pattern), last.toString(pattern)));
    }
    setup.setDayOffset(static_cast<int>(base.date().daysTo(at.date())));
    setup.setHour(at.time().hour());
    setup.setMinute(at.time().minute());
    return true;
}
