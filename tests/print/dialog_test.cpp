// Form9 and Form10: names and captions, the printer list with the PDF file entry, the choice
// of a printer, the printer buttons, and Print with and without a file name.
#include <gtest/gtest.h>

#include <QFile>

#include "printkit.h"

using namespace printtest;

namespace {

struct FormCase {
    int viewKind;
    const char* name;
    const char* title;
    const char* frame;
    const char* printerButton;
};

const FormCase kForms[] = {
    {0, "Form9", "Graph Print", "Printer", "Printer setup"},
    {1, "Form10", "Dump Print", "Printer", "プロパティ"},
};

}  // namespace

TEST(PrintDialogs, ListThePrintersAndTheFileEntryAndMakeTheChoiceCurrent) {
    for (const FormCase& form : kForms) {
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
        EXPECT_EQ(dialog->Frame1()->title(), QString::fromUtf8(form.frame));
        EXPECT_EQ(dialog->Command1()->text(), QStringLiteral("Print"));
        EXPECT_EQ(dialog->Command2()->text(), QStringLiteral("Cancel"));
        EXPECT_EQ(dialog->Command3()->text(), QString::fromUtf8(form.printerButton));
        for (const char* name : {"Combo1", "Command1", "Command2", "Command3", "Frame1"}) {
            EXPECT_NE(dialog->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
        }
        if (auto* form10 = dynamic_cast<Form10*>(dialog.get())) {
            EXPECT_EQ(form10->Frame3()->title(), QStringLiteral("Print area"));
            EXPECT_EQ(form10->Label1()->text(),
                      QStringLiteral("Only the selected data is printed. "));
        }

        QComboBox* combo = dialog->Combo1();
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(2), QStringLiteral("PDF file"));
        EXPECT_EQ(combo->currentText(), QStringLiteral("Lab"));
        dialog->choose(0);
        EXPECT_EQ(rig.choice.printerName(), QStringLiteral("Office"));
        EXPECT_EQ(dialog->focusWidget(), dialog->Command1());
        dialog->choose(2);
        EXPECT_TRUE(rig.choice.pdfFile());

        dialog->Command3()->click();
        const auto& opened = form.viewKind == 0 ? rig.dialogs.setups : rig.dialogs.windows;
        EXPECT_EQ(opened, std::vector<QWidget*>{dialog.get()});
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
    int opened = 0;
    rig.user = [&](PrinterDialog& dialog) {
        ++opened;
        EXPECT_EQ(dialog.Combo1()->count(), 1);
        EXPECT_EQ(dialog.Combo1()->currentText(), QStringLiteral("PDF file"));
        // The first file question is cancelled: the dialog stays open.
        dialog.Command1()->click();
        EXPECT_FALSE(dialog.request().has_value());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        rig.answerFile(pdf);
        dialog.Command1()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    };
    const PrintOutcome outcome = rig.operations.showPrintDialog(FileData, 0, nullptr);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(outcome.status, PrintStatus::Printed);
    EXPECT_EQ(outcome.pages, 1);
    EXPECT_EQ(outcome.output, pdf);
    EXPECT_EQ(rig.prompter.saveQuestions.size(), 2);
    EXPECT_EQ(rig.prompter.saveQuestions.first(),
              QStringList(
                  {"PDF file", rig.printDirectory(), "FL03_240701_063000.pdf", "PDF(*.pdf)|*.pdf"})
                  .join(QLatin1Char('|')));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(pdfPages(pdf, true).value(0).contains(QStringLiteral("Recognition name FL03")));
}

TEST(PrintDialogs, CancelPrintsNothing) {
    PrintRig rig;
    rig.fill(
        LogData, dayCountOf(2024, 7, 1), 5, 60, [](int) { return 20.0F; },
        [](int) { return 50.0F; });
    rig.user = [](PrinterDialog& dialog) { dialog.Command2()->click(); };
    EXPECT_EQ(rig.operations.showPrintDialog(LogData, 1, nullptr).status, PrintStatus::Cancelled);
    EXPECT_TRUE(rig.prompter.saveQuestions.isEmpty());
    EXPECT_TRUE(rig.prompter.messages.isEmpty());
}
