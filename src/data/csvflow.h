// The save and open conversations around CSV files: file dialogs, the retry on an unusable
// name and the message boxes, all through the Prompter.
#pragma once

#include <QString>

#include "data/csv.h"
#include "data/messagetable.h"
#include "data/prompter.h"

enum class CsvOutcome { Done, Cancelled, Failed };

struct CsvSaveRequest {
    DataSet& set;
    QString machineName;  // Machine_N_P: the form of the file and the message box title
    QString identName;    // VT_Name
};

// Asks for a file name (proposing the identification name and the first sample's time),
// refuses an unusable name with Msg::IllegalFileName and asks again, writes the file and clears the
// data set's unsaved flag. A failed write shows Msg::FileError and keeps the set unsaved.
// directory is where the dialog starts and becomes the folder of the saved file.
CsvOutcome saveCsvInteractive(Prompter& prompter, const MessageTable& table,
                              const CsvSaveRequest& request, QString& directory);

struct CsvOpenResult {
    CsvOutcome outcome = CsvOutcome::Cancelled;
    // A fault past the captions empties the file data set: a view showing it must be
    // refreshed even though the open failed.
    bool dataSetEmptied = false;
    CsvHeader header;
    FilePanelInfo panel;
};

// Asks for a file and reads it into set as openCsvFile does.
CsvOpenResult openCsvInteractive(Prompter& prompter, const MessageTable& table, DataSet& set,
                                 const QString& machineName, QString& directory);
// Reads `path` into set: Msg::WrongFileFormat for another form and Msg::NotRegularFile for a FIFO,
// device or folder (set unchanged), Msg::FileError for any other fault. A file holding fewer rows
// than its header announces is read as it is, and Msg::FileRowsMissing says so.
CsvOpenResult openCsvFile(Prompter& prompter, const MessageTable& table, DataSet& set,
                          const QString& machineName, const QString& path);

// "CSV(*.csv)|*.csv" as a Qt dialog filter.
QString dialogFilter(const QString& filterText);
