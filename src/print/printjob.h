// One print job from start to end: the pages are painted into a temporary file that becomes
// the PDF file or is handed to the printer queue only once it is complete and every write to
// it succeeded, so a failing job (a full disk) leaves nothing half-written behind and keeps the
// file it would have replaced.
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
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

// Paints the whole document with the painter active on the device, a PDF writer with the page
// layout and resolution of the current printer; false when a page could not be started.
using DocumentPainter = std::function<bool(QPainter& painter, QPagedPaintDevice& device)>;

// Prints to the current choice: to pdfPath for the PDF file entry (a new file gets the
// permissions the umask allows), otherwise to the printer.
JobResult runPrintJob(PrinterChoice& choice, const QString& pdfPath, PrintSpooler& spooler,
                      const QString& title, const DocumentPainter& paint);
