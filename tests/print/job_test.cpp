// Print jobs that fail: a file that cannot be written and a printer that refuses the job end
// with a message and leave no file behind; a printer queue gets the finished document.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "printkit.h"

using namespace printtest;

namespace {

const double kStart = dayCountOf(2024, 6, 2, 9, 0, 0);

void fillLog(PrintRig& rig) {
    rig.fill(
        LogData, kStart, 40, 60, [](int i) { return 18.0F + i % 5; },
        [](int i) { return 45.0F + i % 9; });
    rig.fitGraph(LogData);
}

}  // namespace

TEST(PrintJob, AFileThatCannotBeWrittenLeavesNothingBehind) {
    PrintRig rig;
    fillLog(rig);
    QDir().mkpath(rig.path(QStringLiteral("taken.pdf")));
    const QString targets[] = {rig.path(QStringLiteral("missing/graph.pdf")),
                               rig.path(QStringLiteral("taken.pdf"))};
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        rig.prompter.messages.clear();
        const QStringList before = QDir(rig.path({})).entryList(QDir::AllEntries | QDir::Hidden);
        rig.answerFile(target);
        EXPECT_EQ(rig.operations.Log_G_Print().status, PrintStatus::Failed);
        ASSERT_EQ(rig.prompter.messages.size(), 1);
        EXPECT_TRUE(rig.prompter.messages.first().startsWith(
            QStringLiteral("QM320-HX: The file cannot be written: ") + target))
            << rig.prompter.messages.first().toStdString();
        EXPECT_EQ(QDir(rig.path({})).entryList(QDir::AllEntries | QDir::Hidden), before);
        EXPECT_TRUE(QDir(rig.path(QStringLiteral("taken.pdf"))).isEmpty());
    }
}

TEST(PrintJob, APrinterQueueGetsTheFinishedDocumentOrReportsItsRefusal) {
    struct Case {
        const char* refusal;
        PrintStatus status;
        const char* message;
    };
    const Case cases[] = {
        {"", PrintStatus::Printed, nullptr},
        {"The printer or class does not exist.", PrintStatus::Failed,
         "QM320-HX: The printer cannot be used: Office\r\rThe printer or class does not exist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal);
        PrintRig rig;
        fillLog(rig);
        rig.catalog.names = {QStringLiteral("Office"), QStringLiteral("Lab")};
        rig.catalog.defaultName = QStringLiteral("Office");
        rig.spooler.refusal = QString::fromLatin1(c.refusal);
        const PrintOutcome outcome = rig.operations.Log_G_Print();
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_TRUE(rig.prompter.saveQuestions.isEmpty());
        ASSERT_EQ(rig.spooler.requests.size(), 1U);
        const SpoolRequest& request = rig.spooler.requests.front();
        EXPECT_EQ(request.printer, QStringLiteral("Office"));
        EXPECT_EQ(request.title, QStringLiteral("Graph Print"));
        EXPECT_TRUE(rig.spooler.lastDocument.startsWith("%PDF"));
        EXPECT_FALSE(QFile::exists(request.file));
        EXPECT_EQ(rig.prompter.messages,
                  c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList());
    }
}

TEST(PrintJob, APrinterGoneSinceItWasChosenEndsTheJob) {
    PrintRig rig;
    fillLog(rig);
    rig.catalog.names = {QStringLiteral("Office")};
    rig.choice.choosePrinter(QStringLiteral("Office"));
    rig.catalog.names.clear();
    EXPECT_EQ(rig.operations.Log_G_Print().status, PrintStatus::Failed);
    EXPECT_EQ(rig.prompter.messages,
              QStringList{QStringLiteral("QM320-HX: The printer cannot be used: Office")});
    EXPECT_TRUE(rig.spooler.requests.empty());
}
