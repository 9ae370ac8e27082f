// Property access on named controls; see controls.h.
#include "operations/controls.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace Controls {

QObject* find(QObject* root, const QString& name) {
    if (root == nullptr) {
        return nullptr;
    }
    if (root->objectName() == name) {
        return root;
    }
    return root->findChild<QObject*>(name);
}

namespace {

// Only declared properties: setting an unknown one would silently add a dynamic property.
bool setDeclared(QObject* control, const char* property, const QVariant& value) {
    return control != nullptr && control->metaObject()->indexOfProperty(property) >= 0 &&
           control->setProperty(property, value);
}

}  // namespace

bool set(QObject* root, const QString& name, const char* property, const QVariant& value) {
    return setDeclared(find(root, name), property, value);
}

void setEnabled(QObject* root, const QString& name, bool enabled) {
    set(root, name, "enabled", enabled);
}

void setEnabled(QObject* root, std::initializer_list<const char*> names, bool enabled) {
    for (const char* name : names) {
        setEnabled(root, QString::fromLatin1(name), enabled);
    }
}

void setVisible(QObject* root, const QString& name, bool visible) {
    set(root, name, "visible", visible);
}

void setVisible(QObject* root, std::initializer_list<const char*> names, bool visible) {
    for (const char* name : names) {
        setVisible(root, QString::fromLatin1(name), visible);
    }
}

void setText(QObject* root, const QString& name, const QString& text) {
    QObject* control = find(root, name);
    // Group boxes carry their caption as a title.
    if (!setDeclared(control, "text", text)) {
        setDeclared(control, "title", text);
    }
}

void setChecked(QObject* root, const QString& name, bool checked) {
    set(root, name, "checked", checked);
}

namespace {

void setRoleColour(QObject* root, const QString& name, bool back, const QColor& colour) {
    auto* widget = qobject_cast<QWidget*>(find(root, name));
    if (widget == nullptr) {
        return;
    }
    QPalette palette = widget->palette();
    const QPalette::ColorRole role = back ? widget->backgroundRole() : widget->foregroundRole();
    const QColor fallback = QApplication::palette(widget).color(role);
    palette.setColor(role, colour.isValid() ? colour : fallback);
    widget->setPalette(palette);
    if (back) {
        widget->setAutoFillBackground(colour.isValid());
    }
}

QColor roleColour(QObject* root, const QString& name, bool back) {
    auto* widget = qobject_cast<QWidget*>(find(root, name));
    if (widget == nullptr) {
        return {};
    }
    return widget->palette().color(back ? widget->backgroundRole() : widget->foregroundRole());
}

}  // namespace

void setBackColour(QObject* root, const QString& name, const QColor& colour) {
    setRoleColour(root, name, true, colour);
}

void setForeColour(QObject* root, const QString& name, const QColor& colour) {
    setRoleColour(root, name, false, colour);
}

QColor backColour(QObject* root, const QString& name) {
    return roleColour(root, name, true);
}

QColor foreColour(QObject* root, const QString& name) {
    return roleColour(root, name, false);
}

void close(QObject* root, const QString& name) {
    if (auto* widget = qobject_cast<QWidget*>(find(root, name))) {
        widget->close();
    }
}

}  // namespace Controls
