// The command line's output file and standard output; see output.h.
#include "cli/output.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

QString shown(const QByteArray& path) {
    return QFile::decodeName(path);
}

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString fileFailure(const QByteArray& path, int error, const MessageTable& messages) {
    return messages.text(Msg::CliFileNotWritable)
        .arg(shown(path) + QStringLiteral(": ") + reason(error));
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        done += n;
    }
    return true;
}

}  // namespace

OutputFile::~OutputFile() {
    discard();
}

QString OutputFile::displayName() const {
    return shown(path_);
}

QString OutputFile::prepare(const QByteArray& path, const MessageTable& messages) {
    discard();
    path_ = path;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : path.left(slash));
    const QByteArray base = path.mid(slash + 1);
    struct stat target {};
    if (base.isEmpty() || (::stat(path.constData(), &target) == 0 && S_ISDIR(target.st_mode))) {
        return messages.text(Msg::CliOutIsFolder).arg(shown(path));
    }
    struct stat folderInfo {};
    if (::stat(folder.constData(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
        return messages.text(Msg::CliFolderMissing).arg(shown(folder));
    }
    mode_t mode = 0;
    if (::lstat(path.constData(), &target) == 0) {
        if (!S_ISREG(target.st_mode)) {
            return messages.text(Msg::CliOutNotRegularFile).arg(shown(path));
        }
        mode = target.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (base.size() > NAME_MAX) {
        return fileFailure(path, ENAMETOOLONG, messages);
    }
    QByteArray pattern = folder + "/.veltrane-cli.XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return messages.text(Msg::CliFolderNotWritable).arg(shown(folder), reason(errno));
    }
    fd_ = fd;
    temporary_ = pattern;
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;
        discard();
        return messages.text(Msg::CliFolderNotWritable).arg(shown(folder), reason(error));
    }
    return {};
}

QString OutputFile::append(const QByteArray& bytes, const MessageTable& messages) {
    if (fd_ < 0) {
        return fileFailure(path_, EBADF, messages);
    }
    if (!writeAll(fd_, bytes)) {
        const int error = errno;
        discard();
        return fileFailure(path_, error, messages);
    }
    return {};
}

QString OutputFile::commit(const QByteArray& bytes, const MessageTable& messages) {
    if (fd_ < 0) {
        return fileFailure(path_, EBADF, messages);
    }
    if (!writeAll(fd_, bytes) || ::fsync(fd_) != 0) {
        const int error = errno;
        discard();
        return fileFailure(path_, error, messages);
    }
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 || ::rename(temporary_.constData(), path_.constData()) != 0) {
        const int error = errno;
        discard();
        return fileFailure(path_, error, messages);
    }
    temporary_.clear();
    // The new name is safe only once the folder holding it is synced too.
    const qsizetype slash = path_.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : path_.left(slash));
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0 || ::fsync(folderFd) != 0) {
        const int error = errno;
        if (folderFd >= 0) {
            ::close(folderFd);
        }
        return fileFailure(path_, error, messages);
    }
    ::close(folderFd);
    return {};
}

void OutputFile::discard() {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.isEmpty()) {
        ::unlink(temporary_.constData());
        temporary_.clear();
    }
}

QString writeStandardOutput(std::FILE* out, const QByteArray& bytes, const MessageTable& messages) {
    const auto failure = [&](int error) {
        return messages.text(Msg::CliStdoutNotWritable).arg(reason(error));
    };
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, out) != size || std::fflush(out) != 0 ||
        std::ferror(out) != 0) {
        return failure(errno != 0 ? errno : EIO);
    }
    struct stat info {};
    if (::fstat(::fileno(out), &info) != 0) {
        return failure(errno);
    }
    if (S_ISREG(info.st_mode) && ::fsync(::fileno(out)) != 0) {
        return failure(errno);
    }
    return {};
}
