// The clock dialog; see clockdialog.h.
#include "ui/clockdialog.h"

#include <QLabel>
#include <QPushButton>

#include "data/captions.h"
#include "operations/toolops.h"
#include "ui/dialogparts.h"

ClockDialog::ClockDialog(const MessageTable& messages, QWidget* parent)
    : QDialog(parent), label1_(named<QLabel>("Label1", QStringLiteral("----/--/-- --:--:--"))) {
    auto* command1 = named<QPushButton>("Command1");
    layOutSmallDialog(*this, "Form6", label1_, {command1});
    setWindowTitle(messages.text(Msg::ClockSettingTitle));
    applyDialogCaptions(this, form6Captions(), messages);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    tokei_.setObjectName(QStringLiteral("tokei"));
    connect(&tokei_, &QTimer::timeout, this, &ClockDialog::tick);
    tokei_.start(kTokeiMs);
}

void ClockDialog::tick() {
    label1_->setText(presentTimeText(QDateTime::currentDateTime()));
}
