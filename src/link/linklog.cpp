// The link's logging category, time stamps and byte formatting.
#include "link/linklog.h"

#include <QElapsedTimer>

#include "link/commands.h"

Q_LOGGING_CATEGORY(lcLink, "veltrane.link", QtWarningMsg)

namespace linkLog {
namespace {

QElapsedTimer& clock() {
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer;
}

}  // namespace

QString stamp() {
    return QString::asprintf("%10.3f ms", static_cast<double>(clock().nsecsElapsed()) / 1e6);
}

void restartClock() {
    clock().restart();
}

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

QString hex(std::span<const std::uint8_t> bytes) {
    return hex(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size())));
}

QString commandName(std::uint8_t code) {
    const char* name = commandNameOf(code);
    return name != nullptr ? QString::fromLatin1(name)
                           : QStringLiteral("command ") + QString::number(code);
}

}  // namespace linkLog
