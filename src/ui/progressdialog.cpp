// The download progress dialog.
#include "ui/progressdialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/controlid.h"
#include "data/messagetable.h"

ProgressDialog::ProgressDialog(const MessageTable& messages)
    : QDialog(nullptr),
      messages_(messages),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(this)) {
    setObjectName(QLatin1String(controlName(ControlId::ProgressDialog)));
    setModal(false);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setAccessibleName(messages_.text(Msg::DownloadTitle));
    cancel_->setObjectName(QStringLiteral("Command1"));
    cancel_->setText(messages_.text(Msg::CancelPortButton));
    cancel_->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    setMinimumWidth(360);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        // One cancel is enough; the download ends after the record in flight.
        cancel_->setEnabled(false);
        if (onCancel_) {
            onCancel_();
        }
    });
}

void ProgressDialog::open(std::function<void()> onCancel) {
    onCancel_ = std::move(onCancel);
    closing_ = false;
    setWindowIcon(QApplication::windowIcon());
    setWindowTitle(messages_.text(Msg::DownloadTitle));
    bar_->setRange(0, 1);
    bar_->setValue(0);
    cancel_->setEnabled(true);
    // The dialog has no parent window, so it would open in the middle of the screen; it opens
    // over the window the user clicked Download in instead.
    if (QWidget* owner = QApplication::activeWindow(); owner != nullptr && owner != this) {
        adjustSize();
        move(owner->frameGeometry().center() - rect().center());
    }
    show();
}

void ProgressDialog::setProgress(int value, int maximum, const QString& caption) {
    bar_->setMaximum(maximum > 0 ? maximum : 1);
    bar_->setValue(qBound(0, value, bar_->maximum()));
    setWindowTitle(caption);
}

void ProgressDialog::closeByProgram() {
    closing_ = true;
    close();
    closing_ = false;
    onCancel_ = nullptr;
}

void ProgressDialog::reject() {
    if (closing_) {
        QDialog::reject();
    }
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}
