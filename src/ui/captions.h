// Captions of the main window's controls and of the dialogs by object name and message
// index, and the placement of the language-dependent labels.
#pragma once

#include <QWidget>
#include <span>

#include "data/messagetable.h"

struct CaptionBinding {
    const char* control;  // object name
    int message;
};

// Main window controls (menus are captioned by applyMenuCaptions); the title is message 1009.
std::span<const CaptionBinding> mainWindowCaptions();
inline constexpr int kMainWindowTitle = 1009;

// Dialogs, applied when each is loaded. A negative title means the dialog sets its own.
struct DialogCaptions {
    const char* dialog;
    int title;
    std::span<const CaptionBinding> controls;
};
DialogCaptions form2Captions();   // identification name
DialogCaptions form5Captions();   // port
DialogCaptions form6Captions();   // clock
DialogCaptions form9Captions();   // graph print
DialogCaptions form10Captions();  // dump print
DialogCaptions form12Captions();  // recording setting

// Sets the text of each named descendant of root (button, label, group box, action or menu).
// Returns the number of controls captioned; names not found are skipped.
int applyCaptions(QWidget* root, std::span<const CaptionBinding> bindings,
                  const MessageTable& messages);
// Title and controls of a dialog.
int applyDialogCaptions(QWidget* dialog, const DialogCaptions& captions,
                        const MessageTable& messages);

// 15 twips to a logical pixel (96 dpi); Qt scales logical pixels on high-density screens.
inline constexpr int twipsToPixels(int twips) {
    return (twips + (twips >= 0 ? 7 : -7)) / 15;
}

// Moves the main window's panel labels to the positions of the language last filled.
// Returns the number of placements applied.
int applyLabelPlacements(QWidget* root, const MessageTable& messages);
