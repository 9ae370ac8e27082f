// The version dialog; see versiondialog.h.
#include "ui/versiondialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kIconPixels = 48;

QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* widget = new QLabel(text, parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

VersionDialog::VersionDialog(const VersionTexts& texts, const MessageTable& messages,
                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setModal(true);
    setWindowTitle(texts.title);
    auto* image = label("Image1", QString(), this);
    image->setPixmap(QApplication::windowIcon().pixmap(kIconPixels));
    auto* hardware = label("Label4", texts.hardware, this);
    hardware->setVisible(!texts.hardware.isEmpty());
    // The web address is kept for the Help menu's web page, not shown.
    label("Label2", texts.webAddress, this)->setVisible(false);
    auto* ok = new QPushButton(messages.text(Msg::OkButton), this);
    ok->setObjectName(QStringLiteral("Command_ok"));

    auto* lines = new QVBoxLayout;
    lines->addWidget(label("Label3", texts.model, this));
    lines->addWidget(hardware);
    lines->addWidget(label("Label5", texts.application, this));
    lines->addWidget(label("Label1", texts.maker, this));
    lines->addWidget(label("licenceLabel", texts.licence, this));
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(image, 0, 0, Qt::AlignTop);
    grid->addLayout(lines, 0, 1);
    grid->addWidget(ok, 1, 1, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
