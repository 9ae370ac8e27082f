// Print jobs through a temporary file: renamed into place for a PDF file, spooled and removed
// for a printer.
#include "print/printjob.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace {

constexpr char kCreator[] = "Veltrane";

bool paintInto(QPrinter& printer, const QString& file, const QString& title,
               const DocumentPainter& paint) {
    printer.setOutputFileName(file);
    printer.setDocName(title);
    printer.setCreator(QLatin1String(kCreator));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const bool painted = paint(painter, printer);
    const bool ended = painter.end();
    return painted && ended && printer.printerState() != QPrinter::Error;
}

JobResult toFile(QPrinter& printer, const QString& path, const QString& title,
                 const DocumentPainter& paint) {
    const QFileInfo target(path);
    const JobResult failed{PrintFailure::File, target.absoluteFilePath(), {}};
    // Beside the target, so the finished file is renamed into place on the same file system.
    QTemporaryFile part(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    if (target.fileName().isEmpty() || !part.open()) {
        return failed;
    }
    part.close();
    if (!paintInto(printer, part.fileName(), title, paint)) {
        return failed;
    }
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(part.fileName().toStdString()),
                            std::filesystem::path(target.absoluteFilePath().toStdString()), error);
    if (error) {
        return {PrintFailure::File, target.absoluteFilePath(),
                QString::fromStdString(error.message())};
    }
    part.setAutoRemove(false);
    return {};
}

JobResult toPrinter(PrinterChoice& choice, PrintSpooler& spooler, const QString& title,
                    const DocumentPainter& paint) {
    const QString name = choice.printerName();
    const JobResult failed{PrintFailure::Printer, name, {}};
    if (!choice.catalog().printerNames().contains(name)) {
        return failed;
    }
    QPrinter& printer = choice.settings();
    QTemporaryFile spool(QDir::temp().filePath(QStringLiteral("veltrane-print-XXXXXX.spool")));
    if (!spool.open()) {
        return failed;
    }
    spool.close();
    const bool painted = paintInto(printer, spool.fileName(), title, paint);
    // The settings go back to printing on the printer itself.
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        printer.setOutputFileName(QString());
    }
    if (!painted) {
        return failed;
    }
    const QString refused =
        spooler.submit({name, spool.fileName(), title, printer.pageLayout().pageSize().key(),
                        printer.copyCount()});
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
