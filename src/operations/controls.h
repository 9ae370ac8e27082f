// Setting properties of the main window's controls by object name. Widgets and menu actions
// alike are reached through findChild, and a control that is missing is skipped: a failed
// single update never stops the operation that asked for it.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariant>
#include <initializer_list>

namespace Controls {

QObject* find(QObject* root, const QString& name);

// False when the control is missing or has no such property.
bool set(QObject* root, const QString& name, const char* property, const QVariant& value);

void setEnabled(QObject* root, const QString& name, bool enabled);
void setEnabled(QObject* root, std::initializer_list<const char*> names, bool enabled);
void setVisible(QObject* root, const QString& name, bool visible);
void setVisible(QObject* root, std::initializer_list<const char*> names, bool visible);
void setText(QObject* root, const QString& name, const QString& text);
void setChecked(QObject* root, const QString& name, bool checked);
// Back and fore colours of a widget; an invalid colour restores the style's own colour.
void setBackColour(QObject* root, const QString& name, const QColor& colour);
void setForeColour(QObject* root, const QString& name, const QColor& colour);
// The colour a control currently paints its background with (invalid when missing).
QColor backColour(QObject* root, const QString& name);
QColor foreColour(QObject* root, const QString& name);
// Closes a dialog or window if it exists.
void close(QObject* root, const QString& name);

}  // namespace Controls
