// End-to-end: the print buttons of the real window open the dialog of the view on display with
// the session held, and Print through the PDF file entry writes the downloaded log.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QPushButton>

#include "endtoend.h"
#include "graph/graphview.h"
#include "print/printdialogs.h"
#include "ui/datatable.h"

namespace {

using e2e::Rig;

TEST(WindowPrint, ButtonsOpenTheDialogOfTheViewAndPrintToAPdfFile) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    ASSERT_EQ(rig.window->Disp_stat(), LogData);

    QStringList opened;
    bool heldWhileOpen = true;
    bool printPdf = false;
    rig.window->printing().setDialogRunner([&](QDialog& dialog) {
        opened.append(dialog.objectName());
        heldWhileOpen = heldWhileOpen && rig.window->session().busy();
        auto& printer = static_cast<PrinterDialog&>(dialog);
        if (!printPdf) {
            return int(QDialog::Rejected);
        }
        printer.choose(printer.printerList()->count() - 1);
        printer.printButton()->click();
        return dialog.result();
    });
    ASSERT_TRUE(rig.click(ControlId::PrintLogButton));
    rig.window->graphView().selectDisplay(LogData, 1);
    // The dump dialog opens only over selected rows.
    rig.window->table(LogData)->table()->selectAll();
    ASSERT_TRUE(rig.click(ControlId::PrintLogButton));
    EXPECT_EQ(opened, QStringList({"Form9", "Form10"}));
    EXPECT_TRUE(heldWhileOpen);
    EXPECT_FALSE(rig.window->session().busy());

    // The dump pages of the selected rows go to the file the user names.
    const QString path = rig.dir.filePath(QStringLiteral("log.pdf"));
    rig.prompter.fileNames = {path};
    printPdf = true;
    rig.window->menu().printItem->trigger();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    for (const auto& call : rig.prompter.calls) {
        EXPECT_NE(call.kind, QStringLiteral("message")) << call.text.toStdString();
    }
}

}  // namespace
