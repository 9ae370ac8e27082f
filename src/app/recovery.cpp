// Names and places of recovered data; see recovery.h.
#include "app/recovery.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace recovery {

namespace {

const QString kPrefix = QStringLiteral("unsaved-");
const QString kLog = QStringLiteral("log");
const QString kRealTime = QStringLiteral("real");

}  // namespace

QString folder(const QString& dataDirectory) {
    return QDir(dataDirectory).filePath(QStringLiteral("recovered"));
}

QString pendingName(DataSetIndex index, const QDateTime& when) {
    return kPrefix + (index == LogData ? kLog : kRealTime) + u'-' +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".csv");
}

QStringList pending(const QString& dataDirectory) {
    const QDir dir(folder(dataDirectory));
    QStringList paths;
    // The name carries the time: sorting by it puts the oldest first, log before real-time
    // data of the same moment.
    QStringList names = dir.entryList({kPrefix + QStringLiteral("*.csv")}, QDir::Files);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.section(u'-', 2) + a.section(u'-', 1, 1) <
               b.section(u'-', 2) + b.section(u'-', 1, 1);
    });
    for (const QString& name : names) {
        if (dataSetOf(name) != FileData) {
            paths.append(dir.filePath(name));
        }
    }
    return paths;
}

DataSetIndex dataSetOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (!name.startsWith(kPrefix)) {
        return FileData;
    }
    const QString kind = name.section(u'-', 1, 1);
    return kind == kLog ? LogData : kind == kRealTime ? RealTimeData : FileData;
}

QString keptPath(const QString& path) {
    const QFileInfo info(path);
    return info.dir().filePath(info.fileName().mid(kPrefix.size()));
}

bool syncFolder(const QString& directory) {
    const int fd =
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace recovery
