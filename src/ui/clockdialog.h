// The clock dialog: the computer's present date-time, read out every 200 ms by its own
// timer, and Set, which closes it for the operation to set the logger's clock.
#pragma once

#include <QDialog>
#include <QTimer>

#include "data/messagetable.h"

class QLabel;

class ClockDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kClockTickMs = 200;

    ClockDialog(const MessageTable& messages, QWidget* parent);

  private:
    void tick();

    QLabel* presentTimeLabel_;
    QTimer clockTimer_;
};
