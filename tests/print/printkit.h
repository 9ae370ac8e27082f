// Test rig for printing: three data sets with scratch files, their tables, the graph bars, the
// print operations on scripted printers, dialogs, spooler and prompter, and readers of the PDF
// files the prints write (pdftotext, pdfinfo, pdftoppm).
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <deque>
#include <memory>
#include <vector>

#include "../graph/graphtestdata.h"
#include "print/printoperations.h"
#include "ui/datatable.h"

namespace printtest {

class FakeCatalog : public PrinterCatalog {
  public:
    QStringList printerNames() const override { return names; }
    QString defaultPrinterName() const override { return defaultName; }
    QStringList names;
    QString defaultName;
};

class FakeDialogs : public PrinterDialogs {
  public:
    void pageSetup(QPrinter&, QWidget* parent) override { setups.push_back(parent); }
    void printerWindow(QPrinter&, QWidget* parent) override { windows.push_back(parent); }
    std::vector<QWidget*> setups;
    std::vector<QWidget*> windows;
};

// Keeps each submitted document's bytes; refuses every job while `refusal` is set.
class FakeSpooler : public PrintSpooler {
  public:
    QString submit(const SpoolRequest& request) override;
    QString refusal;
    std::vector<SpoolRequest> requests;
    QByteArray lastDocument;
};

class FilePrompter : public Prompter {
  public:
    void message(const QString& title, const QString& text) override {
        messages.append(title + QStringLiteral(": ") + text);
    }
    bool question(const QString&, const QString&) override { return false; }
    QString saveFileName(const QString& caption, const QString& directory, const QString& proposed,
                         const QString& filter) override;
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }

    QStringList messages;
    QStringList saveQuestions;  // caption|directory|proposed name|filter
    std::deque<QString> fileNames;
};

class PrintRig : public PrintHost {
  public:
    PrintRig();

    // Appends a sample to a data set (statistics follow) and refills its table.
    void add(int index, double dateTime, float temperature, float humidity,
             const QString& remarks = {});
    void fill(int index, double start, int count, int interval,
              const std::function<float(int)>& temperature,
              const std::function<float(int)>& humidity);
    // The graph window fitted to the data set as after a download.
    void fitGraph(int index);
    void refreshTable(int index);
    DataTableView& table(int index) { return *tables_[static_cast<std::size_t>(index)]; }
    DataSet& set(int index) { return data_[static_cast<std::size_t>(index)]->set; }

    QString path(const QString& name) const { return dir_.filePath(name); }
    // The print answers the file question with this path.
    void answerFile(const QString& path) { prompter.fileNames.push_back(path); }
    // Stands in for the user while a print dialog is open (nothing is shown).
    std::function<void(PrinterDialog&)> user;

    DataSet* printDataSet(int index) override { return &set(index); }
    QString printName(int index) override { return names[static_cast<std::size_t>(index)]; }
    Bars printBars() override { return bars; }
    const GraphRenderer& printRenderer() override { return renderer; }
    PrintTable printTable(int index) override {
        return {&table(index).model()->rows(), table(index).selectedRows()};
    }
    QString printTitle() override { return QStringLiteral("QM320-HX"); }
    QString printDirectory() override { return dir_.path(); }

    MessageTable messages;
    GraphRenderer renderer;
    Bars bars = initialBars();
    std::array<QString, 3> names = {QStringLiteral("LG01"), QStringLiteral("RT02"),
                                    QStringLiteral("FL03")};
    FakeCatalog catalog;
    PrinterChoice choice{catalog};
    FakeDialogs dialogs;
    FakeSpooler spooler;
    FilePrompter prompter;
    PrintOperations operations;

  private:
    QTemporaryDir dir_;
    std::array<std::unique_ptr<TestDataSet>, 3> data_;
    std::array<std::unique_ptr<DataTableView>, 3> tables_;
};

// Runs a program to its end: empty text when it succeeded, else what went wrong.
QString runTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr);
// The text of a PDF file, one entry per page: laid out as on the page, or in the order it was
// printed (raw).
QStringList pdfPages(const QString& path, bool raw = false);
// The lines printed on a page in printing order, with runs of spaces (ideographic ones too)
// as one space.
QStringList printedLines(const QString& pageText);
// Page count from pdfinfo; -1 when the file is not a readable PDF.
int pdfPageCount(const QString& path);
// Page 1 rasterised by pdftoppm at the resolution given.
QImage pdfImage(const QString& path, int dpi);

}  // namespace printtest
