// Choosing the program's directory.
#include "app/programdirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramDirectory::choose(const QString& executableDir, const QString& fallbackDir,
                                 const std::function<bool(const QString&)>& isWritable) {
    if (!executableDir.isEmpty() && isWritable(executableDir)) {
        return executableDir;
    }
    return fallbackDir;
}

bool ProgramDirectory::isWritableDirectory(const QString& dir) {
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

QString ProgramDirectory::resolve() {
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString chosen =
        choose(QCoreApplication::applicationDirPath(), fallback, isWritableDirectory);
    if (chosen == fallback) {
        QDir().mkpath(fallback);
    }
    return chosen;
}
