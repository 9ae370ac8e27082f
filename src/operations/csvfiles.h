// Saving the log and real-time data sets as CSV files (menu items, Save buttons and the save
// questions before communication and at shutdown) and opening a CSV file into the file data
// set, which is then displayed with its panel filled.
#pragma once

#include <QString>

#include "data/csv.h"
#include "data/csvflow.h"
#include "operations/context.h"
#include "operations/statusrefresh.h"

class CsvFiles {
  public:
    CsvFiles(Context& context, StatusRefresh& refresh) : c_(context), refresh_(refresh) {}

    // The directory the file dialogs start in and last changed to (kept in Logger.ini).
    QString lastDirectory;

    // CSV save of a data set; an empty file data set is not saved.
    void save(DataSetIndex index);
    // Asks `question` when the data set holds unsaved samples and saves it on Yes. False when
    // the user wanted it kept but it was not saved (the save was cancelled or failed).
    bool offerSave(DataSetIndex index, const QString& question);
    // The same file the save writes, to `path` with no dialog and no message.
    CsvError saveTo(DataSetIndex index, const QString& path);
    // Reads a chosen file into the file data set and displays it fitted; a failed read that
    // emptied the data set leaves nothing of it on display.
    void open();
    // The same with `path` in place of the dialog's choice.
    void openFile(const QString& path);
    // A file data set filled from elsewhere goes on display as an opened file does.
    void showOpened(const FilePanelInfo& info);

  private:
    CsvSaveRequest request(DataSetIndex index);
    void show(const CsvOpenResult& result);
    void showFilePanel(const FilePanelInfo& info);

    Context& c_;
    StatusRefresh& refresh_;
};
