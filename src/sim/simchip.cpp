// The chip's CBUS lines as logger-sim reads them.
#include "sim/simchip.h"

#include <sys/inotify.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

SimChip::SimChip(const QString& dir)
    : dir_(dir), path_(QDir(dir).filePath(QStringLiteral("cbus"))) {}

SimChip::~SimChip() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void SimChip::start() {
    offset_ = QFileInfo(path_).size();
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // The directory is watched, so the file is seen from its creation on.
    if (fd_ >= 0 && ::inotify_add_watch(fd_, QFile::encodeName(dir_).constData(),
                                        IN_MODIFY | IN_CREATE | IN_MOVED_TO) < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool SimChip::changed() {
    if (fd_ < 0) {
        return false;
    }
    bool any = false;
    alignas(inotify_event) char events[4096];
    while (::read(fd_, events, sizeof events) > 0) {
        any = true;
    }
    return any;
}

std::vector<std::uint8_t> SimChip::takeLevels() {
    std::vector<std::uint8_t> levels;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return levels;
    }
    if (file.size() < offset_) {
        offset_ = 0;
    }
    file.seek(offset_);
    const QByteArray fresh = file.readAll();
    // Only complete lines count; a line still being written is read next time.
    const qsizetype complete = fresh.lastIndexOf('\n') + 1;
    for (const QByteArray& line : fresh.left(complete).split('\n')) {
        bool ok = false;
        const int level = line.trimmed().toInt(&ok);
        if (ok && level >= 0 && level <= 255) {
            levels.push_back(static_cast<std::uint8_t>(level));
        }
    }
    offset_ += complete;
    return levels;
}
