// The dialogs shown as Qt dialogs, modal over the main window with its icon; each is registered
// with the controls while it is open, so the status refresh closes it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

#include "controls/controlid.h"
#include "data/messagetable.h"
#include "operations/dialoghost.h"
#include "ui/widgetcontrols.h"

class QDialog;

class QtDialogHost : public DialogHost {
  public:
    QtDialogHost(QWidget* owner, WidgetControls& controls, const MessageTable& messages)
        : owner_(owner), controls_(controls), messages_(messages) {}

    std::optional<RecordingRequest> recordingSetting(RecordingSetup& setup) override;
    std::optional<QString> identificationName(NameField& field) override;
    bool clockSetting() override;
    std::optional<int> communication(const PortChoice& choice) override;
    void version(const VersionTexts& texts) override;
    void setupCheck(const QString& title, const QString& report) override;
    bool openUrl(const QUrl& url) override;
    std::optional<RecordingSummary> history(HistoryOperation& history) override;

  private:
    // Runs the dialog to its end; true when it was accepted.
    bool run(QDialog& dialog, std::optional<ControlId> id);

    QPointer<QWidget> owner_;
    WidgetControls& controls_;
    const MessageTable& messages_;
};
