// CSV save and open conversations.
#include "data/csvflow.h"

#include <QDir>
#include <QFileInfo>

#include "data/texts.h"

namespace {

// A name typed without an extension gets the one the filter offers.
QString withCsvSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".csv") : path;
}

}  // namespace

QString dialogFilter(const QString& filterText) {
    return filterText.section(u'|', 0, 0);
}

CsvOutcome saveCsvInteractive(Prompter& prompter, const MessageTable& table,
                              const CsvSaveRequest& request, QString& directory) {
    const QString filter = dialogFilter(table.text(Msg::CsvSaveFilter));
    QString path;
    while (true) {
        Sample first;
        request.set.read(1, first);
        const QString proposed = proposedFileName(request.identName, first.dateTime);
        path = prompter.saveFileName(QString(), directory, proposed, filter);
        if (path.isEmpty()) {
            return CsvOutcome::Cancelled;
        }
        path = withCsvSuffix(path);
        if (canWrite(path)) {
            break;
        }
        prompter.message(request.machineName, table.text(Msg::IllegalFileName));
    }
    directory = QFileInfo(path).absolutePath();
    const CsvError error =
        saveCsv(path, request.set, request.machineName, request.identName, csvTexts(table));
    if (error != CsvError::None) {
        prompter.message(request.machineName, table.text(Msg::FileError));
        return CsvOutcome::Failed;
    }
    return CsvOutcome::Done;
}

CsvOpenResult openCsvInteractive(Prompter& prompter, const MessageTable& table, DataSet& set,
                                 const QString& machineName, QString& directory) {
    const QString path =
        prompter.openFileName(QString(), directory, dialogFilter(table.text(Msg::CsvOpenFilter)));
    if (path.isEmpty()) {
        return {};
    }
    directory = QFileInfo(path).absolutePath();
    return openCsvFile(prompter, table, set, machineName, path);
}

CsvOpenResult openCsvFile(Prompter& prompter, const MessageTable& table, DataSet& set,
                          const QString& machineName, const QString& path) {
    CsvOpenResult result;
    const CsvTexts texts = csvTexts(table);
    const CsvError error = openCsv(path, set, texts, result.header);
    if (error == CsvError::WrongForm || error == CsvError::NotRegular) {
        prompter.message(machineName,
                         error == CsvError::WrongForm
                             ? table.text(Msg::WrongFileFormat)
                             : table.text(Msg::NotRegularFile).arg(QDir::toNativeSeparators(path)));
        result.outcome = CsvOutcome::Failed;
        return result;
    }
    if (error != CsvError::None) {
        result.dataSetEmptied = set.count == 0;
        prompter.message(machineName, table.text(Msg::FileError));
        result.outcome = CsvOutcome::Failed;
        return result;
    }
    // What is there is shown, and the user told that it is not all.
    if (result.header.missingRows > 0) {
        prompter.message(
            machineName,
            table.text(Msg::FileRowsMissing).arg(set.count).arg(result.header.recordingPoints));
    }
    result.outcome = CsvOutcome::Done;
    result.panel = filePanelInfo(path, result.header, set.count, texts);
    return result;
}
