// The identification-name dialog: the name box and Set (Enter in the box sets too). A
// refused name is answered by the NameField and the logger's name returns to the box.
#pragma once

#include <QDialog>

#include "data/messagetable.h"
#include "operations/namefield.h"

class NameBox;

class NameDialog : public QDialog {
    Q_OBJECT
  public:
    NameDialog(NameField& field, const MessageTable& messages, QWidget* parent);
    QString name() const;

  private:
    void set();

    NameField& field_;
    NameBox* nameEdit_;
};
