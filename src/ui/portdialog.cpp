// The communication dialog; see portdialog.h.
#include "ui/portdialog.h"

#include <QComboBox>
#include <QPushButton>

#include "data/captions.h"
#include "ui/dialogparts.h"

PortDialog::PortDialog(const PortChoice& choice, const MessageTable& messages, QWidget* parent)
    : QDialog(parent),
      combo1_(named<QComboBox>("Combo1")),
      command3_(named<QPushButton>("Command3")),
      port_(choice.port) {
    combo1_->setAccessibleName(messages.text(Msg::PortNumberCaption));
    auto* command1 = named<QPushButton>("Command1");
    layOutSmallDialog(*this, "Form5", combo1_, {command3_, command1});
    setWindowTitle(messages.text(Msg::CommunicationCaption));
    applyDialogCaptions(this, form5Captions(), messages);
    command3_->setText(messages.text(choice.connected ? Msg::Offline : Msg::Online));
    combo1_->setEnabled(!choice.connected);
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        combo1_->addItem(QString::number(port));
    }
    combo1_->setCurrentIndex(combo1_->findText(QString::number(port_)));
    combo1_->setPlaceholderText(QString::number(port_));

    connect(combo1_, &QComboBox::activated, this,
            [this](int index) { port_ = combo1_->itemText(index).toInt(); });
    connect(command3_, &QPushButton::clicked, this, &QDialog::accept);
    connect(command1, &QPushButton::clicked, this, &QDialog::reject);
}
