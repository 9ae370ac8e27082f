// The download progress dialog: modeless and without owner, a bar and a Cancel button;
// the caption carries the record counts. A close from its window menu is refused.
#pragma once

#include <QDialog>
#include <functional>

#include "operations/context.h"

class QCloseEvent;
class QProgressBar;
class QPushButton;
class MessageTable;

class ProgressDialog : public QDialog, public ProgressView {
    Q_OBJECT
  public:
    explicit ProgressDialog(const MessageTable& messages);

    // Shows the dialog at value 0 with the download title as caption and Cancel enabled.
    void open(std::function<void()> onCancel) override;
    void setProgress(int value, int maximum, const QString& caption) override;
    void closeByProgram() override;

    QProgressBar* bar() const { return bar_; }
    QPushButton* cancelButton() const { return cancel_; }

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const MessageTable& messages_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    std::function<void()> onCancel_;
    bool closing_ = false;
};
