// Logger.ini as found on disk: any bytes parsed into the settings; what parses must survive
// being formatted and parsed, and saved to the file and loaded back, unchanged, unless its
// directory holds a quote or a line break (saving replaces such a directory, as the quoted
// field cannot carry it).
#include <QTemporaryDir>
#include <cstdlib>

#include "app/settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const SettingsFile file(dir.path());
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsFile::listItems(QString::fromLatin1(bytes));
    const auto settings = SettingsFile::parse(bytes);
    if (!settings || settings->directory.contains(QLatin1Char('"'))) {
        return 0;
    }
    if (SettingsFile::parse(SettingsFile::format(*settings)) != settings) {
        std::abort();
    }
    if (settings->directory.contains(QLatin1Char('\r')) ||
        settings->directory.contains(QLatin1Char('\n'))) {
        return 0;
    }
    SettingsFile::LoadResult result = SettingsFile::LoadResult::Unreadable;
    if (!file.save(*settings) || file.load(&result) != *settings ||
        result != SettingsFile::LoadResult::Read) {
        std::abort();
    }
    return 0;
}
