// Where the command line's data goes: a file named by the bytes given, checked and opened as a
// hidden temporary beside it before the logger is touched, that takes its name only once
// complete and synced; or standard output, every write checked.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

#include "data/messagetable.h"

class OutputFile {
  public:
    OutputFile() = default;
    // Removes the temporary when the data never got its name.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Refuses a folder, a missing or unwritable folder and anything but a regular file under
    // the name; otherwise opens the temporary. Empty on success, else the reason.
    QString prepare(const QByteArray& path, const MessageTable& messages);
    bool prepared() const { return fd_ >= 0; }
    // Adds bytes to the temporary as they come (a stream of samples); the name is still not
    // taken. Empty on success, else the reason; the temporary is gone after a failure.
    QString append(const QByteArray& bytes, const MessageTable& messages);
    // Writes, syncs and renames the temporary into place (an existing file is replaced whole).
    // Empty on success, else the reason; the temporary is gone either way.
    QString commit(const QByteArray& bytes, const MessageTable& messages);
    // The name as given, for messages.
    QString displayName() const;

  private:
    void discard();

    QByteArray path_;
    QByteArray temporary_;
    int fd_ = -1;
};

// Writes all bytes to the stream and flushes it, and syncs it when it is a regular file.
// Empty on success, else the reason.
QString writeStandardOutput(std::FILE* out, const QByteArray& bytes, const MessageTable& messages);
