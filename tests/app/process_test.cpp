// The real program as a process: a second copy started from the same directory ends by itself
// with success and leaves every file of the running first copy as it was; SIGTERM ends the
// window as File > End does; a lock file it cannot use makes it say why and fail.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <map>

namespace {

// The program beside this test's build tree.
QString programPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("../src/app/veltrane");
}

// Name, size, modification time and content digest of every file in a directory.
std::map<QString, QByteArray> snapshot(const QString& directory) {
    std::map<QString, QByteArray> files;
    const QFileInfoList entries =
        QDir(directory).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : entries) {
        QFile file(info.filePath());
        QByteArray digest;
        if (file.open(QIODevice::ReadOnly)) {
            digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        }
        files[info.fileName()] = QByteArray::number(info.size()) + ' ' +
                                 info.lastModified().toString(Qt::ISODateWithMs).toUtf8() + ' ' +
                                 digest.toHex();
    }
    return files;
}

QProcess* startProgram(const QString& path, QObject* parent) {
    auto* process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("VELTRANE_DEVICE_DIR");
    // The program's log lines, read by the tests, rather than the journal's.
    environment.insert("QT_FORCE_STDERR_LOGGING", "1");
    process->setProcessEnvironment(environment);
    process->start(path, {});
    return process;
}

TEST(SecondCopy, EndsAtOnceAndTouchesNothingOfTheFirst) {
    if (!QFileInfo::exists(programPath())) {
        GTEST_SKIP() << "the program is not built";
    }
    QTemporaryDir dir;
    const QString program = QDir(dir.path()).filePath("veltrane");
    ASSERT_TRUE(QFile::copy(programPath(), program));

    QObject owner;
    QProcess* first = startProgram(program, &owner);
    ASSERT_TRUE(first->waitForStarted(10000));
    // The first copy is up once its last start-up file exists.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(QDir(dir.path()).filePath("Logger.ini")); }, 30000));
    const auto before = snapshot(dir.path());
    EXPECT_TRUE(before.count("log.rand"));

    QProcess* second = startProgram(program, &owner);
    ASSERT_TRUE(second->waitForFinished(30000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill();
    first->waitForFinished(10000);
}

// A copy of the program in a folder of its own, which is where a portable build keeps its
// files.
class ProgramCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo::exists(programPath())) {
            GTEST_SKIP() << "the program is not built";
        }
        program = QDir(dir.path()).filePath("veltrane");
        ASSERT_TRUE(QFile::copy(programPath(), program));
    }
    QString path(const char* name) const { return QDir(dir.path()).filePath(name); }
    bool waitForStartUp() {
        return QTest::qWaitFor([&] { return QFile::exists(path("Logger.ini")); }, 30000);
    }

    QTemporaryDir dir;
    QString program;
    QObject owner;
};

// Logout and shutdown send SIGTERM: the window ends as File > End does, with its files put
// away, instead of dying with its scratch files left behind.
TEST_F(ProgramCopy, SigtermEndsTheWindowAsFileEndDoes) {
    QProcess* copy = startProgram(program, &owner);
    ASSERT_TRUE(copy->waitForStarted(10000));
    ASSERT_TRUE(waitForStartUp());
    ASSERT_TRUE(QFile::exists(path("log.rand")));
    copy->terminate();
    ASSERT_TRUE(copy->waitForFinished(30000));
    EXPECT_EQ(copy->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy->exitCode(), 0);
    for (const char* name : {"log.rand", "real.rand", "read.rand", "disp.rand", "Logger.lock"}) {
        EXPECT_FALSE(QFile::exists(path(name))) << name;
    }
    EXPECT_TRUE(QFile::exists(path("Logger.ini")));
}

// Left by a copy on another host, or garbled: taken over, and the window comes up.
TEST_F(ProgramCopy, ForeignOrGarbledLockIsTakenOver) {
    for (const QByteArray& bytes :
         {QByteArray("12\nsomewhere-else\n1000\n"), QByteArray("\0\0", 2), QByteArray()}) {
        QFile::remove(path("Logger.ini"));
        QFile lock(path("Logger.lock"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(bytes);
        lock.close();
        QProcess* copy = startProgram(program, &owner);
        ASSERT_TRUE(copy->waitForStarted(10000));
        EXPECT_TRUE(waitForStartUp()) << bytes.toHex().constData();
        EXPECT_EQ(copy->state(), QProcess::Running);
        EXPECT_TRUE(copy->readAllStandardError().contains("taken over"));
        copy->terminate();
        ASSERT_TRUE(copy->waitForFinished(30000));
        EXPECT_EQ(copy->exitCode(), 0);
    }
}

// A lock that can be neither read nor replaced: the program says why and fails.
TEST_F(ProgramCopy, UnusableLockSaysWhyAndFails) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Logger.lock"));
    QProcess* copy = startProgram(program, &owner);
    ASSERT_TRUE(copy->waitForFinished(30000));
    EXPECT_EQ(copy->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(copy->exitCode(), 0);
    const QByteArray error = copy->readAllStandardError();
    EXPECT_TRUE(error.contains("The program cannot start.")) << error.constData();
    EXPECT_TRUE(error.contains("Logger.lock")) << error.constData();
    EXPECT_FALSE(QFile::exists(path("log.rand")));
}

}  // namespace
