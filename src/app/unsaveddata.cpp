// Recovery files written at an unattended end and offered at the next start.
#include "app/unsaveddata.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "app/recovery.h"
#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "operations/csvfiles.h"

UnsavedData::UnsavedData(const QString& programDirectory, DataSets& dataSets, CsvFiles& files,
                         Prompter& prompter, const MessageTable& messages)
    : programDirectory_(programDirectory),
      dataSets_(dataSets),
      files_(files),
      prompter_(prompter),
      messages_(messages) {}

void UnsavedData::offerRecovered(const QString& title, const std::function<bool()>& ended) {
    for (const QString& path : recovery::pending(programDirectory_)) {
        const QString kept = recovery::keptPath(path);
        const Msg told = recovery::dataSetOf(path) == LogData ? Msg::LogDataKeptAfterAbort
                                                              : Msg::RealTimeDataKeptAfterAbort;
        const bool open = prompter_.question(
            title, messages_.text(told).arg(QDir::toNativeSeparators(kept)) +
                       MessageTable::kPartBreak + messages_.text(Msg::AskOpenKeptData));
        // Ended by the session before an answer came: offered again next time.
        if (ended()) {
            return;
        }
        // Answered: offered no more, kept for the user under its plain name.
        const QString now = QFile::rename(path, kept) ? kept : path;
        if (open) {
            files_.openFile(now);
        }
    }
}

void UnsavedData::keep() {
    const QString folder = recovery::folder(programDirectory_);
    const QDateTime now = QDateTime::currentDateTime();
    for (DataSetIndex index : {LogData, RealTimeData}) {
        if (!dataSets_[index].unsaved) {
            continue;
        }
        const QString path = QDir(folder).filePath(recovery::pendingName(index, now));
        const CsvError error = QDir().mkpath(folder) ? files_.saveTo(index, path) : CsvError::Io;
        if (error != CsvError::None) {
            qWarning("unsaved data could not be kept in %s", qPrintable(path));
        }
    }
    recovery::syncFolder(folder);
}
