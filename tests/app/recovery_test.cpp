// The session ending the window (SIGTERM, SIGHUP) in the middle of unsaved data: the data is
// kept as the file a save writes, nothing is asked, and the next start offers it once.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <csignal>

#include "app/recovery.h"
#include "endtoend.h"
#include "link/signalpipe.h"

namespace {

using e2e::connectLogger;
using e2e::Rig;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct EndCase {
    const char* name;
    int signalNumber;
    bool openIt;
};

class SessionEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(SessionEnd, KeepsTheUnsavedDownloadAndTheNextStartOffersItOnce) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    DataSet& log = rig.window->dataSets()[LogData];
    ASSERT_TRUE(log.unsaved);
    ASSERT_GT(log.count, 0);
    const int count = log.count;

    // What the Save button writes for this download.
    const QString saved = QDir(rig.dir.path()).filePath(QStringLiteral("saved.csv"));
    rig.prompter.fileNames = {saved};
    ASSERT_TRUE(rig.click(ControlId::SaveLogButton));
    const QByteArray expected = readAll(saved);
    ASSERT_FALSE(expected.isEmpty());
    // The same download, not saved this time.
    log.unsaved = true;
    rig.prompter.calls.clear();

    SignalPipe termination({SIGTERM, SIGHUP}, SignalPipe::Repeat::Reported);
    ASSERT_TRUE(termination.installed());
    QObject::connect(&termination, &SignalPipe::received, rig.window.get(),
                     &MainWindow::endUnattended);
    ASSERT_EQ(std::raise(GetParam().signalNumber), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.window->closing(); }, 10000));

    EXPECT_TRUE(rig.prompter.calls.empty()) << rig.prompter.calls.front().text.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(rig.dir.path()).filePath(QStringLiteral("log.rand"))));
    const QStringList pending = recovery::pending(rig.dir.path());
    ASSERT_EQ(pending.size(), 1);
    EXPECT_EQ(recovery::dataSetOf(pending[0]), LogData);
    EXPECT_EQ(readAll(pending[0]), expected);
    rig.window.reset();

    ScriptedPrompter prompter;
    prompter.answers = {GetParam().openIt};
    auto next = std::make_unique<MainWindow>(MainWindowDependencies{
        rig.port, rig.device, prompter, rig.waiter, rig.dir.path(), &rig.dialogs});
    ASSERT_TRUE(next->startUp());
    const QString kept = recovery::keptPath(pending[0]);
    ASSERT_EQ(prompter.questionTexts().size(), 1);
    EXPECT_TRUE(prompter.questionTexts()[0].contains(QDir::toNativeSeparators(kept)))
        << prompter.questionTexts()[0].toStdString();
    EXPECT_EQ(readAll(kept), expected);
    EXPECT_TRUE(recovery::pending(rig.dir.path()).isEmpty());
    EXPECT_EQ(next->dataSets()[FileData].count, GetParam().openIt ? count : 0);
    EXPECT_EQ(next->Disp_stat(), GetParam().openIt ? FileData : LogData);
    prompter.calls.clear();
    next->close();
    next.reset();

    // Answered once: the file stays, and is not asked about again.
    auto third = std::make_unique<MainWindow>(MainWindowDependencies{
        rig.port, rig.device, prompter, rig.waiter, rig.dir.path(), &rig.dialogs});
    ASSERT_TRUE(third->startUp());
    EXPECT_TRUE(prompter.calls.empty());
    EXPECT_TRUE(QFile::exists(kept));
    third->close();
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEnd,
                         ::testing::Values(EndCase{"TermOpened", SIGTERM, true},
                                           EndCase{"HupNotOpened", SIGHUP, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Real-time data is kept the same way, under its own name.
TEST(SessionEndRealTime, UnsavedRealTimeDataIsKeptWithoutAQuestion) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    rig.window->dataSets()[RealTimeData].unsaved = true;
    rig.window->endUnattended();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.window->closing(); }, 10000));
    EXPECT_TRUE(rig.prompter.calls.empty());
    const QStringList pending = recovery::pending(rig.dir.path());
    ASSERT_EQ(pending.size(), 1);
    EXPECT_EQ(recovery::dataSetOf(pending[0]), RealTimeData);
}

// The session ends the program while the user is being asked at File > End: the question
// open then goes unanswered, the next is not asked, and both data sets are kept.
TEST(SessionEndWhileAsking, WhatWasNotAnsweredIsKept) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    rig.window->dataSets()[LogData].unsaved = true;
    rig.window->dataSets()[RealTimeData].unsaved = true;
    bool ended = false;
    rig.prompter.whileOpen = [&] {
        if (!ended) {
            ended = true;
            rig.window->endUnattended();
        }
    };
    rig.window->close();
    EXPECT_EQ(rig.prompter.questionTexts(),
              QStringList{QStringLiteral("Is the data of the log record preserved?")});
    QList<DataSetIndex> kept;
    for (const QString& path : recovery::pending(rig.dir.path())) {
        kept.append(recovery::dataSetOf(path));
    }
    EXPECT_EQ(kept, (QList<DataSetIndex>{LogData, RealTimeData}));
}

// The session ends the program again while the offer is open: no answer came, so the file
// stays pending and is offered at the next start.
TEST(RecoveryOffer, UnansweredOfferIsMadeAgain) {
    QTemporaryDir dir;
    AbsentPort port;
    AbsentDevice device;
    InstantWaiter waiter;
    ScriptedPrompter prompter;
    ASSERT_TRUE(QDir().mkpath(recovery::folder(dir.path())));
    const QString pending =
        QDir(recovery::folder(dir.path()))
            .filePath(recovery::pendingName(LogData, QDateTime(QDate(2026, 3, 1), QTime(12, 0))));
    QFile file(pending);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    auto window = std::make_unique<MainWindow>(
        MainWindowDependencies{port, device, prompter, waiter, dir.path()});
    prompter.whileOpen = [&] { window->endUnattended(); };
    ASSERT_TRUE(window->startUp());
    EXPECT_EQ(prompter.questionTexts().size(), 1);
    EXPECT_EQ(recovery::pending(dir.path()), QStringList{pending});
}

}  // namespace
