// The window icon, program directory choice, the single-copy lock and the Qt prompter's filter
// conversion.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

struct FolderCase {
    const char* executableDir;
    UserFolders user;
    ProgramFolders expected;
};

// Where the executable lies decides, never whether its folder can be written: a system prefix
// belongs to the package manager even for root.
TEST(ProgramDirectory, InstalledCopiesUseTheUsersFoldersPortableOnesTheirOwn) {
    const UserFolders user{"/home/u/.local/share/veltrane", "/run/user/1000/veltrane",
                           "/home/u/.cache/veltrane"};
    const ProgramFolders inUser{user.data, user.runtime};
    const FolderCase cases[] = {
        {"/usr/bin", user, inUser},
        {"/usr/local/bin", user, inUser},
        {"/usr/lib/veltrane/", user, inUser},
        {"/bin", user, inUser},
        {"/opt/veltrane/bin", user, inUser},
        {"/snap/veltrane/12/bin", user, inUser},
        {"/usr/bin/../local/bin", user, inUser},
        {"/usr/bin", {user.data, "", user.cache}, {user.data, user.cache}},
        {"/usr/bin", {user.data, "", ""}, {user.data, user.data}},
        {"/home/u/veltrane/build/src/app",
         user,
         {"/home/u/veltrane/build/src/app", "/home/u/veltrane/build/src/app"}},
        {"/usr2/bin", user, {"/usr2/bin", "/usr2/bin"}},
        {"/optical/app", user, {"/optical/app", "/optical/app"}},
        {"/media/stick/veltrane", user, {"/media/stick/veltrane", "/media/stick/veltrane"}},
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(ProgramDirectory::choose(c.executableDir, c.user), c.expected) << c.executableDir;
    }
}

TEST(ProgramDirectory, PrepareCreatesTheFolderOrSaysWhyNot) {
    QTemporaryDir dir;
    const QString nested = QDir(dir.path()).filePath("a/b");
    EXPECT_EQ(ProgramDirectory::prepare(nested), QString());
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_FALSE(ProgramDirectory::prepare(QString()).isEmpty());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString reason = ProgramDirectory::prepare(QDir(dir.path()).filePath("c"));
    const bool privileged = QFileInfo(dir.path()).isWritable();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (privileged) {
        GTEST_SKIP() << "running with privileges that ignore permissions";
    }
    EXPECT_FALSE(reason.isEmpty());
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

bool noneAlive(qint64) {
    return false;
}
bool allAlive(qint64) {
    return true;
}

// Only a live process of this user on this host holds the lock.
TEST(InstanceLock, StaleReasonByOwner) {
    const InstanceLock::Owner me{100, "here", 1000};
    const struct {
        std::optional<InstanceLock::Owner> owner;
        bool (*alive)(qint64);
        bool holds;
    } cases[] = {
        {me, allAlive, true},
        {me, noneAlive, false},
        {InstanceLock::Owner{100, "there", 1000}, allAlive, false},
        {InstanceLock::Owner{100, "here", 0}, allAlive, false},
        {std::nullopt, allAlive, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InstanceLock::staleReason(c.owner, me, c.alive).isEmpty(), c.holds)
            << (c.owner ? c.owner->host.constData() : "garbled");
    }
}

TEST(InstanceLock, ParsesOnlyWhatItWrites) {
    const InstanceLock::Owner owner{4242, "host.example", 1000};
    EXPECT_EQ(InstanceLock::parse(InstanceLock::format(owner)), owner);
    for (const char* bad :
         {"", "\n\n\n", "4242\nhost\n", "x\nhost\n1000\n", "4242\n\n1000\n", "-1\nhost\n1000\n",
          "4242\nhost\n1000\nmore\n", "2147483646\nveltrane\n\n"}) {
        EXPECT_FALSE(InstanceLock::parse(bad)) << bad;
    }
}

// What an existing Logger.lock holds decides: a live copy of this user here keeps it, anything
// else is taken over; a FIFO in its place is never waited on.
TEST(InstanceLock, ExistingLockFilesByContent) {
    const InstanceLock::Owner me = InstanceLock::self();
    const struct {
        const char* name;
        QByteArray bytes;
        bool fifo;
        bool acquired;
    } cases[] = {
        {"live copy here", InstanceLock::format(me), false, false},
        {"empty", "", false, true},
        {"garbled", "\x01\x02 not a lock", false, true},
        {"other host", InstanceLock::format({me.pid, me.host + ".elsewhere", me.uid}), false, true},
        {"other user", InstanceLock::format({me.pid, me.host, me.uid + 1}), false, true},
        {"dead process", InstanceLock::format({2147483646, me.host, me.uid}), false, true},
        {"fifo", "", true, true},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(InstanceLock::kFileName);
        if (c.fifo) {
            ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        InstanceLock lock(dir.path());
        const InstanceLock::Outcome outcome = lock.acquire();
        EXPECT_EQ(outcome.result,
                  c.acquired ? InstanceLock::Result::Acquired : InstanceLock::Result::HeldByOther)
            << c.name;
        EXPECT_EQ(outcome.reason.isEmpty(), !c.acquired) << c.name;
        if (c.acquired) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), InstanceLock::format(me)) << c.name;
        }
    }
}

TEST(InstanceLock, UnwritableLockSaysWhy) {
    QTemporaryDir dir;
    InstanceLock missingFolder(QDir(dir.path()).filePath("missing"));
    const InstanceLock::Outcome outcome = missingFolder.acquire();
    EXPECT_EQ(outcome.result, InstanceLock::Result::Failed);
    EXPECT_FALSE(outcome.reason.isEmpty());
    // A folder in its place can be neither read as a lock nor removed.
    ASSERT_TRUE(QDir(dir.path()).mkdir(InstanceLock::kFileName));
    InstanceLock blocked(dir.path());
    EXPECT_EQ(blocked.acquire().result, InstanceLock::Result::Failed);
}

TEST(QtPrompter, FilterFromMessageTableForm) {
    EXPECT_EQ(QtPrompter::qtFilter("CSV(*.csv)|*.csv"), "CSV(*.csv)");
    EXPECT_EQ(QtPrompter::qtFilter(" CSV file|*.csv"), "CSV file (*.csv)");
    EXPECT_EQ(QtPrompter::qtFilter("Text|*.txt;*.log|All|*"), "Text (*.txt *.log);;All (*)");
    EXPECT_EQ(QtPrompter::qtFilter("*.csv"), "*.csv");
}

}  // namespace
