// The window icon, program directory choice, the single-copy lock and the Qt prompter's filter
// conversion.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include "app/instancelock.h"
#include "app/programdirectory.h"
#include "app/qtprompter.h"

namespace {

// The icon the menu entry installs is built into the program as its window icon.
TEST(ProgramIcon, WindowIconIsTheInstalledSvg) {
    QFile built(QStringLiteral(":/veltrane.svg"));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    QFile installed(QStringLiteral(VELTRANE_PACKAGING "/veltrane.svg"));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(built.readAll(), installed.readAll());
    EXPECT_FALSE(QIcon(built.fileName()).pixmap(32, 32).isNull());
}

TEST(ProgramDirectory, ExecutableDirectoryWhenWritableElseFallback) {
    const auto yes = [](const QString&) { return true; };
    const auto no = [](const QString&) { return false; };
    EXPECT_EQ(ProgramDirectory::choose("/opt/app", "/home/u/.local", yes), "/opt/app");
    EXPECT_EQ(ProgramDirectory::choose("/opt/app", "/home/u/.local", no), "/home/u/.local");
    EXPECT_EQ(ProgramDirectory::choose("", "/home/u/.local", yes), "/home/u/.local");
}

TEST(ProgramDirectory, WritableCheckFollowsPermissions) {
    QTemporaryDir dir;
    EXPECT_TRUE(ProgramDirectory::isWritableDirectory(dir.path()));
    EXPECT_FALSE(ProgramDirectory::isWritableDirectory(dir.filePath("missing")));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (ProgramDirectory::isWritableDirectory(dir.path())) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "running with privileges that ignore permissions";
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(InstanceLock, SecondCopyIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    auto first = std::make_unique<InstanceLock>(dir.path());
    ASSERT_TRUE(first->tryAcquire());
    EXPECT_TRUE(first->tryAcquire());
    InstanceLock second(dir.path());
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.held());
    first.reset();
    EXPECT_TRUE(second.tryAcquire());
}

TEST(InstanceLock, LockOfACopyThatDiedIsTakenOver) {
    QTemporaryDir dir;
    QFile stale(QDir(dir.path()).filePath(InstanceLock::kFileName));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // pid, application name, host name: a process id that cannot be running.
    stale.write("2147483646\nveltrane\n\n");
    stale.close();
    InstanceLock lock(dir.path());
    EXPECT_TRUE(lock.tryAcquire());
}

TEST(QtPrompter, FilterFromMessageTableForm) {
    EXPECT_EQ(QtPrompter::qtFilter("CSV(*.csv)|*.csv"), "CSV(*.csv)");
    EXPECT_EQ(QtPrompter::qtFilter(" CSV file|*.csv"), "CSV file (*.csv)");
    EXPECT_EQ(QtPrompter::qtFilter("Text|*.txt;*.log|All|*"), "Text (*.txt *.log);;All (*)");
    EXPECT_EQ(QtPrompter::qtFilter("*.csv"), "*.csv");
}

}  // namespace
