// Logger.ini: the one line of settings that survives between runs (port number, number
// selector value, last-used directory of the file dialogs, then "1" when the dew-point line is
// on and "archive=off" when downloads are not to be kept in the archive).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct LoggerSettings {
    std::int16_t portnum = 1;
    std::int16_t selector = 1;
    QString directory;
    bool keepInArchive = true;
    // The humidity graph's dew-point line (Display menu).
    bool dewPointLine = false;

    bool operator==(const LoggerSettings&) const = default;
};

class SettingsFile {
  public:
    static constexpr auto kFileName = "Logger.ini";
    static constexpr int kMaxFileBytes = 64 * 1024;

    // Splits text into list items: a comma or a line end ends an item, a quoted item loses
    // its quotes (and may hold commas), surrounding spaces of unquoted items are dropped.
    static QStringList listItems(const QString& text);
    // The settings held by the file's bytes; nothing when a field is missing, not a number
    // or out of range.
    static std::optional<LoggerSettings> parse(const QByteArray& bytes);
    // One line: port, selector and the quoted directory, then 1 with the dew-point line on and
    // "archive=off" with archiving off, ended by CR LF: a file of the defaults reads as before.
    static QByteArray format(const LoggerSettings& settings);

    static LoggerSettings defaults(const QString& programDirectory);

    explicit SettingsFile(QString programDirectory);
    QString path() const;

    // Where a file that did not parse is kept.
    QString badPath() const;

    // Reset: the file did not parse (or was no regular file) and was moved to badPath(); a
    // file with the defaults took its place.
    enum class LoadResult { Read, Created, Unreadable, Reset };
    // Reads the file; a missing file is created with the defaults and read again. Defaults
    // are returned whenever the file cannot be read or does not parse. A FIFO or device of
    // that name is never waited on.
    LoggerSettings load(LoadResult* result = nullptr) const;
    // Replaces the file as a whole, so a failed write never leaves half a line behind.
    bool save(const LoggerSettings& settings) const;

  private:
    QString programDirectory_;
};
