// The main window's controls as operations reach them: by typed id, through the objects the
// window registered once at construction (dialogs while they exist). A control that is not
// registered is skipped: a failed single update never stops the operation that asked for it.
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <initializer_list>

#include "data/controlid.h"
#include "data/messagetable.h"

class Controls {
  public:
    // Registers the object of an id; a dialog registers itself while it exists.
    void add(ControlId id, QObject* object);
    QObject* object(ControlId id) const;
    template <typename T>
    T* as(ControlId id) const {
        return qobject_cast<T*>(object(id));
    }

    // Registers every control of the table found below `root` (the window itself for Form1): by
    // object name and kind, inside its scope frame when it has one; dialogs are left out. Returns
    // one line per id that is missing or found more than once.
    QStringList registerFrom(QObject* root);
    // The captions of every registered control from the message table.
    void applyCaptions(const MessageTable& messages);

    void setEnabled(ControlId id, bool enabled);
    void setEnabled(std::initializer_list<ControlId> ids, bool enabled);
    void setVisible(ControlId id, bool visible);
    void setVisible(std::initializer_list<ControlId> ids, bool visible);
    // The caption of a frame, else the text of a label, button or menu item.
    void setText(ControlId id, const QString& text);
    void setChecked(ControlId id, bool checked);
    // A list box's items and the one it shows (none when `current` is not among them).
    void setItems(ControlId id, const QStringList& items, const QString& current);
    // Only properties the control declares; false when it is missing or has no such property.
    bool set(ControlId id, const char* property, const QVariant& value);

    // The caption, or the item a list box shows.
    QString text(ControlId id) const;
    // Enabled and not hidden as the control itself says, whatever its parents do.
    bool enabled(ControlId id) const;
    bool shown(ControlId id) const;

    // Back and fore colours of a widget; an invalid colour restores the style's own colour.
    void setBackColour(ControlId id, const QColor& colour);
    void setForeColour(ControlId id, const QColor& colour);
    QColor backColour(ControlId id) const;
    QColor foreColour(ControlId id) const;
    // Closes a dialog or window if it exists.
    void close(ControlId id);

  private:
    std::array<QPointer<QObject>, kControlCount> objects_{};
};
