// The version dialog: the model, the hardware line when the firmware version is known,
// the application version, the maker's name, the licence and the program's icon; OK closes it.
#pragma once

#include <QDialog>

#include "data/messagetable.h"
#include "operations/dialoghost.h"

class VersionDialog : public QDialog {
    Q_OBJECT
  public:
    VersionDialog(const VersionTexts& texts, const MessageTable& messages, QWidget* parent);
};
