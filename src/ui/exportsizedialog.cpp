// Export size dialog: two spin boxes and OK / Cancel.
#include "ui/exportsizedialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ExportSizeDialog::ExportSizeDialog(QSize proposed, const MessageTable& messages, QWidget* parent)
    : QDialog(parent), width_(new QSpinBox(this)), height_(new QSpinBox(this)) {
    setObjectName(QStringLiteral("ExportSizeDialog"));
    setModal(true);
    setWindowTitle(messages.text(Msg::ExportGraphCaption));
    const QString caption = messages.text(Msg::ExportSizeCaption);
    for (QSpinBox* box : {width_, height_}) {
        box->setRange(kSmallest, kLargest);
    }
    width_->setObjectName(QStringLiteral("WidthBox"));
    height_->setObjectName(QStringLiteral("HeightBox"));
    width_->setValue(proposed.width());
    height_->setValue(proposed.height());
    width_->setAccessibleName(caption + QStringLiteral(" 1"));
    height_->setAccessibleName(caption + QStringLiteral(" 2"));

    auto* row = new QHBoxLayout;
    row->addWidget(width_);
    row->addWidget(new QLabel(QStringLiteral("×"), this));
    row->addWidget(height_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(caption, this);
    label->setBuddy(width_);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

std::optional<QSize> ExportSizeDialog::ask(QSize proposed, const MessageTable& messages,
                                           QWidget* parent) {
    ExportSizeDialog dialog(proposed, messages, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}
