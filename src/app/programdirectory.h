// Where the program keeps Logger.ini, its scratch files and its lock: beside the executable
// when that folder is writable, otherwise in the per-user data folder.
#pragma once

#include <QString>
#include <functional>

class ProgramDirectory {
  public:
    // The choice alone: `executableDir` when `isWritable` says so, else `fallbackDir`.
    static QString choose(const QString& executableDir, const QString& fallbackDir,
                          const std::function<bool(const QString&)>& isWritable);
    // The directory for this run; the fallback is created when it is chosen. Needs the
    // application object (its name selects the per-user folder).
    static QString resolve();
    static bool isWritableDirectory(const QString& dir);
};
