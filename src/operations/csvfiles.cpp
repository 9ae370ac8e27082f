// The CSV save and open operations; see csvfiles.h.
#include "operations/csvfiles.h"

#include "data/csvflow.h"
#include "data/texts.h"

CsvSaveRequest CsvFiles::request(DataSetIndex index) {
    // The header of the data's own logger; a data set that never had one takes the logger's
    // of now.
    DataSet& set = c_.dataSet(index);
    const LoggerState& state = c_.state();
    const bool ownHeader = !set.model.isEmpty();
    return CsvSaveRequest{set, ownHeader ? set.model : state.Machine_N_P,
                          ownHeader ? set.identName : state.VT_Name};
}

void CsvFiles::save(DataSetIndex index) {
    if (index == FileData && c_.dataSet(FileData).count <= 0) {
        return;
    }
    saveCsvInteractive(c_.prompter(), c_.messages(), request(index), lastDirectory);
}

CsvError CsvFiles::saveTo(DataSetIndex index, const QString& path) {
    const CsvSaveRequest r = request(index);
    return saveCsv(path, r.set, r.machineName, r.identName, csvTexts(c_.messages()));
}

bool CsvFiles::offerSave(DataSetIndex index, const QString& question) {
    if (!c_.dataSet(index).unsaved || !c_.question(question)) {
        return true;
    }
    save(index);
    return !c_.dataSet(index).unsaved;
}

void CsvFiles::open() {
    show(openCsvInteractive(c_.prompter(), c_.messages(), c_.dataSet(FileData),
                            c_.state().Machine_N_P, lastDirectory));
}

void CsvFiles::openFile(const QString& path) {
    show(openCsvFile(c_.prompter(), c_.messages(), c_.dataSet(FileData), c_.state().Machine_N_P,
                     path));
}

void CsvFiles::show(const CsvOpenResult& result) {
    if (result.outcome == CsvOutcome::Done) {
        showOpened(result.panel);
    } else if (result.dataSetEmptied) {
        c_.display.clear(FileData);
        refresh_.run();
    }
}

void CsvFiles::showOpened(const FilePanelInfo& info) {
    showFilePanel(info);
    c_.display.show(FileData, true);
}

void CsvFiles::showFilePanel(const FilePanelInfo& info) {
    using I = ControlId;
    Controls& k = c_.controls;
    k.setText(I::FileNameText, info.identName);
    k.setText(I::FileBeginningText, info.start);
    k.setText(I::FilePointsText, info.points);
    k.setText(I::FileIntervalText, info.interval);
    k.setText(I::FileUpperBoundText, info.upperBound);
    k.setText(I::FileLowerBoundText, info.lowerBound);
    k.setVisible({I::FileLowerBoundText, I::FileLowerBoundCaption, I::FileUpperBoundCaption,
                  I::FileUpperBoundText},
                 info.boundsVisible);
}
