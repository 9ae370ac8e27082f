// Captions of the dialogs by object name and message index, applied through Qt's properties so
// any layer can caption its own widgets: "text" for buttons, labels and menu items, "title" for
// frames, "windowTitle" for the dialog itself. The main window's captions are in the control
// table.
#pragma once

#include <QObject>
#include <optional>
#include <span>

#include "data/messagetable.h"

struct CaptionBinding {
    const char* control;  // object name
    Msg message;
};

// A dialog's title (none: the dialog sets its own) and the captions of its controls.
struct DialogCaptions {
    const char* dialog;
    std::optional<Msg> title;
    std::span<const CaptionBinding> controls;
};
DialogCaptions nameDialogCaptions();
DialogCaptions portDialogCaptions();
DialogCaptions clockDialogCaptions();
DialogCaptions graphPrintDialogCaptions();
DialogCaptions dumpPrintDialogCaptions();
DialogCaptions recordingDialogCaptions();

// Sets the caption of one object: the title of a frame or menu, the text of a label, button or
// menu item, the title of a window.
// False when the object has neither.
bool setCaption(QObject* object, const QString& text);
// Title and named controls of a dialog; returns the number of controls captioned.
int applyDialogCaptions(QObject* dialog, const DialogCaptions& captions,
                        const MessageTable& messages);
