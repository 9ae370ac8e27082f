// The print operations of the main window: the print buttons' dialogs and the six public
// operations Log_G_Print .. File_D_Print, each reading sample 1 of its data set and printing
// the graph page or the dump pages to the current printer.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "data/tablerows.h"
#include "graph/renderer.h"
#include "graph/viewmath.h"
#include "print/printdialogs.h"
#include "print/printers.h"

// A data table as the dump prints it: its rows and the rows the user selected, in table order.
struct PrintTable {
    const TableRows* rows = nullptr;
    std::vector<int> selected;
};

// What the prints read from the main window at the moment they run.
class PrintHost {
  public:
    virtual ~PrintHost() = default;
    // The data set of a Disp_stat value; nullptr outside 0..2.
    virtual DataSet* printDataSet(int index) = 0;
    // The identification name printed with a data set: the connected logger's for the log and
    // real-time data, the opened file's for the file data.
    virtual QString printName(int index) = 0;
    // The graph view's bars (the visible window) and its renderer (fonts).
    virtual Bars printBars() = 0;
    virtual const GraphRenderer& printRenderer() = 0;
    // The data table of a data set: its rows, texts and selection; no rows outside 0..2.
    virtual PrintTable printTable(int index) = 0;
    // Machine_N_P, the title of message boxes; the directory the file question starts in.
    virtual QString printTitle() = 0;
    virtual QString printDirectory() = 0;
};

struct PrintServices {
    PrinterDialogs& dialogs;
    PrintSpooler& spooler;
    Prompter& prompter;
    // Runs a dialog modally; the window may hold its busy state around it.
    std::function<int(QDialog&)> execDialog = [](QDialog& dialog) { return dialog.exec(); };
};

enum class PrintStatus { Printed, Cancelled, NothingToPrint, Failed };

struct PrintOutcome {
    PrintStatus status = PrintStatus::Cancelled;
    int pages = 0;
    // The printer's name or the PDF file's path.
    QString output;
};

class PrintOperations {
  public:
    PrintOperations(PrintHost& host, PrinterChoice& choice, const MessageTable& messages,
                    PrintServices services);

    PrinterChoice& printers() { return choice_; }
    void setDialogRunner(std::function<int(QDialog&)> execDialog) {
        services_.execDialog = std::move(execDialog);
    }

    // The three Print buttons and the Print menu item: DumpPrintDialog in the dump view
    // (viewKind 1), GraphPrintDialog in the graph view; Print there runs the request. With
    // nothing to print the user is told so and no dialog opens.
    PrintOutcome showPrintDialog(int dataSet, int viewKind, QWidget* owner);
    std::unique_ptr<PrinterDialog> makeDialog(int dataSet, int viewKind, QWidget* owner);
    // Prints what a dialog asked for; a PDF file request without a path asks for one.
    PrintOutcome run(const PrintRequest& request);

    PrintOutcome Log_G_Print() { return run({LogData, PrintKind::Graph, {}}); }
    PrintOutcome Real_G_Print() { return run({RealTimeData, PrintKind::Graph, {}}); }
    PrintOutcome File_G_Print() { return run({FileData, PrintKind::Graph, {}}); }
    PrintOutcome Log_D_Print() { return run({LogData, PrintKind::Dump, {}}); }
    PrintOutcome Real_D_Print() { return run({RealTimeData, PrintKind::Dump, {}}); }
    PrintOutcome File_D_Print() { return run({FileData, PrintKind::Dump, {}}); }

  private:
    // What a request prints: sample 1 of its data set and, for a dump, the selected rows;
    // nullopt (the user told) when there is nothing to print.
    struct Printable {
        DataSet* set;
        Sample first;
        PrintTable table;
    };
    std::optional<Printable> printable(const PrintRequest& request);
    QString askPdfPath(int dataSet);
    PrintOutcome fail(PrintStatus status, const QString& text);

    PrintHost& host_;
    PrinterChoice& choice_;
    const MessageTable& messages_;
    PrintServices services_;
};
