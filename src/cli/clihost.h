// The command line's side of the operations' interfaces: no controls (the status is printed
// from the panel's value), no display, no pointer, a progress bar on a terminal, questions
// answered from the flags and dialogs filled from them.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

#include "cli/options.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "operations/context.h"
#include "operations/controls.h"
#include "operations/dialoghost.h"

class NoControls : public Controls {
  public:
    using Controls::setEnabled;
    using Controls::setVisible;
    void setEnabled(ControlId, bool) override {}
    void setVisible(ControlId, bool) override {}
    void setText(ControlId, const QString&) override {}
    void setChecked(ControlId, bool) override {}
    void setItems(ControlId, const QStringList&, const QString&) override {}
    void setDescription(ControlId, const QString&) override {}
    void setBackColour(ControlId, Shade) override {}
    void setForeColour(ControlId, Shade) override {}
    void close(ControlId) override {}
};

class NoDisplay : public DataDisplay {
  public:
    DataSetIndex shown() const override { return shown_; }
    int viewKind() const override { return Table; }
    void clear(DataSetIndex) override {}
    void show(DataSetIndex index, bool) override { shown_ = index; }
    void appendNewest(DataSetIndex index) override;
    void redrawIfGrown() override {}
    void setContinuous(bool) override {}

    // Called with the data set's index whenever a newest sample was written.
    std::function<void(DataSetIndex)> onAppend;

  private:
    DataSetIndex shown_ = LogData;
};

class NoPointer : public BusyPointer {
  public:
    void setBusy(bool) override {}
};

// A bar on standard error when it is a terminal; nothing otherwise.
class TerminalProgress : public ProgressView {
  public:
    explicit TerminalProgress(bool terminal) : terminal_(terminal) {}
    void open(std::function<void()> onCancel) override;
    void setProgress(int value, int maximum, const QString& caption) override;
    void closeByProgram() override;
    void cancel();

  private:
    bool terminal_;
    bool open_ = false;
    std::function<void()> onCancel_;
};

// Messages go to standard error and are kept for the exit code; a question is answered by
// the flag that names it, or refused with its text.
class CliPrompter : public Prompter {
  public:
    void message(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    // The path once: a refused name is not offered again.
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return std::exchange(savePath, QString());
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }

    // The answer to every question; none: a question is refused.
    std::optional<bool> answer;
    // Where a save goes; empty: the save is cancelled.
    QString savePath;
    QStringList messages;
    QStringList unanswered;
    const MessageTable* table = nullptr;
};

// The recording-setting dialog filled from the start flags; the other dialogs are not offered.
class CliDialogs : public DialogHost {
  public:
    CliDialogs(const CliOptions& options, const MessageTable& messages, Prompter& prompter,
               std::function<QDateTime()> now)
        : options_(options), messages_(messages), prompter_(prompter), now_(std::move(now)) {}

    std::optional<RecordingRequest> recordingSetting(RecordingSetup& setup) override;
    std::optional<QString> identificationName(NameField&) override { return std::nullopt; }
    bool clockSetting() override { return false; }
    std::optional<int> communication(const PortChoice&) override { return std::nullopt; }
    void version(const VersionTexts&) override {}
    void setupCheck(const QString&, const QString&) override {}
    bool openUrl(const QUrl&) override { return false; }

    // Set when the flags were refused (the message was shown).
    bool refused = false;

  private:
    bool refuse(const QString& text);
    bool setBound(RecordingSetup& setup, std::optional<int> degrees, bool upper);
    bool setReservation(RecordingSetup& setup);

    const CliOptions& options_;
    const MessageTable& messages_;
    Prompter& prompter_;
    std::function<QDateTime()> now_;
};
