// The system's side of printing: installed printers from the print system, the platform's
// printer dialogs, and the CUPS queue that takes a finished document.
#pragma once

#include "print/printers.h"

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
