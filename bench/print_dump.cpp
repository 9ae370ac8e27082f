// Dump print of a full data set (32767 rows, all selected) to a PDF file: wall and processor
// time, pages, file size and the peak resident memory (VmHWM), beside writing the same rows as
// a CSV file in the same run. Row counts given as arguments print those leading rows instead;
// runs with different counts show how the peak follows the page count.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/benchdata.h"
#include "common/timing.h"
#include "data/csv.h"
#include "data/datasets.h"
#include "data/texts.h"
#include "print/printoperations.h"
#include "print/printsystem.h"
#include "ui/datatable.h"

namespace {

constexpr int kRows = DataSet::kMaxCount;

// Peak resident memory of the process so far, in KiB.
long peakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

class BenchHost : public PrintHost {
  public:
    BenchHost(DataSet& set, DataTableView& table) : set_(set), table_(table) {}
    DataSet* printDataSet(int index) override { return index == FileData ? &set_ : nullptr; }
    QString printName(int) override { return QStringLiteral("BNCH"); }
    Bars printBars() override { return initialBars(); }
    const GraphRenderer& printRenderer() override { return renderer_; }
    PrintTable printTable(int index) override {
        if (index != FileData) {
            return {};
        }
        return {&table_.model()->rows(), table_.selectedRows()};
    }
    QString printTitle() override { return QStringLiteral("QM320-HX"); }
    QString printDirectory() override { return {}; }

  private:
    DataSet& set_;
    DataTableView& table_;
    GraphRenderer renderer_;
};

class NoPrinters : public PrinterCatalog {
  public:
    QStringList printerNames() const override { return {}; }
    QString defaultPrinterName() const override { return {}; }
};

class FilePrompter : public Prompter {
  public:
    void message(const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    bool question(const QString&, const QString&) override { return false; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return path;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString path;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    MessageTable messages;
    messages.fillEnglish();
    DataSet set;
    set.interval = 10;
    set.model = QStringLiteral("QM320-HX");
    const QString remarks = QStringLiteral("Upper bound  Maximum temperature Maximum humidity");
    if (!dir.isValid() || !fillBenchDataSet(set, dir.filePath(QStringLiteral("read.rand")), kRows,
                                            [&](int record, Sample& sample) {
                                                if (record % 97 == 0) {
                                                    sample.setRemarks(remarks);
                                                }
                                            })) {
        return 1;
    }
    recomputeStats(set);
    DataTableView table(FileData, set, messages);
    table.fill();
    const long setUp = peakKiB();

    const QString csv = dir.filePath(QStringLiteral("dump.csv"));
    const Timing csvTime = best(1, [&] {
        return saveCsv(csv, set, set.model, QStringLiteral("BNCH"), csvTexts(messages)) ==
               CsvError::None;
    });
    const long afterCsv = peakKiB();

    BenchHost host(set, table);
    NoPrinters catalog;
    PrinterChoice choice(catalog);
    QtPrinterDialogs dialogs;
    CupsSpooler spooler;
    FilePrompter prompter;
    PrintOperations operations(host, choice, messages, {dialogs, spooler, prompter});

    std::printf("data set: %d rows; peak after set-up %ld KiB\n", kRows, setUp);
    std::printf("CSV  %5d rows: %8.1f ms wall %8.1f ms cpu, %8lld bytes, peak %ld KiB (+%ld)\n",
                kRows, csvTime.wallMs, csvTime.cpuMs, static_cast<long long>(QFileInfo(csv).size()),
                afterCsv, afterCsv - setUp);
    long before = afterCsv;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::clamp(QString::fromLocal8Bit(argv[i]).toInt(), 1, kRows));
    }
    if (sizes.empty()) {
        sizes.push_back(kRows);
    }
    for (const int rows : sizes) {
        QItemSelectionModel* selection = table.table()->selectionModel();
        selection->select(
            QItemSelection(table.model()->index(0, 0), table.model()->index(rows - 1, 0)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        prompter.path = dir.filePath(QStringLiteral("dump%1.pdf").arg(rows));
        PrintOutcome outcome;
        const Timing pdfTime = best(1, [&] {
            outcome = operations.File_D_Print();
            return outcome.status == PrintStatus::Printed;
        });
        const long peak = peakKiB();
        std::printf(
            "PDF  %5d rows: %8.1f ms wall %8.1f ms cpu, %8lld bytes, %4d pages, peak %ld KiB "
            "(+%ld)\n",
            rows, pdfTime.wallMs, pdfTime.cpuMs,
            static_cast<long long>(QFileInfo(prompter.path).size()), outcome.pages, peak,
            peak - before);
        before = peak;
    }
    return 0;
}
