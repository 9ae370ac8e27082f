// One print job from start to end: the pages are painted into a temporary file that becomes
// the PDF file or is handed to the printer queue only once it is complete, so a failing job
// leaves nothing half-written behind.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <QString>
#include <functional>

#include "print/printers.h"

enum class PrintFailure { None, Printer, File };

struct JobResult {
    PrintFailure failure = PrintFailure::None;
    // The printer's name or the file's path, and the system's reason when it gave one.
    QString subject;
    QString reason;
};

// Paints the whole document with the painter active on the printer; false when the printer
// could not start a page.
using DocumentPainter = std::function<bool(QPainter& painter, QPrinter& printer)>;

// Prints to the current choice: to pdfPath for the PDF file entry, otherwise to the printer.
JobResult runPrintJob(PrinterChoice& choice, const QString& pdfPath, PrintSpooler& spooler,
                      const QString& title, const DocumentPainter& paint);
