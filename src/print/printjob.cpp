// Print jobs through a temporary file: renamed into place for a PDF file, spooled and removed
// for a printer.
#include "print/printjob.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>

#include "print/printfile.h"

namespace {

constexpr char kCreator[] = "Veltrane";
// A PDF file is the user's document; a spool file is private until the queue takes it.
constexpr mode_t kDocumentMode = 0666;
constexpr mode_t kSpoolMode = 0600;

// False when painting failed or any byte of the document did not reach the disk.
bool paintInto(const QPrinter& settings, DocumentFile& file, const QString& title,
               const DocumentPainter& paint) {
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(settings.pageLayout());
        writer.setResolution(settings.resolution());
        writer.setTitle(title);
        writer.setCreator(QLatin1String(kCreator));
        QPainter painter;
        if (painter.begin(&writer)) {
            painted = paint(painter, writer);
            painted = painter.end() && painted;
        }
    }
    return file.finish() && painted;
}

JobResult toFile(const QPrinter& settings, const QString& path, const QString& title,
                 const DocumentPainter& paint) {
    const QFileInfo target(path);
    JobResult failed{PrintFailure::File, target.absoluteFilePath(), {}};
    if (target.fileName().isEmpty()) {
        return failed;
    }
    // Beside the target, so the finished file is renamed into place on the same file system.
    DocumentFile part;
    if (!part.create(target.absolutePath(), QStringLiteral(".%1.").arg(target.fileName()),
                     QStringLiteral(".part"), kDocumentMode) ||
        !paintInto(settings, part, title, paint) || !part.commit(target.absoluteFilePath())) {
        failed.reason = part.reason();
        return failed;
    }
    return {};
}

JobResult toPrinter(PrinterChoice& choice, PrintSpooler& spooler, const QString& title,
                    const DocumentPainter& paint) {
    const QString name = choice.printerName();
    JobResult failed{PrintFailure::Printer, name, {}};
    if (!choice.catalog().printerNames().contains(name)) {
        return failed;
    }
    const QPrinter& printer = choice.settings();
    DocumentFile spool;
    if (!spool.create(QDir::tempPath(), QStringLiteral("veltrane-print-"), QStringLiteral(".spool"),
                      kSpoolMode) ||
        !paintInto(printer, spool, title, paint)) {
        failed.reason = spool.reason();
        return failed;
    }
    const QString refused =
        spooler.submit({name, spool.fileName(), title, printer.pageLayout().pageSize().key(),
                        printer.copyCount(), printer.colorMode() == QPrinter::GrayScale});
    if (!refused.isEmpty()) {
        return {PrintFailure::Printer, name, refused};
    }
    return {};
}

}  // namespace

JobResult runPrintJob(PrinterChoice& choice, const QString& pdfPath, PrintSpooler& spooler,
                      const QString& title, const DocumentPainter& paint) {
    if (choice.pdfFile()) {
        return toFile(choice.settings(), pdfPath, title, paint);
    }
    return toPrinter(choice, spooler, title, paint);
}
