// The communication dialog: the port number 1 to 16 and Online (Offline while connected,
// with the list disabled). The button closes it with the chosen port for Port_Set_Command.
#pragma once

#include <QDialog>

#include "data/messagetable.h"
#include "operations/dialoghost.h"

class QComboBox;
class QPushButton;

class PortDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;

    PortDialog(const PortChoice& choice, const MessageTable& messages, QWidget* parent);
    int port() const { return port_; }

  private:
    QComboBox* portList_;
    QPushButton* connectButton_;
    int port_;
};
