// The setting dialogs' shared widgets; see dialogparts.h.
#include "ui/dialogparts.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "operations/namefield.h"

void layOutSmallDialog(QDialog& dialog, const char* name, QWidget* control,
                       std::initializer_list<QPushButton*> buttons) {
    dialog.setObjectName(QLatin1String(name));
    dialog.setModal(true);
    auto* frame = named<QGroupBox>("Frame1", &dialog);
    (new QHBoxLayout(frame))->addWidget(control);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    auto* layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(frame);
    layout->addLayout(row);
}

NameBox::NameBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(NameField::kLength);
}

void NameBox::restore(const QString& name) {
    setText(name);
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void NameBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A click that gave the focus would place the cursor after this; select once it is done.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void NameBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window becoming active (a message box, another program) is not leaving the box.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
        emit left(QApplication::focusWidget());
    }
}

UpScrollBar::UpScrollBar(int lowest, int highest, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent) {
    setSpan(lowest, highest);
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QScrollBar::valueChanged, this,
            [this](int value) { emit upValueChanged(-value); });
}

void UpScrollBar::setSpan(int lowest, int highest) {
    setRange(-highest, -lowest);
}
