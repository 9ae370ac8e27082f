// Where the program keeps its files. A copy installed under a system prefix keeps Logger.ini,
// its lock and recovered data in the user's data folder and its scratch files in the user's
// runtime (or cache) folder, never beside itself; a portable build keeps everything in its
// own folder.
#pragma once

#include <QString>

struct ProgramFolders {
    QString data;     // Logger.ini, Logger.lock, recovered data
    QString scratch;  // the data sets' scratch files

    bool operator==(const ProgramFolders&) const = default;
};

// The user's folders an installed copy uses; empty where the system names none.
struct UserFolders {
    QString data;
    QString runtime;
    QString cache;
};

class ProgramDirectory {
  public:
    // True for an executable folder under a system prefix (/usr, /bin, /sbin, /opt, /snap),
    // which belongs to the package manager whatever its permissions.
    static bool installed(const QString& executableDir);
    // The folders for an executable in `executableDir`.
    static ProgramFolders choose(const QString& executableDir, const UserFolders& user);
    // Creates `dir` with its parents and checks that files can be made in it; the reason
    // when not.
    static QString prepare(const QString& dir);
    // The folders of this run, created when missing. Needs the application object (its name
    // selects the per-user folders). On failure (empty folders) the folder and the reason.
    static ProgramFolders resolve(QString& failedFolder, QString& reason);
};
