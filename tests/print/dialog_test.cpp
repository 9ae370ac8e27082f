// GraphPrintDialog and DumpPrintDialog: names and captions, the printer list with the PDF file
// entry, the choice of a printer, the printer buttons, and Print with and without a file name.
#include <gtest/gtest.h>

#include "printkit.h"

using namespace printtest;

TEST(PrintDialogs, ListThePrintersAndTheFileEntryAndMakeTheChoiceCurrent) {
    const struct {
        int viewKind;
        const char* name;
        const char* title;
        const char* printerButton;
    } forms[] = {{0, "Form9", "Graph Print", "Printer setup"},
                 {1, "Form10", "Dump Print", "プロパティ"}};
    for (const auto& form : forms) {
        SCOPED_TRACE(form.name);
        PrintRig rig;
        rig.catalog.names = {QStringLiteral("Office"), QStringLiteral("Lab")};
        rig.catalog.defaultName = QStringLiteral("Lab");
        QWidget owner;
        owner.setWindowIcon(QIcon(QPixmap(16, 16)));
        const auto dialog = rig.operations.makeDialog(FileData, form.viewKind, &owner);
        EXPECT_EQ(dialog->objectName(), QString::fromLatin1(form.name));
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(form.title));
        EXPECT_FALSE(dialog->windowIcon().isNull());
        const QStringList captions{dialog->printerFrame()->title(), dialog->printButton()->text(),
                                   dialog->cancelButton()->text(), dialog->printerButton()->text()};
        EXPECT_EQ(captions, QStringList({"Printer", "Print", "Cancel",
                                         QString::fromUtf8(form.printerButton)}));
        for (const char* name : {"Combo1", "Command1", "Command2", "Command3", "Frame1"}) {
            EXPECT_NE(dialog->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
        }
        if (auto* form10 = dynamic_cast<DumpPrintDialog*>(dialog.get())) {
            EXPECT_EQ(form10->areaFrame()->objectName() + form10->areaFrame()->title(),
                      QStringLiteral("Frame3Print area"));
            EXPECT_EQ(form10->areaLabel()->text(),
                      QStringLiteral("Only the selected data is printed. "));
        }

        QComboBox* combo = dialog->printerList();
        EXPECT_EQ(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2)}),
                  QStringList({"Office", "Lab", "PDF file"}));
        EXPECT_EQ(combo->currentText(), QStringLiteral("Lab"));
        dialog->choose(0);
        EXPECT_EQ(rig.choice.printerName(), QStringLiteral("Office"));
        EXPECT_EQ(dialog->focusWidget(), dialog->printButton());
        dialog->choose(2);
        EXPECT_TRUE(rig.choice.pdfFile());

        dialog->printerButton()->click();
        EXPECT_EQ(form.viewKind == 0 ? rig.dialogs.setups : rig.dialogs.windows,
                  std::vector<QWidget*>{dialog.get()});
        EXPECT_EQ(rig.dialogs.setups.size() + rig.dialogs.windows.size(), 1U);
    }
}

TEST(PrintDialogs, WithoutPrintersTheFileEntryAsksForAFileAndPrintsThere) {
    PrintRig rig;
    rig.fill(
        FileData, dayCountOf(2024, 7, 1, 6, 30, 0), 30, 600, [](int i) { return 10.0F + i; },
        [](int i) { return 80.0F - i; });
    rig.fitGraph(FileData);
    const QString pdf = rig.path(QStringLiteral("file.pdf"));
    rig.user = [&](PrinterDialog& dialog) {
        EXPECT_EQ(dialog.printerList()->count(), 1);
        EXPECT_EQ(dialog.printerList()->currentText(), QStringLiteral("PDF file"));
        // The first file question is cancelled: the dialog stays open.
        dialog.printButton()->click();
        EXPECT_FALSE(dialog.request().has_value());
        rig.answerFile(pdf);
        dialog.printButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    };
    const PrintOutcome outcome = rig.operations.showPrintDialog(FileData, 0, nullptr);
    EXPECT_EQ(outcome.status, PrintStatus::Printed);
    EXPECT_EQ(outcome.output, pdf);
    EXPECT_EQ(rig.prompter.saveQuestions,
              QStringList(2, "PDF file|" + rig.printDirectory() +
                                 "|FL03_240701_063000.pdf|PDF(*.pdf)|*.pdf"));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(pdfPages(pdf, true).value(0).contains(QStringLiteral("Recognition name FL03")));

    // The dump dialog opens over a selection, and Cancel closes it without a question.
    rig.table(FileData).table()->selectAll();
    rig.user = [](PrinterDialog& dialog) { dialog.cancelButton()->click(); };
    EXPECT_EQ(rig.operations.showPrintDialog(FileData, 1, nullptr).status, PrintStatus::Cancelled);
    EXPECT_EQ(rig.prompter.saveQuestions.size(), 2);
    EXPECT_TRUE(rig.prompter.messages.isEmpty());
}
