// The real program started twice from the same directory: the second copy ends by itself
// with success and leaves every file of the running first copy as it was.
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

}  // namespace
