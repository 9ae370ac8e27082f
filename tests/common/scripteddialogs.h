// Answers the operations' dialogs from a script, for the operation and window tests.
#pragma once

#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

#include "operations/dialoghost.h"

// Answers the dialogs from a script and records what each was opened on. A dialog without a
// script is cancelled.
class ScriptedDialogs : public DialogHost {
  public:
    std::function<std::optional<RecordingRequest>(RecordingSetup&)> recording;
    std::function<std::optional<QString>(NameField&)> name;
    bool clockSet = false;
    std::optional<int> port;
    bool browserOpens = true;
    // Answers the History dialog: the recording it opens, or nothing for Close.
    std::function<std::optional<RecordingSummary>(HistoryOperation&)> historyChoice;

    QStringList opened;  // object names of the dialogs, in order
    PortChoice portChoice;
    VersionTexts versionShown;
    QString setupCheckTitle;
    QString setupCheckShown;
    // Runs while the setup check's dialog is open, as the event loop goes on under it.
    std::function<void()> whileSetupCheckOpen;
    QUrl urlOpened;

    std::optional<RecordingRequest> recordingSetting(RecordingSetup& setup) override {
        open("Form12");
        return recording ? recording(setup) : std::nullopt;
    }
    std::optional<QString> identificationName(NameField& field) override {
        open("Form2");
        return name ? name(field) : std::nullopt;
    }
    bool clockSetting() override {
        open("Form6");
        return clockSet;
    }
    std::optional<int> communication(const PortChoice& choice) override {
        open("Form5");
        portChoice = choice;
        return port;
    }
    void version(const VersionTexts& texts) override {
        open("Form4");
        versionShown = texts;
    }
    void setupCheck(const QString& title, const QString& report) override {
        open("setupCheckDialog");
        setupCheckTitle = title;
        setupCheckShown = report;
        if (whileSetupCheckOpen) {
            whileSetupCheckOpen();
        }
    }
    bool openUrl(const QUrl& url) override {
        urlOpened = url;
        return browserOpens;
    }
    std::optional<RecordingSummary> history(HistoryOperation& history) override {
        open("historyDialog");
        return historyChoice ? historyChoice(history) : std::nullopt;
    }

  private:
    void open(const char* dialog) { opened.append(QLatin1String(dialog)); }
};
