// Help > Save diagnostic report…: the archive a user attaches to a report holds the version,
// the setup check, the settings file, the logger's status and this run's wire trace, and
// reads back with the system's tar.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "app/tarwriter.h"
#include "data/version.h"
#include "endtoend.h"
#include "link/tracelines.h"

namespace {

using namespace e2e;

// The menu item as a user reaches it: shown and enabled, or the test fails.
void choose(QAction* item) {
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->text().toStdString();
    item->trigger();
}

QByteArray tar(const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.start(QStringLiteral("tar"), arguments);
    process.waitForFinished(30000);
    if (exitCode != nullptr) {
        *exitCode = process.exitCode();
    }
    return process.readAllStandardOutput();
}

QByteArray member(const QString& archive, const QString& name) {
    return tar({QStringLiteral("-xOf"), archive, name});
}

TEST(DiagnosticReport, HoldsVersionSetupSettingsStatusAndTheTraceOfTheRun) {
    Rig rig(QStringLiteral("demo"));
    ASSERT_TRUE(rig.started());
    QFile settings(QDir(rig.dir.path()).filePath(QStringLiteral("Logger.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("3,57600,C:\\data\n");
    settings.close();
    connectLogger(rig);
    const QString archive = QDir(rig.dir.path()).filePath(QStringLiteral("report.tar"));
    rig.prompter.fileNames = {archive};
    choose(rig.window->menu().diagnosticReportItem);
    ASSERT_TRUE(QFile::exists(archive));

    int listed = -1;
    const QByteArray names = tar({QStringLiteral("-tf"), archive}, &listed);
    EXPECT_EQ(listed, 0);
    EXPECT_EQ(names,
              QByteArray("version.txt\nsetup-check.txt\nLogger.ini\nstatus.txt\ntrace.jsonl\n"));
    EXPECT_EQ(
        member(archive, QStringLiteral("version.txt")),
        QByteArray(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size())) + '\n');
    EXPECT_FALSE(member(archive, QStringLiteral("setup-check.txt")).isEmpty());
    EXPECT_EQ(member(archive, QStringLiteral("Logger.ini")), QByteArray("3,57600,C:\\data\n"));
    const QByteArray status = member(archive, QStringLiteral("status.txt"));
    EXPECT_TRUE(status.contains("DEMO")) << status.toStdString();
    const traceLines::ReadResult trace =
        traceLines::read(member(archive, QStringLiteral("trace.jsonl")));
    ASSERT_TRUE(trace.ok()) << trace.error.toStdString();
    ASSERT_FALSE(trace.lines.empty());
    // The connect's status read is in it, as the last procedure that ended.
    const auto started = std::find_if(trace.lines.rbegin(), trace.lines.rend(), [](const auto& l) {
        return l.ev == QLatin1String("proc_start");
    });
    ASSERT_NE(started, trace.lines.rend());
    EXPECT_EQ(started->object.value(QStringLiteral("proc")).toString(),
              QStringLiteral("port open"));
}

TEST(DiagnosticReport, SaysNoLoggerIsConnectedAndReportsAFileItCannotWrite) {
    Rig rig(QStringLiteral("demo"));
    ASSERT_TRUE(rig.started());
    const QString archive = QDir(rig.dir.path()).filePath(QStringLiteral("report.tar"));
    rig.prompter.fileNames = {archive};
    choose(rig.window->menu().diagnosticReportItem);
    EXPECT_EQ(member(archive, QStringLiteral("status.txt")),
              QByteArray("No logger is connected.\n"));

    // Cancelled: nothing written, nothing said.
    QFile::remove(archive);
    rig.prompter.fileNames = {QString()};
    const std::size_t calls = rig.prompter.calls.size();
    choose(rig.window->menu().diagnosticReportItem);
    EXPECT_FALSE(QFile::exists(archive));
    EXPECT_EQ(rig.prompter.calls.size(), calls + 1);

    const QString missing = QDir(rig.dir.path()).filePath(QStringLiteral("no/such/folder/r.tar"));
    rig.prompter.fileNames = {missing};
    choose(rig.window->menu().diagnosticReportItem);
    ASSERT_FALSE(rig.prompter.calls.empty());
    EXPECT_EQ(rig.prompter.calls.back().kind, QStringLiteral("message"));
    EXPECT_TRUE(rig.prompter.calls.back().text.contains(QStringLiteral("cannot be written")));
}

TEST(TarWriter, PadsMembersToBlocksAndRefusesNamesAHeaderCannotHold) {
    const QByteArray archive =
        tarArchive({{QStringLiteral("a.txt"), QByteArray(513, 'x')}, {QStringLiteral("e"), {}}}, 0);
    // Header, two data blocks, header, end marker.
    EXPECT_EQ(archive.size(), 512 * (1 + 2 + 1 + 2));
    EXPECT_TRUE(tarArchive({{QString(101, QLatin1Char('n')), {}}}, 0).isEmpty());
    EXPECT_TRUE(tarArchive({{QStringLiteral("dir/a"), {}}}, 0).isEmpty());
}

}  // namespace
