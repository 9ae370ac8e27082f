// Help > Check setup: the setup check's findings, one line each, read-only and selectable so a
// fix can be copied into a terminal; OK closes it.
#pragma once

#include <QDialog>

#include "data/messagetable.h"

class SetupCheckDialog : public QDialog {
    Q_OBJECT
  public:
    SetupCheckDialog(const QString& title, const QString& report, const MessageTable& messages,
                     QWidget* parent);
};
