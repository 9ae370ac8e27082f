// A plain ustar archive of in-memory files, the one archive format every system reads without
// extra libraries.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct TarMember {
    QString name;  // at most 100 bytes in UTF-8, no folders
    QByteArray data;
};

// The archive, or an empty array when a name does not fit a ustar header.
QByteArray tarArchive(const std::vector<TarMember>& members, qint64 modifiedSecs);
