// Reading and writing Logger.ini.
#include "app/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "data/regularfile.h"

namespace {

constexpr int kMinPort = 1;
constexpr int kMaxPort = 255;
constexpr int kMinSelector = 1;
constexpr int kMaxSelector = 255;
constexpr auto kArchiveOff = "archive=off";

std::optional<std::int16_t> parseNumber(const QString& item, int low, int high) {
    bool ok = false;
    const int value = item.toInt(&ok);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

// A directory the quoted third field cannot carry unchanged.
bool storable(const QString& directory) {
    return !directory.contains(QLatin1Char('"')) && !directory.contains(QLatin1Char('\r')) &&
           !directory.contains(QLatin1Char('\n'));
}

}  // namespace

QStringList SettingsFile::listItems(const QString& text) {
    QStringList items;
    const auto isEnd = [](QChar c) { return c == u',' || c == u'\r' || c == u'\n'; };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text[i] == u' ') {
            ++i;
        }
        QString item;
        if (i < n && text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype stop = close < 0 ? n : close;
            item = text.mid(i + 1, stop - i - 1);
            i = stop + 1;
            while (i < n && !isEnd(text[i])) {
                ++i;
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isEnd(text[i])) {
                ++i;
            }
            item = text.mid(start, i - start).trimmed();
        }
        // A CR LF pair, like a lone CR or LF, ends one item.
        if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            ++i;
        }
        ++i;
        items.append(item);
    }
    return items;
}

std::optional<LoggerSettings> SettingsFile::parse(const QByteArray& bytes) {
    const QStringList items = listItems(QString::fromUtf8(bytes));
    if (items.size() < 3) {
        return std::nullopt;
    }
    const auto port = parseNumber(items[0], kMinPort, kMaxPort);
    const auto selector = parseNumber(items[1], kMinSelector, kMaxSelector);
    if (!port || !selector || items[2].isEmpty()) {
        return std::nullopt;
    }
    // After the directory: "1" with the dew-point line on, "archive=off" when downloads are
    // not kept; each is written only when it differs from the default.
    const QStringList extras = items.mid(3);
    LoggerSettings settings{*port, *selector, items[2]};
    settings.keepInArchive = !extras.contains(QLatin1String(kArchiveOff));
    settings.dewPointLine = extras.contains(QLatin1String("1"));
    return settings;
}

QByteArray SettingsFile::format(const LoggerSettings& settings) {
    return QStringLiteral("%1,%2,\"%3\"%4\r\n")
        .arg(settings.portnum)
        .arg(settings.selector)
        .arg(settings.directory,
             (settings.dewPointLine ? QStringLiteral(",1") : QString()) +
                 (settings.keepInArchive ? QString()
                                         : QStringLiteral(",") + QLatin1String(kArchiveOff)))
        .toUtf8();
}

LoggerSettings SettingsFile::defaults(const QString& programDirectory) {
    return LoggerSettings{1, 1, QDir::toNativeSeparators(programDirectory)};
}

SettingsFile::SettingsFile(QString programDirectory)
    : programDirectory_(std::move(programDirectory)) {}

QString SettingsFile::path() const {
    return QDir(programDirectory_).filePath(QString::fromLatin1(kFileName));
}

QString SettingsFile::badPath() const {
    return path() + QStringLiteral(".bad");
}

LoggerSettings SettingsFile::load(LoadResult* result) const {
    const auto report = [result](LoadResult r) {
        if (result) {
            *result = r;
        }
    };
    const LoggerSettings fallback = defaults(programDirectory_);
    QFile file;
    RegularOpen opened = openRegularForReading(path(), file);
    bool created = false;
    if (opened == RegularOpen::Missing) {
        save(fallback);
        created = true;
        opened = openRegularForReading(path(), file);
    }
    // A folder of that name is the user's own doing: left alone.
    if (opened == RegularOpen::Missing || opened == RegularOpen::Failed ||
        (opened == RegularOpen::NotRegular && QFileInfo(path()).isDir())) {
        report(LoadResult::Unreadable);
        return fallback;
    }
    std::optional<LoggerSettings> parsed;
    if (opened == RegularOpen::Ok) {
        const QByteArray bytes = file.read(kMaxFileBytes + 1);
        parsed = bytes.size() > kMaxFileBytes ? std::nullopt : parse(bytes);
        file.close();
    }
    if (!parsed) {
        // The bad file stays for the user to look at; the next start finds a sound one.
        QFile::remove(badPath());
        const bool kept = QFile::rename(path(), badPath());
        report(kept && save(fallback) ? LoadResult::Reset : LoadResult::Unreadable);
        return fallback;
    }
    report(created ? LoadResult::Created : LoadResult::Read);
    return *parsed;
}

bool SettingsFile::save(const LoggerSettings& settings) const {
    LoggerSettings stored = settings;
    if (!storable(stored.directory) || stored.directory.isEmpty()) {
        stored.directory = QDir::toNativeSeparators(programDirectory_);
    }
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(format(stored));
    return file.commit();
}
