// Qt dialogs behind the Prompter interface.
#include "app/qtprompter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

QString QtPrompter::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString description = parts[i].trimmed();
        entries.append(description.contains(patterns)
                           ? description
                           : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    if (entries.isEmpty()) {
        return filter;
    }
    return entries.join(QStringLiteral(";;"));
}

void QtPrompter::message(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner_);
    box.exec();
}

bool QtPrompter::question(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompter::saveFileName(const QString& caption, const QString& directory,
                                 const QString& proposedName, const QString& filter) {
    const QString start =
        proposedName.isEmpty() ? directory : QDir(directory).filePath(proposedName);
    return QFileDialog::getSaveFileName(owner_, caption, start, qtFilter(filter));
}

QString QtPrompter::openFileName(const QString& caption, const QString& directory,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(owner_, caption, directory, qtFilter(filter));
}
