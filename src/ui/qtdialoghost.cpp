// Qt dialogs behind the DialogHost interface; see qtdialoghost.h.
#include "ui/qtdialoghost.h"

#include <QDesktopServices>

#include "ui/clockdialog.h"
#include "ui/historydialog.h"
#include "ui/namedialog.h"
#include "ui/portdialog.h"
#include "ui/recordingdialog.h"
#include "ui/setupcheckdialog.h"
#include "ui/versiondialog.h"

bool QtDialogHost::run(QDialog& dialog, std::optional<ControlId> id) {
    if (owner_) {
        dialog.setWindowIcon(owner_->windowIcon());
    }
    if (id) {
        controls_.add(*id, &dialog);
    }
    return dialog.exec() == QDialog::Accepted;
}

std::optional<RecordingRequest> QtDialogHost::recordingSetting(RecordingSetup& setup) {
    RecordingDialog dialog(setup, messages_, owner_);
    return run(dialog, ControlId::RecordingDialog) ? dialog.request() : std::nullopt;
}

std::optional<QString> QtDialogHost::identificationName(NameField& field) {
    NameDialog dialog(field, messages_, owner_);
    if (!run(dialog, ControlId::NameDialog)) {
        return std::nullopt;
    }
    return dialog.name();
}

bool QtDialogHost::clockSetting() {
    ClockDialog dialog(messages_, owner_);
    return run(dialog, ControlId::ClockDialog);
}

std::optional<int> QtDialogHost::communication(const PortChoice& choice) {
    PortDialog dialog(choice, messages_, owner_);
    if (!run(dialog, ControlId::PortDialog)) {
        return std::nullopt;
    }
    return dialog.port();
}

void QtDialogHost::version(const VersionTexts& texts) {
    VersionDialog dialog(texts, messages_, owner_);
    run(dialog, std::nullopt);
}

std::optional<RecordingSummary> QtDialogHost::history(HistoryOperation& history) {
    HistoryDialog dialog(history, owner_);
    return run(dialog, std::nullopt) ? dialog.chosen() : std::nullopt;
}

void QtDialogHost::setupCheck(const QString& title, const QString& report) {
    SetupCheckDialog dialog(title, report, messages_, owner_);
    run(dialog, std::nullopt);
}

bool QtDialogHost::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
