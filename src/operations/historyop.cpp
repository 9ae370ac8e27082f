// The History dialog's operations; see historyop.h.
#include "operations/historyop.h"

#include "data/csv.h"
#include "data/datetime.h"
#include "data/texts.h"
#include "operations/recordingarchive.h"

void HistoryOperation::showHistory() {
    // The dialog is modal: no reply may arrive while it is open.
    if (c_.archive == nullptr || c_.session.busy()) {
        return;
    }
    if (const auto chosen = c_.dialogs.history(*this)) {
        open(*chosen);
    }
}

ArchiveError HistoryOperation::list(const HistoryFilter& filter,
                                    std::vector<RecordingSummary>& recordings) {
    recordings.clear();
    if (c_.archive == nullptr) {
        return {ArchiveErrorKind::Unreachable, QString()};
    }
    return c_.archive->list(filter, recordings);
}

QString HistoryOperation::failureText(const ArchiveError& error) const {
    return c_.messages().text(archiveMessage(error.kind));
}

bool HistoryOperation::remove(const RecordingSummary& recording) {
    if (c_.archive == nullptr) {
        return false;
    }
    const QString question =
        c_.messages()
            .text(Msg::AskDeleteRecording)
            .arg(recording.name.trimmed(), datetime::format(recording.startTime))
            .arg(recording.points);
    if (!c_.question(question)) {
        return false;
    }
    const ArchiveError error = c_.archive->remove(recording.id);
    if (!error.ok()) {
        c_.message(failureText(error));
    }
    return error.ok();
}

bool HistoryOperation::open(const RecordingSummary& recording) {
    if (c_.archive == nullptr) {
        return false;
    }
    DataSet& set = c_.dataSet(FileData);
    const int countBefore = set.count;
    const ArchiveError error = c_.archive->load(recording.id, set);
    if (!error.ok()) {
        c_.message(failureText(error));
        if (set.count != countBefore) {
            c_.display.clear(FileData);
            refresh_.run();
        }
        return false;
    }
    CsvHeader header;
    header.identName = set.identName;
    header.model = set.model;
    header.interval = set.interval;
    header.upperOn = set.upperOn != 0;
    header.upperBound = set.upperBound;
    header.lowerOn = set.lowerOn != 0;
    header.lowerBound = set.lowerBound;
    header.startTime = recording.firstTime;
    header.endTime = recording.lastTime;
    files_.showOpened(filePanelInfo(QString(), header, set.count, csvTexts(c_.messages())));
    return true;
}

void HistoryOperation::addFileToArchive() {
    DataSet& set = c_.dataSet(FileData);
    if (c_.archive == nullptr || set.count <= 0 || c_.session.busy()) {
        return;
    }
    StoreResult result;
    const ArchiveError error =
        c_.archive->store(set, RunFacts{RecordingSource::File, 0, 0}, &result);
    if (!error.ok()) {
        c_.message(failureText(error));
        return;
    }
    c_.message(c_.messages().text(Msg::FileAddedToArchive).arg(result.added).arg(result.points));
}
