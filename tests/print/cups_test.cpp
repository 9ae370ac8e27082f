// Printing through real CUPS queues: a CUPS-PDF printer whose PDF file is read back, and a
// queue that refuses jobs. Adding queues needs root; scripts/test runs this as root.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTest>

#include "print/printsystem.h"
#include "printkit.h"

using namespace printtest;

namespace {

const char kQueue[] = "VeltraneTestPDF";
const char kOutput[] = "/var/spool/cups-pdf/veltrane-test";

QString addQueue(const QString& queue, const QString& directory) {
    return runTool(QStringLiteral(VELTRANE_SCRIPTS "/cups-pdf-queue"), {queue, directory});
}

int activeJobs(const QString& queue) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toLocal8Bit().constData(), 0,
                                   CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(count, jobs);
    return count;
}

QStringList spoolFiles() {
    return QDir::temp().entryList({QStringLiteral("veltrane-print-*")}, QDir::Files);
}

class CupsQueue : public ::testing::Test {
  protected:
    // 120 samples in the real-time data set with rows 10 to 89 selected.
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "adding a CUPS queue needs root";
        }
        rig.fill(
            RealTimeData, dayCountOf(2024, 8, 5, 14, 0, 0), 120, 30,
            [](int i) { return 21.0F + (i % 13) * 0.25F; }, [](int i) { return 40.0F + i % 17; });
        DataTableView& table = rig.table(RealTimeData);
        table.table()->selectionModel()->select(
            QItemSelection(table.model()->index(10, 0), table.model()->index(89, 0)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        spoolsBefore = spoolFiles();
    }

    PrintRig rig;
    SystemPrinterCatalog catalog;
    PrinterChoice choice{catalog};
    CupsSpooler spooler;
    PrintOperations operations{rig, choice, rig.messages, {rig.dialogs, spooler, rig.prompter}};
    QStringList spoolsBefore;
};

}  // namespace

TEST_F(CupsQueue, ADumpPrintedToACupsPdfQueueComesOutAsItsPdfFile) {
    ASSERT_EQ(addQueue(QLatin1String(kQueue), QLatin1String(kOutput)), QString());
    QDir output{QLatin1String(kOutput)};
    for (const QString& old : output.entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
        output.remove(old);
    }
    ASSERT_TRUE(catalog.printerNames().contains(QLatin1String(kQueue)));
    choice.choosePrinter(QLatin1String(kQueue));

    const PrintOutcome outcome = operations.Real_D_Print();
    ASSERT_EQ(outcome.status, PrintStatus::Printed)
        << rig.prompter.messages.join('\n').toStdString();
    EXPECT_EQ(outcome.output, QLatin1String(kQueue));
    EXPECT_TRUE(rig.prompter.saveQuestions.isEmpty());
    EXPECT_EQ(spoolFiles(), spoolsBefore);

    // CUPS-PDF writes the file once the job has gone through the queue.
    const auto written = [&] {
        return activeJobs(QLatin1String(kQueue)) == 0 &&
               !output.entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty();
    };
    ASSERT_TRUE(QTest::qWaitFor(written, 120000));
    const QString pdf = output.filePath(output.entryList({QStringLiteral("*.pdf")}).first());
    EXPECT_EQ(pdfPageCount(pdf), outcome.pages);
    const QStringList lines = printedLines(pdfPages(pdf, true).join(QLatin1Char('\n')));
    EXPECT_TRUE(lines.contains(QStringLiteral("Recognition name RT02")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Range of selection")));
    int next = 11;
    for (const QString& line : lines) {
        next += line.startsWith(QStringLiteral("%1 2024/08/05").arg(next, 5, 10, QLatin1Char('0')));
    }
    EXPECT_EQ(next, 91);
}

TEST_F(CupsQueue, AQueueThatRefusesTheJobEndsItWithAMessage) {
    const QString queue = QStringLiteral("VeltraneRefusing");
    ASSERT_EQ(addQueue(queue, QStringLiteral("/var/spool/cups-pdf/veltrane-refusing")), QString());
    ASSERT_EQ(runTool(QStringLiteral("/usr/sbin/cupsreject"), {queue}), QString());
    choice.choosePrinter(queue);
    EXPECT_EQ(operations.Real_D_Print().status, PrintStatus::Failed);
    runTool(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-x"), queue});
    QFile::remove(QStringLiteral("/etc/cups/cups-pdf-veltrane-refusing.conf"));
    QDir().rmdir(QStringLiteral("/var/spool/cups-pdf/veltrane-refusing"));
    ASSERT_EQ(rig.prompter.messages.size(), 1);
    // The queue's own reason follows the message.
    EXPECT_TRUE(rig.prompter.messages.first().startsWith(
        QStringLiteral("QM320-HX: The printer cannot be used: VeltraneRefusing\r\r")));
    EXPECT_EQ(spoolFiles(), spoolsBefore);
}
