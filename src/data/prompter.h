// Every question, message box and file dialog goes through this interface: the application
// answers with Qt dialogs, tests with a scripted fake.
#pragma once

#include <QString>
#include <QStringList>

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A modal box with an OK button.
    virtual void message(const QString& title, const QString& text) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool question(const QString& title, const QString& text) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString saveFileName(const QString& caption, const QString& directory,
                                 const QString& proposedName, const QString& filter) = 0;
    virtual QString openFileName(const QString& caption, const QString& directory,
                                 const QString& filter) = 0;
};
