// A document file written straight through its descriptor. The PDF writer ignores failed
// writes, so this file keeps the first failure of any write, of the flush to the disk or of the
// close, and a document is renamed into place only when none happened.
#pragma once

#include <sys/types.h>

#include <QIODevice>
#include <QString>

class DocumentFile : public QIODevice {
  public:
    DocumentFile() = default;
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;
    // Removes the file unless it was renamed into place.
    ~DocumentFile() override;

    // Creates and opens a new file in the folder, named prefix + a random part + suffix. The
    // system applies the umask to mode, as for any file the user creates.
    bool create(const QString& folder, const QString& prefix, const QString& suffix, mode_t mode);
    const QString& fileName() const { return path_; }
    // Flushes the file to the disk and closes it; false when that or any write before failed.
    bool finish();
    // Renames the finished file to target, replacing what was there.
    bool commit(const QString& target);
    // The system's reason for the first failure.
    const QString& reason() const { return reason_; }

    bool seek(qint64 pos) override;

  protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    bool failed(int error);

    int fd_ = -1;
    QString path_;
    QString reason_;
    bool committed_ = false;
};
