// Data the window could not ask about: when the session ends the program (SIGTERM, SIGHUP),
// each unsaved data set is written as the CSV file a save writes into the "recovered" folder
// of the program's data folder, under a pending name. The next start offers each pending file
// once; after the answer it loses the pending mark and stays where it is for the user.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "data/dataset.h"

namespace recovery {

QString folder(const QString& dataDirectory);
// "unsaved-log-20260301-120000.csv" or "unsaved-real-…": the data set and when it was kept.
QString pendingName(DataSetIndex index, const QDateTime& when);
// The pending files of the folder, oldest first, as full paths.
QStringList pending(const QString& dataDirectory);
// The data set a pending file holds; FileData for a name that is not a pending one.
DataSetIndex dataSetOf(const QString& path);
// The path a pending file keeps once the user answered.
QString keptPath(const QString& path);
// Makes the folder's entries (a rename into it) durable.
bool syncFolder(const QString& directory);

}  // namespace recovery
