// The main window's controls as operations reach them: by typed id, whatever shows them. The
// window gives widgets; the command line has none. Operations only set controls: what the user
// chose reaches them as arguments. A control that is not there is skipped: a failed single
// update never stops the operation that asked for it.
#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>

#include "controls/controlid.h"

// The few colours the operations paint controls with; the window maps them to its palette.
enum class Shade { Default, ButtonFace, Black, Red, LampOn };

class Controls {
  public:
    virtual ~Controls() = default;

    virtual void setEnabled(ControlId id, bool enabled) = 0;
    virtual void setVisible(ControlId id, bool visible) = 0;
    // The caption of a frame, else the text of a label, button or menu item.
    virtual void setText(ControlId id, const QString& text) = 0;
    virtual void setChecked(ControlId id, bool checked) = 0;
    // A list box's items and the one it shows (none when `current` is not among them).
    virtual void setItems(ControlId id, const QStringList& items, const QString& current) = 0;
    // The longer text a screen reader speaks for the control.
    virtual void setDescription(ControlId id, const QString& text) = 0;
    virtual void setBackColour(ControlId id, Shade shade) = 0;
    virtual void setForeColour(ControlId id, Shade shade) = 0;
    // Closes a dialog or window if it exists.
    virtual void close(ControlId id) = 0;

    void setEnabled(std::initializer_list<ControlId> ids, bool enabled) {
        for (ControlId id : ids) {
            setEnabled(id, enabled);
        }
    }
    void setVisible(std::initializer_list<ControlId> ids, bool visible) {
        for (ControlId id : ids) {
            setVisible(id, visible);
        }
    }
};
