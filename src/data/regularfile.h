// Opening a file that must be a regular file for reading, without ever waiting on a FIFO or a
// device that carries its name: the type is checked on the opened descriptor, so a name
// swapped in between cannot slip past.
#pragma once

#include <QFile>
#include <QString>

enum class RegularOpen { Ok, Missing, NotRegular, Failed };

// On Ok `file` is open for reading and owns the descriptor.
RegularOpen openRegularForReading(const QString& path, QFile& file);
