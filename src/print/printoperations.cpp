// Print operations: facts of the data set, the rows to print, the job and its messages.
#include "print/printoperations.h"

#include <QFileInfo>

#include "data/csv.h"
#include "print/dumpprint.h"
#include "print/graphprint.h"
#include "print/printheader.h"
#include "print/printjob.h"
#include "print/reportprint.h"

namespace {

// The dialogs' titles name the jobs.

}  // namespace

PrintOperations::PrintOperations(PrintHost& host, PrinterChoice& choice,
                                 const MessageTable& messages, PrintServices services)
    : host_(host), choice_(choice), messages_(messages), services_(std::move(services)) {}

std::unique_ptr<PrinterDialog> PrintOperations::makeDialog(int dataSet, int viewKind,
                                                           QWidget* owner) {
    auto ask = [this, dataSet] { return askPdfPath(dataSet); };
    if (viewKind == 1) {
        return std::make_unique<DumpPrintDialog>(dataSet, choice_, services_.dialogs, ask,
                                                 messages_, owner);
    }
    return std::make_unique<GraphPrintDialog>(dataSet, choice_, services_.dialogs, ask, messages_,
                                              owner);
}

PrintOutcome PrintOperations::showPrintDialog(int dataSet, int viewKind, QWidget* owner) {
    if (!printable({dataSet, viewKind == 1 ? PrintKind::Dump : PrintKind::Graph, {}})) {
        return {PrintStatus::NothingToPrint, 0, {}};
    }
    const std::unique_ptr<PrinterDialog> dialog = makeDialog(dataSet, viewKind, owner);
    services_.execDialog(*dialog);
    if (!dialog->request()) {
        return {};
    }
    return run(*dialog->request());
}

QString PrintOperations::askPdfPath(int dataSet) {
    QString proposed;
    Sample first;
    if (DataSet* set = host_.printDataSet(dataSet);
        set != nullptr && set->count > 0 && set->read(1, first) == DataError::None) {
        proposed =
            proposedFileName(host_.printName(dataSet), first.dateTime) + QStringLiteral(".pdf");
    }
    return services_.prompter.saveFileName(messages_.text(Msg::PdfFile), host_.printDirectory(),
                                           proposed, messages_.text(Msg::PdfFilter));
}

PrintOutcome PrintOperations::fail(PrintStatus status, const QString& text) {
    services_.prompter.message(host_.printTitle(), text);
    return {status, 0, {}};
}

std::optional<PrintOperations::Printable> PrintOperations::printable(const PrintRequest& request) {
    Printable what{host_.printDataSet(request.dataSet), {}, {}};
    bool any = what.set != nullptr && what.set->count > 0 &&
               what.set->read(1, what.first) == DataError::None;
    if (any && request.kind == PrintKind::Dump) {
        what.table = host_.printTable(request.dataSet);
        any = what.table.rows != nullptr && !what.table.selected.empty();
    }
    if (!any) {
        fail(PrintStatus::NothingToPrint, messages_.text(Msg::NothingSelectedToPrint));
        return std::nullopt;
    }
    return what;
}

PrintOutcome PrintOperations::run(const PrintRequest& request) {
    const std::optional<Printable> what = printable(request);
    if (!what) {
        return {PrintStatus::NothingToPrint, 0, {}};
    }
    DataSet* set = what->set;
    const PrintTable& table = what->table;
    QString pdfPath = request.pdfPath;
    if (choice_.pdfFile() && pdfPath.isEmpty()) {
        pdfPath = askPdfPath(request.dataSet);
        if (pdfPath.isEmpty()) {
            return {};
        }
    }

    const PrintHeaderFacts facts{host_.printName(request.dataSet), what->first.dateTime, set->count,
                                 set->interval};
    const GraphRenderer& renderer = host_.printRenderer();
    const Bars bars = host_.printBars();
    int pages = 0;
    const DocumentPainter paint = [&](QPainter& painter, QPagedPaintDevice& device) {
        const bool dump = request.kind == PrintKind::Dump;
        PrintPage page(painter, device, renderer.font(), messages_.text(Msg::PrintMeasureLetter),
                       dump ? PrintPage::kDumpMargin : PrintPage::kGraphMargin);
        bool painted = true;
        if (request.kind == PrintKind::Graph) {
            printGraphPage(page, facts, *set, bars, renderer, messages_);
        } else if (request.kind == PrintKind::Report) {
            printReportPage(page, facts, *set, renderer, messages_);
        } else {
            painted = printDumpPages(page, facts, *set, *table.rows, table.selected, messages_);
        }
        pages = page.pageNumber();
        return painted;
    };
    const QString title =
        messages_.text(request.kind == PrintKind::Graph    ? Msg::GraphPrintTitle
                       : request.kind == PrintKind::Report ? Msg::SummaryReportTitle
                                                           : Msg::DumpPrintTitle);
    const JobResult job = runPrintJob(choice_, pdfPath, services_.spooler, title, paint);
    if (job.failure != PrintFailure::None) {
        QString text =
            messages_.text(job.failure == PrintFailure::Printer ? Msg::PrinterUnusable
                                                                : Msg::PrintFileNotWritable) +
            job.subject;
        if (!job.reason.isEmpty()) {
            text += MessageTable::kPartBreak + job.reason;
        }
        return fail(PrintStatus::Failed, text);
    }
    return {PrintStatus::Printed, pages,
            choice_.pdfFile() ? QFileInfo(pdfPath).absoluteFilePath() : choice_.printerName()};
}
