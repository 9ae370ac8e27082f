// The identification-name dialog; see namedialog.h.
#include "ui/namedialog.h"

#include <QPushButton>

#include "data/captions.h"
#include "ui/dialogparts.h"

NameDialog::NameDialog(NameField& field, const MessageTable& messages, QWidget* parent)
    : QDialog(parent), field_(field), text1_(named<NameBox>("Text1", nullptr)) {
    text1_->setAccessibleName(messages.text(Msg::RecognitionNameCaption));
    auto* command1 = named<QPushButton>("Command1");
    command1->setAutoDefault(false);
    layOutSmallDialog(*this, "Form2", text1_, {command1});
    setWindowTitle(messages.text(Msg::NameSettingTitle));
    applyDialogCaptions(this, form2Captions(), messages);
    text1_->setText(field_.loggerName());
    text1_->setFocus(Qt::OtherFocusReason);
    connect(text1_, &QLineEdit::returnPressed, this, &NameDialog::set);
    connect(command1, &QPushButton::clicked, this, &NameDialog::set);
}

QString NameDialog::name() const {
    return text1_->text();
}

void NameDialog::set() {
    if (field_.accept(text1_->text())) {
        accept();
    } else {
        text1_->restore(field_.loggerName());
    }
}
