// How the operations show their dialogs: each dialog returns what the user asked for and the
// operation turns it into commands. The application shows Qt dialogs over the main window;
// tests answer from a script.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

#include "archive/archive.h"
#include "operations/namefield.h"
#include "operations/recordingsetup.h"

class HistoryOperation;

// The communication dialog's start: whether a port is open, and the port number to offer.
struct PortChoice {
    bool connected = false;
    int port = 1;
};

// The version dialog's texts; an empty hardware line is not shown.
struct VersionTexts {
    QString title;
    QString model;
    QString hardware;
    QString application;
    QString maker;
    QString webAddress;
    QString licence;
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;
    // The recording-setting dialog on the setup: the confirmed request, or nothing when
    // cancelled or closed.
    virtual std::optional<RecordingRequest> recordingSetting(RecordingSetup& setup) = 0;
    // The identification-name dialog on the logger's name: the name to set, or nothing.
    virtual std::optional<QString> identificationName(NameField& field) = 0;
    // The clock dialog: true when Set was pressed.
    virtual bool clockSetting() = 0;
    // The communication dialog: the port to connect to (or to end the connection with), or nothing.
    virtual std::optional<int> communication(const PortChoice& choice) = 0;
    // The version dialog.
    virtual void version(const VersionTexts& texts) = 0;
    // The setup check's findings, one line each, under the title.
    virtual void setupCheck(const QString& title, const QString& report) = 0;
    // The desktop's handler for a web address; false when it could not open it.
    virtual bool openUrl(const QUrl& url) = 0;
    // The History dialog over the archive's recordings: the one to open, or nothing when
    // closed. A host without one opens nothing.
    virtual std::optional<RecordingSummary> history(HistoryOperation&) { return std::nullopt; }
};
