// Reads a text file as a stream of list items: a comma or a line end ends an item, a quoted
// item loses its quotes and may hold commas, an unquoted item loses its surrounding spaces.
// Lines are bounded, so a file without line breaks cannot exhaust memory.
#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

#include "data/codepage.h"

class ListInput {
  public:
    enum class Status { Ok, End, LineTooLong, Malformed };

    static constexpr int kDefaultMaxLine = 4096;

    ListInput(QIODevice& device, codepage::TextEncoding encoding,
              int maxLineBytes = kDefaultMaxLine);

    // The next item; End when nothing but blank lines is left.
    Status next(QString& item);
    // Reads count items; any status but Ok stops it.
    Status next(int count, QStringList& items);
    // True when no item is left (blank lines are skipped).
    bool atEnd();
    // Splits one line (without its line end) into its items.
    static Status splitLine(const QString& line, QStringList& items);

  private:
    Status fill();

    QIODevice& device_;
    codepage::TextEncoding encoding_;
    int maxLineBytes_;
    QStringList pending_;
    qsizetype pendingAt_ = 0;
    Status failure_ = Status::Ok;
};
