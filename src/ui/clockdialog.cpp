// The clock dialog; see clockdialog.h.
#include "ui/clockdialog.h"

#include <QLabel>
#include <QPushButton>

#include "controls/captions.h"
#include "operations/toolops.h"
#include "ui/dialogparts.h"

ClockDialog::ClockDialog(const MessageTable& messages, QWidget* parent)
    : QDialog(parent),
      presentTimeLabel_(named<QLabel>("Label1", QStringLiteral("----/--/-- --:--:--"))) {
    auto* setButton = named<QPushButton>("Command1");
    layOutSmallDialog(*this, "Form6", presentTimeLabel_, {setButton});
    setWindowTitle(messages.text(Msg::ClockSettingTitle));
    applyDialogCaptions(this, clockDialogCaptions(), messages);
    connect(setButton, &QPushButton::clicked, this, &QDialog::accept);
    clockTimer_.setObjectName(QStringLiteral("tokei"));
    connect(&clockTimer_, &QTimer::timeout, this, &ClockDialog::tick);
    clockTimer_.start(kClockTickMs);
}

void ClockDialog::tick() {
    presentTimeLabel_->setText(presentTimeText(QDateTime::currentDateTime()));
}
