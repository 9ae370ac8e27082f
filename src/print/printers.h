// The printers a print can go to: the installed printers, then the PDF file entry. The current
// choice holds the page layout and options of that printer for the whole run.
#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

// The installed printers, as the system lists them.
class PrinterCatalog {
  public:
    virtual ~PrinterCatalog() = default;
    virtual QStringList printerNames() const = 0;
    // Empty when the system names no default printer.
    virtual QString defaultPrinterName() const = 0;
};

// The platform's own printer dialogs, modal to their parent.
class PrinterDialogs {
  public:
    virtual ~PrinterDialogs() = default;
    // Paper, orientation and margins of the printer.
    virtual void pageSetup(QPrinter& printer, QWidget* parent) = 0;
    // The printer's own window with its options.
    virtual void printerWindow(QPrinter& printer, QWidget* parent) = 0;
};

// One finished document handed to a printer queue.
struct SpoolRequest {
    QString printer;
    QString file;  // a complete document in the printer's format
    QString title;
    QString media;  // page size key, e.g. "A4"
    int copies = 1;
    // Printed in black and white (the document itself is in colour).
    bool monochrome = false;
};

class PrintSpooler {
  public:
    virtual ~PrintSpooler() = default;
    // Empty text when the queue took the document, otherwise the reason it refused it.
    virtual QString submit(const SpoolRequest& request) = 0;
};

class PrinterChoice {
  public:
    explicit PrinterChoice(const PrinterCatalog& catalog) : catalog_(catalog) {}

    const PrinterCatalog& catalog() const { return catalog_; }
    // The installed printers; the lists add the PDF file entry after them.
    QStringList printerNames() const { return catalog_.printerNames(); }
    // Until something is chosen: the default printer, else the first installed one, else the
    // PDF file. A chosen printer stays current even when it is no longer installed (a print
    // to it then fails) until refresh() looks again.
    bool pdfFile();
    QString printerName();
    void choosePrinter(const QString& name);
    void choosePdfFile();
    // Forgets a chosen printer that is no longer installed (the dialogs do this as they open).
    void refresh();
    // Page layout and options of the current printer, kept while it stays current.
    QPrinter& settings();

  private:
    void settle();

    const PrinterCatalog& catalog_;
    bool settled_ = false;
    bool pdf_ = true;
    QString name_;
    std::unique_ptr<QPrinter> settings_;
};
