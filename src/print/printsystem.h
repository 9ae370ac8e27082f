// The system's side of printing: installed printers from the print system, the platform's
// printer dialogs, the CUPS queue that takes a finished document, and the bundle the main
// window holds for the whole run.
#pragma once

#include "print/printers.h"
#include "print/printoperations.h"

class SystemPrinterCatalog : public PrinterCatalog {
  public:
    QStringList printerNames() const override;
    QString defaultPrinterName() const override;
};

class QtPrinterDialogs : public PrinterDialogs {
  public:
    void pageSetup(QPrinter& printer, QWidget* parent) override;
    void printerWindow(QPrinter& printer, QWidget* parent) override;
};

class CupsSpooler : public PrintSpooler {
  public:
    QString submit(const SpoolRequest& request) override;
};

// The print operations on the system's printers, with the current printer kept for the run.
class SystemPrinting {
  public:
    // execDialog runs GraphPrintDialog and DumpPrintDialog modally (QDialog::exec when empty).
    SystemPrinting(PrintHost& host, const MessageTable& messages, Prompter& prompter,
                   std::function<int(QDialog&)> execDialog = {});

    PrintOperations& operations() { return operations_; }
    PrinterChoice& printers() { return choice_; }

  private:
    SystemPrinterCatalog catalog_;
    QtPrinterDialogs dialogs_;
    CupsSpooler spooler_;
    PrinterChoice choice_{catalog_};
    PrintOperations operations_;
};
