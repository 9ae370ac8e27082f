// The communication dialog; see portdialog.h.
#include "ui/portdialog.h"

#include <QComboBox>
#include <QPushButton>

#include "controls/captions.h"
#include "ui/dialogparts.h"

PortDialog::PortDialog(const PortChoice& choice, const MessageTable& messages, QWidget* parent)
    : QDialog(parent),
      portList_(named<QComboBox>("Combo1")),
      connectButton_(named<QPushButton>("Command3")),
      port_(choice.port) {
    portList_->setAccessibleName(messages.text(Msg::PortNumberCaption));
    auto* cancelButton = named<QPushButton>("Command1");
    layOutSmallDialog(*this, "Form5", portList_, {connectButton_, cancelButton});
    setWindowTitle(messages.text(Msg::CommunicationCaption));
    applyDialogCaptions(this, portDialogCaptions(), messages);
    connectButton_->setText(messages.text(choice.connected ? Msg::Offline : Msg::Online));
    portList_->setEnabled(!choice.connected);
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        portList_->addItem(QString::number(port));
    }
    portList_->setCurrentIndex(portList_->findText(QString::number(port_)));
    portList_->setPlaceholderText(QString::number(port_));

    connect(portList_, &QComboBox::activated, this,
            [this](int index) { port_ = portList_->itemText(index).toInt(); });
    connect(connectButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}
