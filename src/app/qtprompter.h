// The application's questions, message boxes and file dialogs, shown as Qt dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "data/prompter.h"

class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    QString saveFileName(const QString& caption, const QString& directory,
                         const QString& proposedName, const QString& filter) override;
    QString openFileName(const QString& caption, const QString& directory,
                         const QString& filter) override;

    // The message table writes filters as "Description|*.ext"; Qt wants "Description (*.ext)".
    static QString qtFilter(const QString& filter);

  private:
    QPointer<QWidget> owner_;
};
