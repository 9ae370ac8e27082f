// Logger.ini as found on disk: any bytes parsed into the settings; what parses must survive
// being written and read back unchanged, unless its directory holds a quote (saving replaces
// such a directory, as the quoted field cannot carry it).
#include <cstdlib>

#include "app/settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsFile::listItems(QString::fromLatin1(bytes));
    const auto settings = SettingsFile::parse(bytes);
    if (settings && !settings->directory.contains(QLatin1Char('"')) &&
        SettingsFile::parse(SettingsFile::format(*settings)) != settings) {
        std::abort();
    }
    return 0;
}
