// The identification-name dialog; see namedialog.h.
#include "ui/namedialog.h"

#include <QPushButton>

#include "controls/captions.h"
#include "ui/dialogparts.h"

NameDialog::NameDialog(NameField& field, const MessageTable& messages, QWidget* parent)
    : QDialog(parent), field_(field), nameEdit_(named<NameBox>("Text1", nullptr)) {
    nameEdit_->setAccessibleName(messages.text(Msg::RecognitionNameCaption));
    auto* setButton = named<QPushButton>("Command1");
    setButton->setAutoDefault(false);
    layOutSmallDialog(*this, "Form2", nameEdit_, {setButton});
    setWindowTitle(messages.text(Msg::NameSettingTitle));
    applyDialogCaptions(this, nameDialogCaptions(), messages);
    nameEdit_->setText(field_.loggerName());
    nameEdit_->setFocus(Qt::OtherFocusReason);
    connect(nameEdit_, &QLineEdit::returnPressed, this, &NameDialog::set);
    connect(setButton, &QPushButton::clicked, this, &NameDialog::set);
}

QString NameDialog::name() const {
    return nameEdit_->text();
}

void NameDialog::set() {
    if (field_.accept(nameEdit_->text())) {
        accept();
    } else {
        nameEdit_->restore(field_.loggerName());
    }
}
