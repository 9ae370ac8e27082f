// Opening regular files only; see regularfile.h.
#include "data/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

RegularOpen openRegularForReading(const QString& path, QFile& file) {
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? RegularOpen::Missing : RegularOpen::Failed;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return RegularOpen::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return RegularOpen::NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return RegularOpen::Failed;
    }
    return RegularOpen::Ok;
}
