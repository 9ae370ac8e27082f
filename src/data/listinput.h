// Reads a text file as a stream of list items: a comma or a line end ends an item, a quoted
// item loses its quotes and may hold commas, an unquoted item loses its surrounding spaces.
// Lines are bounded, so a file without line breaks cannot exhaust memory. The device is read
// in large blocks; a caller that reads common lines itself can look at a whole line first.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
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

    // The next line's bytes without its line end, when it begins afresh: no item of an earlier
    // line is pending and no fault was met. The view lasts until the next call. A caller that
    // reads the line itself passes it with skipLine(); otherwise next() reads its items.
    bool peekLine(QByteArrayView& line);
    void skipLine();

  private:
    static constexpr qsizetype kBlockBytes = 256 * 1024;

    Status fill();
    // The next line from the block, read on from the device as needed; consumed tells how
    // many bytes it takes with its line end. The limits are those of a QIODevice::readLine of
    // the longest line and its CR LF.
    Status rawLine(QByteArrayView& line, qsizetype& consumed);

    QIODevice& device_;
    codepage::TextEncoding encoding_;
    int maxLineBytes_;
    QStringList pending_;
    qsizetype pendingAt_ = 0;
    Status failure_ = Status::Ok;
    QByteArray block_;
    qsizetype blockAt_ = 0;
    // Bytes the line last peeked at takes with its line end; 0 when none is peeked.
    qsizetype peeked_ = 0;
};
