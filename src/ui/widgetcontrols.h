// The main window's controls as widgets: the window registers them once at construction by the
// names of the control table, dialogs register themselves while they exist.
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <array>

#include "data/messagetable.h"
#include "operations/controls.h"

// The palette colour of a shade; invalid for the style's own colour.
QColor shadeColour(Shade shade);

class WidgetControls : public Controls {
  public:
    // Registers the object of an id; a dialog registers itself while it exists.
    void add(ControlId id, QObject* object);
    QObject* object(ControlId id) const;
    template <typename T>
    T* as(ControlId id) const {
        return qobject_cast<T*>(object(id));
    }

    // Registers every control of the table found below `root` (the window itself for
    // MainWindow): by object name and kind, inside its scope frame when it has one; dialogs are
    // left out. Returns one line per id that is missing or found more than once.
    QStringList registerFrom(QObject* root);
    // The captions of every registered control from the message table.
    void applyCaptions(const MessageTable& messages);

    using Controls::setEnabled;
    using Controls::setVisible;
    void setEnabled(ControlId id, bool enabled) override;
    void setVisible(ControlId id, bool visible) override;
    void setText(ControlId id, const QString& text) override;
    void setChecked(ControlId id, bool checked) override;
    void setItems(ControlId id, const QStringList& items, const QString& current) override;
    void setDescription(ControlId id, const QString& text) override;
    void setBackColour(ControlId id, Shade shade) override;
    void setForeColour(ControlId id, Shade shade) override;
    void close(ControlId id) override;

    // The caption, or the item a list box shows.
    QString text(ControlId id) const;
    // Enabled and not hidden as the control itself says, whatever its parents do.
    bool enabled(ControlId id) const;
    bool shown(ControlId id) const;

    // Only properties the control declares; false when it is missing or has no such property.
    bool set(ControlId id, const char* property, const QVariant& value);
    QColor backColour(ControlId id) const;
    QColor foreColour(ControlId id) const;

  private:
    std::array<QPointer<QObject>, kControlCount> objects_{};
};
