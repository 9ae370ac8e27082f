// What the setting dialogs share: named widgets, the small dialogs' form, the identification
// name box and the vertical scroll bar whose up arrow raises the value.
#pragma once

#include <QLineEdit>
#include <QScrollBar>
#include <initializer_list>
#include <utility>

class QDialog;
class QFocusEvent;
class QPushButton;

// A new widget with its object name.
template <typename T, typename... Args>
T* named(const char* name, Args&&... args) {
    T* widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The small dialogs' form: modal, named, one frame holding one control and the buttons
// in a row under it on the right; the dialog keeps its fitted size.
void layOutSmallDialog(QDialog& dialog, const char* name, QWidget* control,
                       std::initializer_list<QPushButton*> buttons);

// A name box of at most four characters; its whole text is selected when it gets the focus.
class NameBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit NameBox(QWidget* parent);
    // Puts `name` back, focused and fully selected.
    void restore(const QString& name);

  signals:
    // The user moved the focus to another control of the dialog.
    void left(QWidget* next);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Qt's vertical bar grows downwards; this one holds the negated value so that the larger value
// sits at the top and the up arrow raises it.
class UpScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    UpScrollBar(int lowest, int highest, QWidget* parent);
    void setSpan(int lowest, int highest);
    int upValue() const { return -value(); }
    void setUpValue(int value) { setValue(-value); }

  signals:
    void upValueChanged(int value);
};
