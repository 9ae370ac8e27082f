// CSV save and open conversations.
#include "data/csvflow.h"

#include <QDir>
#include <QFileInfo>

#include "data/texts.h"

namespace {

constexpr int kSaveFilter = 1052;
constexpr int kIllegalName = 1053;
constexpr int kOpenFilter = 1108;
constexpr int kWrongForm = 1109;
constexpr int kFileError = 1113;
constexpr int kNotRegular = 1380;
constexpr int kShortFile = 1381;

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
    const QString filter = dialogFilter(table.text(kSaveFilter));
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
        prompter.message(request.machineName, table.text(kIllegalName));
    }
    directory = QFileInfo(path).absolutePath();
    const CsvError error =
        saveCsv(path, request.set, request.machineName, request.identName, csvTexts(table));
    if (error != CsvError::None) {
        prompter.message(request.machineName, table.text(kFileError));
        return CsvOutcome::Failed;
    }
    return CsvOutcome::Done;
}

CsvOpenResult openCsvInteractive(Prompter& prompter, const MessageTable& table, DataSet& set,
                                 const QString& machineName, QString& directory) {
    const QString path =
        prompter.openFileName(QString(), directory, dialogFilter(table.text(kOpenFilter)));
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
                             ? table.text(kWrongForm)
                             : table.text(kNotRegular).arg(QDir::toNativeSeparators(path)));
        result.outcome = CsvOutcome::Failed;
        return result;
    }
    if (error != CsvError::None) {
        result.dataSetEmptied = set.count == 0;
        prompter.message(machineName, table.text(kFileError));
        result.outcome = CsvOutcome::Failed;
        return result;
    }
    // What is there is shown, and the user told that it is not all.
    if (result.header.missingRows > 0) {
        prompter.message(machineName,
                         table.text(kShortFile).arg(set.count).arg(result.header.recordingPoints));
    }
    result.outcome = CsvOutcome::Done;
    result.panel = filePanelInfo(path, result.header, set.count, texts);
    return result;
}
