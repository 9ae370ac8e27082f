// Typed access to the main window's widgets; see widgetcontrols.h.
#include "ui/widgetcontrols.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QScrollBar>

#include "controls/captions.h"

namespace {

std::size_t slot(ControlId id) {
    return static_cast<std::size_t>(id);
}

bool isDeclared(const QObject* control, const char* property) {
    return control != nullptr && control->metaObject()->indexOfProperty(property) >= 0;
}

// Whether an object found by name is of the table's kind for it.
bool hasKind(QObject* object, ControlKind kind) {
    switch (kind) {
        case ControlKind::Window:
        case ControlKind::Pane:
        case ControlKind::Graph:
            return object->isWidgetType();
        case ControlKind::Frame:
            return qobject_cast<QGroupBox*>(object) != nullptr;
        case ControlKind::Label:
            return qobject_cast<QLabel*>(object) != nullptr;
        case ControlKind::Button:
        case ControlKind::Option:
            return qobject_cast<QAbstractButton*>(object) != nullptr;
        case ControlKind::Combo:
            return qobject_cast<QComboBox*>(object) != nullptr;
        case ControlKind::ScrollBar:
            return qobject_cast<QScrollBar*>(object) != nullptr;
        case ControlKind::Menu: {
            auto* action = qobject_cast<QAction*>(object);
            return action != nullptr && action->menu<QMenu*>() != nullptr;
        }
        case ControlKind::Action: {
            auto* action = qobject_cast<QAction*>(object);
            return action != nullptr && action->menu<QMenu*>() == nullptr;
        }
        case ControlKind::Dialog:
            return false;
    }
    return false;
}

bool insideScope(const QObject* object, const char* scope) {
    if (scope == nullptr) {
        return true;
    }
    for (const QObject* parent = object->parent(); parent != nullptr; parent = parent->parent()) {
        if (parent->objectName() == QLatin1String(scope)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void WidgetControls::add(ControlId id, QObject* object) {
    objects_[slot(id)] = object;
}

QObject* WidgetControls::object(ControlId id) const {
    return id == ControlId::Count ? nullptr : objects_[slot(id)].data();
}

QStringList WidgetControls::registerFrom(QObject* root) {
    QStringList problems;
    for (const ControlInfo& info : controlTable()) {
        if (info.kind == ControlKind::Dialog) {
            continue;
        }
        if (info.kind == ControlKind::Window) {
            add(info.id, root);
            continue;
        }
        QList<QObject*> found;
        for (QObject* candidate : root->findChildren<QObject*>(QLatin1String(info.name))) {
            if (hasKind(candidate, info.kind) && insideScope(candidate, info.scope)) {
                found.append(candidate);
            }
        }
        if (found.size() == 1) {
            add(info.id, found.front());
        } else {
            problems.append(QStringLiteral("%1: found %2 times")
                                .arg(QLatin1String(info.name))
                                .arg(found.size()));
        }
    }
    return problems;
}

void WidgetControls::applyCaptions(const MessageTable& messages) {
    for (const ControlInfo& info : controlTable()) {
        if (info.caption && info.kind != ControlKind::Window) {
            setCaption(object(info.id), messages.text(*info.caption));
        }
    }
}

bool WidgetControls::set(ControlId id, const char* property, const QVariant& value) {
    QObject* control = object(id);
    return isDeclared(control, property) && control->setProperty(property, value);
}

void WidgetControls::setEnabled(ControlId id, bool enabled) {
    set(id, "enabled", enabled);
}

void WidgetControls::setVisible(ControlId id, bool visible) {
    set(id, "visible", visible);
}

void WidgetControls::setText(ControlId id, const QString& text) {
    setCaption(object(id), text);
}

void WidgetControls::setDescription(ControlId id, const QString& text) {
    set(id, "accessibleDescription", text);
}

void WidgetControls::setChecked(ControlId id, bool checked) {
    set(id, "checked", checked);
}

void WidgetControls::setItems(ControlId id, const QStringList& items, const QString& current) {
    if (auto* list = as<QComboBox>(id)) {
        list->clear();
        list->addItems(items);
        list->setCurrentIndex(list->findText(current));
    }
}

QString WidgetControls::text(ControlId id) const {
    const QObject* control = object(id);
    if (control == nullptr) {
        return {};
    }
    for (const char* property : {"title", "text", "currentText", "windowTitle"}) {
        if (isDeclared(control, property)) {
            return control->property(property).toString();
        }
    }
    return {};
}

bool WidgetControls::enabled(ControlId id) const {
    const QObject* control = object(id);
    if (const auto* widget = qobject_cast<const QWidget*>(control)) {
        return widget->isEnabledTo(widget->window());
    }
    return control != nullptr && control->property("enabled").toBool();
}

bool WidgetControls::shown(ControlId id) const {
    const QObject* control = object(id);
    if (const auto* widget = qobject_cast<const QWidget*>(control)) {
        return !widget->isHidden();
    }
    return control != nullptr && control->property("visible").toBool();
}

namespace {

void setRoleColour(QWidget* widget, bool back, const QColor& colour) {
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

QColor roleColour(const QWidget* widget, bool back) {
    if (widget == nullptr) {
        return {};
    }
    return widget->palette().color(back ? widget->backgroundRole() : widget->foregroundRole());
}

}  // namespace

QColor shadeColour(Shade shade) {
    switch (shade) {
        case Shade::Default:
            return {};
        case Shade::ButtonFace:
            return QApplication::palette().color(QPalette::Button);
        case Shade::Black:
            return {0, 0, 0};
        case Shade::Red:
            return {255, 0, 0};
        case Shade::LampOn:
            return {128, 255, 128};
    }
    return {};
}

void WidgetControls::setBackColour(ControlId id, Shade shade) {
    setRoleColour(as<QWidget>(id), true, shadeColour(shade));
}

void WidgetControls::setForeColour(ControlId id, Shade shade) {
    setRoleColour(as<QWidget>(id), false, shadeColour(shade));
}

QColor WidgetControls::backColour(ControlId id) const {
    return roleColour(as<QWidget>(id), true);
}

QColor WidgetControls::foreColour(ControlId id) const {
    return roleColour(as<QWidget>(id), false);
}

void WidgetControls::close(ControlId id) {
    if (auto* widget = as<QWidget>(id)) {
        widget->close();
    }
}
