// Print jobs that fail: a file that cannot be written, a full disk and a printer that refuses
// the job end with a message and leave no file behind; a printer queue gets the finished
// document; a new PDF file gets the permissions the user's umask allows.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

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

// A tmpfs of a few kilobytes mounted over a folder for the length of a test.
class SmallDisk {
  public:
    SmallDisk(const QString& folder, int kilobytes) : folder_(folder.toLocal8Bit()) {
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData()) != 0) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    ~SmallDisk() {
        if (error_.isEmpty()) {
            ::umount2(folder_.constData(), MNT_DETACH);
        }
    }
    // Empty once mounted.
    const QString& error() const { return error_; }

  private:
    QByteArray folder_;
    QString error_;
};

class Umask {
  public:
    explicit Umask(mode_t mask) : old_(::umask(mask)) {}
    ~Umask() { ::umask(old_); }

  private:
    mode_t old_;
};

mode_t permissionsOf(const QString& path) {
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

TEST(PrintJob, AFullDiskKeepsTheOldFileAndSaysWhy) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    PrintRig rig;
    fillLog(rig);
    const QString folder = rig.path(QStringLiteral("disk"));
    // Room for the old file and a part of the new one.
    const SmallDisk disk(folder, 16);
    if (!disk.error().isEmpty()) {
        GTEST_SKIP() << "no tmpfs: " << disk.error().toStdString();
    }
    const QString target = folder + QStringLiteral("/graph.pdf");
    const QByteArray old = "%PDF-1.4 the graph printed yesterday\n%%EOF\n";
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(old), old.size());
    file.close();

    for (const PrintKind kind : {PrintKind::Graph, PrintKind::Dump}) {
        SCOPED_TRACE(static_cast<int>(kind));
        rig.prompter.messages.clear();
        rig.table(LogData).table()->selectAll();
        EXPECT_EQ(rig.operations.run({LogData, kind, target}).status, PrintStatus::Failed);
        EXPECT_EQ(rig.prompter.messages,
                  QStringList{QStringLiteral("QM320-HX: The file cannot be written: ") + target +
                              QStringLiteral("\r\rNo space left on device")});
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old);
        file.close();
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("graph.pdf")});
    }
}

TEST(PrintJob, APrintedFileMayBeReadAsTheUmaskAllows) {
    PrintRig rig;
    fillLog(rig);
    const QString target = rig.path(QStringLiteral("graph.pdf"));
    // A new file, then one printed over an older one.
    for (const mode_t mask : {022, 077, 002, 027}) {
        SCOPED_TRACE(mask);
        const Umask umask(mask);
        EXPECT_EQ(rig.operations.run({LogData, PrintKind::Graph, target}).status,
                  PrintStatus::Printed);
        EXPECT_EQ(permissionsOf(target), 0666 & ~mask);
    }
    EXPECT_TRUE(rig.prompter.messages.isEmpty());
}

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
        // Black and white chosen in the printer's window.
        bool monochrome;
    };
    const Case cases[] = {
        {"", PrintStatus::Printed, nullptr, false},
        {"The printer or class does not exist.", PrintStatus::Failed,
         "QM320-HX: The printer cannot be used: Office\r\rThe printer or class does not exist.",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal);
        PrintRig rig;
        fillLog(rig);
        rig.catalog.names = {QStringLiteral("Office"), QStringLiteral("Lab")};
        rig.catalog.defaultName = QStringLiteral("Office");
        rig.spooler.refusal = QString::fromLatin1(c.refusal);
        rig.choice.settings().setColorMode(c.monochrome ? QPrinter::GrayScale : QPrinter::Color);
        const PrintOutcome outcome = rig.operations.Log_G_Print();
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_TRUE(rig.prompter.saveQuestions.isEmpty());
        ASSERT_EQ(rig.spooler.requests.size(), 1U);
        const SpoolRequest& request = rig.spooler.requests.front();
        EXPECT_EQ(request.printer, QStringLiteral("Office"));
        EXPECT_EQ(request.title, QStringLiteral("Graph Print"));
        EXPECT_EQ(request.monochrome, c.monochrome);
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
