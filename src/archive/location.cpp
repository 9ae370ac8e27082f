// Where the archive lives: VELTRANE_ARCHIVE, the caller's setting or the user's data folder,
// each part of a server address checked before anything connects.
#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include "archive/archive.h"

namespace {

ArchiveError bad(const QString& text, const QString& why) {
    return {ArchiveErrorKind::BadLocation, why + QStringLiteral(": ") + text};
}

bool plainName(const QString& text) {
    if (text.isEmpty() || text.size() > 63) {
        return false;
    }
    for (QChar c : text) {
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.')) {
            return false;
        }
    }
    return true;
}

ArchiveError parsePostgres(const QString& text, ArchiveLocation& location) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.hasFragment()) {
        return bad(text, QStringLiteral("not a valid address"));
    }
    location.engine = ArchiveLocation::Engine::Postgres;
    location.user = url.userName();
    location.password = url.password();
    location.host = url.host();
    location.port = url.port(5432);
    if (location.port <= 0 || location.port > 65535) {
        return bad(text, QStringLiteral("port out of range"));
    }
    QString path = url.path();
    if (path.startsWith(u'/')) {
        path.remove(0, 1);
    }
    location.database = path;
    if (!plainName(location.database)) {
        return bad(text, QStringLiteral("no database name"));
    }
    if (!location.user.isEmpty() && !plainName(location.user)) {
        return bad(text, QStringLiteral("not a user name"));
    }
    const QUrlQuery query(url);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host") && location.host.isEmpty() &&
            QDir::isAbsolutePath(value)) {
            location.host = QDir::cleanPath(value);
        } else {
            return bad(text, QStringLiteral("unknown or misplaced parameter ") + key);
        }
    }
    return {};
}

ArchiveError parseFile(const QString& text, ArchiveLocation& location) {
    location.engine = ArchiveLocation::Engine::Sqlite;
    if (!text.startsWith(QLatin1String("file:"))) {
        location.path = QDir::cleanPath(QDir::current().absoluteFilePath(text));
        return {};
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile() || url.hasFragment()) {
        return bad(text, QStringLiteral("not a local file address"));
    }
    location.path = QDir::cleanPath(url.toLocalFile());
    const QUrlQuery query(url);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("mode") && value == QLatin1String("ro")) {
            location.readOnly = true;
        } else {
            return bad(text, QStringLiteral("unknown parameter ") + key);
        }
    }
    return {};
}

}  // namespace

ArchiveError ArchiveLocation::parse(const QString& text, ArchiveLocation& location) {
    location = ArchiveLocation{};
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return bad(text, QStringLiteral("empty location"));
    }
    const QString scheme = QUrl(trimmed).scheme().toLower();
    if (scheme == QLatin1String("postgresql") || scheme == QLatin1String("postgres")) {
        return parsePostgres(trimmed, location);
    }
    if (trimmed.contains(QLatin1String("://")) && scheme != QLatin1String("file")) {
        return bad(text, QStringLiteral("unknown kind of archive"));
    }
    return parseFile(trimmed, location);
}

ArchiveError ArchiveLocation::resolve(const QString& setting, ArchiveLocation& location) {
    const QString fromEnvironment = qEnvironmentVariable("VELTRANE_ARCHIVE");
    if (!fromEnvironment.isEmpty()) {
        return parse(fromEnvironment, location);
    }
    if (!setting.trimmed().isEmpty()) {
        return parse(setting, location);
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        return bad(QString(), QStringLiteral("no user data folder"));
    }
    location = ArchiveLocation{};
    location.path = QDir(data).filePath(QStringLiteral("veltrane/archive.sqlite"));
    return {};
}

QString ArchiveLocation::display() const {
    if (engine == Engine::Sqlite) {
        return path;
    }
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    if (!host.startsWith(u'/')) {
        url.setHost(host);
        url.setPort(port);
    }
    url.setPath(u'/' + database);
    if (host.startsWith(u'/')) {
        url.setQuery(QStringLiteral("host=") + host);
    }
    return url.toString();
}
