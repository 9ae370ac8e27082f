// The Download button and the progress dialog around a download.
#include "operations/downloadop.h"

#include "link/commands.h"

namespace {}  // namespace

DownloadOperation::DownloadOperation(Context& context, CsvFiles& files, StatusRefresh& refresh,
                                     ArchiveKeeper& keeper)
    : c_(context), files_(files), refresh_(refresh), keeper_(keeper) {
    c_.session.setDownloadView(this);
}

DownloadOperation::~DownloadOperation() {
    c_.session.setDownloadView(nullptr);
}

void DownloadOperation::startDownload() {
    LoggerState& state = c_.state();
    if (c_.session.busy()) {
        return;
    }
    if (state.Record_Pointer == 0 && state.Wrapped == 0) {
        c_.message(c_.messages().text(Msg::NoDownloadData));
        return;
    }
    files_.offerSave(LogData, c_.messages().pair(Msg::DownloadNotSaved, Msg::AskSaveIt));
    // A save run from the question pumps events; a procedure may have started meanwhile, or
    // the device check may have found the logger removed.
    if (c_.session.busy() || !c_.session.port().isOpen()) {
        return;
    }
    DataSet& log = c_.dataSet(LogData);
    log.stats.reset();
    c_.progress.open([this] { Download_Cancel(); });
    log.count = 0;
    c_.display.clear(LogData);
    for (ControlId readOut : {ControlId::MeasuredTemperatureReadout,
                              ControlId::MeasuredHumidityReadout, ControlId::MeasuredTimeReadout}) {
        c_.controls.setText(readOut, QString());
    }
    refresh_.run();
    refresh_.disableOperationControls();
    if (!c_.session.download().start()) {
        c_.progress.closeByProgram();
    }
}

bool DownloadOperation::markDownloaded() {
    if (c_.session.busy()) {
        return false;
    }
    Engine& engine = c_.engine();
    engine.begin();
    engine.Enqueue(Command::MarkDownloaded, 1, 1, ProcedureKind::None);
    engine.SendCurrent();
    return true;
}

void DownloadOperation::progress(int value, int maximum, const QString& caption) {
    c_.progress.setProgress(value, maximum, caption);
}

void DownloadOperation::downloadFinished() {
    c_.display.show(LogData, true);
    c_.progress.closeByProgram();
    keeper_.downloadComplete();
}

void DownloadOperation::downloadFailed() {
    c_.progress.closeByProgram();
}
