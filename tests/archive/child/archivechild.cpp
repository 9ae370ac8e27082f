// A second writer for the archive tests, in a process of its own: stores records first..last
// of the test run into the archive named on its command line, and prints what it added.
// VELTRANE_ARCHIVE_KILL_AFTER makes it die in the middle of the store.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "../runsamples.h"
#include "archive/archive.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: archive-child LOCATION FIRST LAST\n");
        return 2;
    }
    ArchiveLocation location;
    if (!ArchiveLocation::parse(args[1], location).ok()) {
        return 2;
    }
    QTemporaryDir dir;
    DataSet set;
    const TestRun run;
    if (!dir.isValid() || !set.file.open(dir.filePath(QStringLiteral("log.rand"))) ||
        !fillRun(set, run, args[2].toInt(), args[3].toInt())) {
        return 3;
    }
    Archive archive(location);
    ArchiveError error = archive.open();
    StoreResult stored;
    if (error.ok()) {
        error = archive.store(set, RunFacts{RecordingSource::Download, run.start, 1}, &stored);
    }
    if (!error.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(error.detail));
        return 4;
    }
    std::printf("%d\n", stored.added);
    return 0;
}
