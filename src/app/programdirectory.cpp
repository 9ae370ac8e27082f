// Choosing the program's folders.
#include "app/programdirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

namespace {

const char* const kSystemPrefixes[] = {"/usr", "/bin", "/sbin", "/opt", "/snap"};

bool under(const QString& path, const QString& prefix) {
    return path == prefix || path.startsWith(prefix + u'/');
}

}  // namespace

QString ProgramDirectory::prepare(const QString& dir) {
    if (dir.isEmpty()) {
        return QStringLiteral("no folder");
    }
    errno = 0;
    if (!QDir().mkpath(dir)) {
        return QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EACCES));
    }
    if (!QFileInfo(dir).isWritable()) {
        return QString::fromLocal8Bit(std::strerror(EACCES));
    }
    return {};
}

bool ProgramDirectory::installed(const QString& executableDir) {
    if (!QDir::isAbsolutePath(executableDir)) {
        return false;
    }
    const QString path = QDir::cleanPath(executableDir);
    for (const char* prefix : kSystemPrefixes) {
        if (under(path, QLatin1String(prefix))) {
            return true;
        }
    }
    return false;
}

ProgramFolders ProgramDirectory::choose(const QString& executableDir, const UserFolders& user) {
    if (!installed(executableDir)) {
        return ProgramFolders{executableDir, executableDir};
    }
    const QString scratch = !user.runtime.isEmpty() ? user.runtime
                            : !user.cache.isEmpty() ? user.cache
                                                    : user.data;
    return ProgramFolders{user.data, scratch};
}

ProgramFolders ProgramDirectory::resolve(QString& failedFolder, QString& reason) {
    UserFolders user;
    user.data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Only a runtime folder the session names: Qt would otherwise make one up under /tmp.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        user.runtime = QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
                           .filePath(QCoreApplication::applicationName());
    }
    user.cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const ProgramFolders folders = choose(QCoreApplication::applicationDirPath(), user);
    for (const QString& dir : {folders.data, folders.scratch}) {
        reason = prepare(dir);
        if (!reason.isEmpty()) {
            failedFolder = dir;
            return {};
        }
    }
    return folders;
}
