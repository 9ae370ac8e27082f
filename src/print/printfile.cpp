// Document files: every write, the sync and the close are checked; the folder is synced after
// the rename so the new name survives a crash.
#include "print/printfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

namespace {

// Names tried before giving up on a folder full of taken names.
constexpr int kNameAttempts = 100;

}  // namespace

DocumentFile::~DocumentFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!path_.isEmpty() && !committed_) {
        QFile::remove(path_);
    }
}

bool DocumentFile::failed(int error) {
    if (reason_.isEmpty()) {
        reason_ = QString::fromLocal8Bit(std::strerror(error));
    }
    return false;
}

bool DocumentFile::create(const QString& folder, const QString& prefix, const QString& suffix,
                          mode_t mode) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString name =
            prefix + QString::number(QRandomGenerator::global()->generate64(), 36) + suffix;
        const QString path = folder + QLatin1Char('/') + name;
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fd_ = fd;
            path_ = path;
            return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        }
        if (errno != EEXIST) {
            return failed(errno);
        }
    }
    return failed(EEXIST);
}

qint64 DocumentFile::readData(char*, qint64) {
    return -1;
}

qint64 DocumentFile::writeData(const char* data, qint64 size) {
    if (fd_ < 0 || !reason_.isEmpty()) {
        return -1;
    }
    qint64 done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd_, data + done, static_cast<size_t>(size - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failed(written < 0 ? errno : ENOSPC);
            return -1;
        }
        done += written;
    }
    return done;
}

bool DocumentFile::seek(qint64 pos) {
    if (fd_ < 0 || ::lseek(fd_, pos, SEEK_SET) < 0) {
        return failed(fd_ < 0 ? EBADF : errno);
    }
    return QIODevice::seek(pos);
}

bool DocumentFile::finish() {
    QIODevice::close();
    if (fd_ < 0) {
        return failed(EBADF);
    }
    const bool synced = ::fsync(fd_) == 0 || failed(errno);
    const bool closed = ::close(fd_) == 0 || failed(errno);
    fd_ = -1;
    return synced && closed && reason_.isEmpty();
}

bool DocumentFile::commit(const QString& target) {
    if (fd_ >= 0 || path_.isEmpty() || !reason_.isEmpty()) {
        return false;
    }
    if (::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) !=
        0) {
        return failed(errno);
    }
    committed_ = true;
    const int folder = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
