// Downloads and real-time runs kept in a real SQLite archive, the history listed, opened as the
// file data set and deleted, and archives that refuse (read-only, corrupt, locked): the data
// stays in the window, unsaved, and one box says so once the procedure has ended.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "data/tablerows.h"
#include "harness.h"
#include "link/commands.h"
#include "operations/recordingarchive.h"

namespace {

using namespace optest;

class FixedClock : public Clock {
  public:
    static constexpr double kStart = 46082.5;  // 2026-03-01 12:00
    qint64 ms = 0;
    qint64 steadyMs() const override { return ms; }
    double now() const override { return kStart + static_cast<double>(ms) / 86400000.0; }
};

// Every row of the data set as its table shows it.
std::vector<QStringList> tableRows(DataSet& set) {
    std::vector<QStringList> texts;
    Sample sample;
    for (int k = 1; k <= set.count; ++k) {
        EXPECT_EQ(set.read(k, sample), DataError::None);
        texts.push_back(TableRows::cellTexts(k, sample));
    }
    return texts;
}

class HistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.context.archive = &archive;
        h.state.Download_Mode = 0;
        h.connect();
        ASSERT_TRUE(h.port.isOpen());
    }
    void download() {
        h.ops->download().startDownload();
        ASSERT_TRUE(h.runProcedure(600000));
    }
    // The logger records on in the same run, as if the download had not stopped it.
    void keepRecording(int seconds) {
        SimLoggerState& s = h.logger.state();
        s.status = kStatusRecording0;
        s.currentSegment = 0;
        s.secondsToNextRecord = 10;
        h.logger.advanceTime(qint64{seconds} * 1000);
    }
    std::vector<RecordingSummary> listed(const HistoryFilter& filter = {}) {
        std::vector<RecordingSummary> recordings;
        EXPECT_TRUE(h.ops->history().list(filter, recordings).ok());
        return recordings;
    }

    QTemporaryDir folder;
    QString path = QDir(folder.path()).filePath(QStringLiteral("archive.sqlite"));
    DatabaseArchive archive{path};
    Harness h{3, QStringLiteral("recording")};
    DataSet& logData = h.dataSets[LogData];
};

TEST_F(HistoryTest, TwoDownloadsOfOneRunAreOneRecordingThatOpensAsTheLastDownload) {
    download();
    const int first = logData.count;
    ASSERT_GT(first, 300);
    std::vector<RecordingSummary> recordings = listed();
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_EQ(recordings[0].points, first);

    keepRecording(600);
    download();
    ASSERT_EQ(logData.count, first + 60);
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_TRUE(logData.unsaved);
    recordings = listed();
    ASSERT_EQ(recordings.size(), 1u);
    const RecordingSummary kept = recordings[0];
    EXPECT_EQ(kept.points, logData.count);
    EXPECT_EQ(kept.name.trimmed(), QStringLiteral("REC1"));
    EXPECT_EQ(kept.model, QStringLiteral("QM320-HX"));
    EXPECT_EQ(kept.interval, 10);
    EXPECT_FLOAT_EQ(kept.maxTemperature, logData.stats.maxTemperature);
    EXPECT_EQ(listed({QStringLiteral("rec"), 0, 0, 0}).size(), 1u);
    EXPECT_TRUE(listed({QStringLiteral("other"), 0, 0, 0}).empty());
    EXPECT_TRUE(listed({QString(), kept.lastTime + 1, 0, 0}).empty());
    EXPECT_EQ(listed({QString(), kept.firstTime, kept.lastTime, 0}).size(), 1u);

    h.dialogs.historyChoice = [&](HistoryOperation& history) -> std::optional<RecordingSummary> {
        std::vector<RecordingSummary> shown;
        EXPECT_TRUE(history.list({}, shown).ok());
        return shown.empty() ? std::nullopt : std::optional(shown.front());
    };
    h.ops->history().showHistory();
    EXPECT_EQ(h.dialogs.opened, QStringList{QStringLiteral("historyDialog")});
    DataSet& file = h.dataSets[FileData];
    EXPECT_EQ(h.display.current, FileData);
    EXPECT_EQ(h.display.shows[FileData], 1);
    EXPECT_FALSE(file.unsaved);
    EXPECT_EQ(h.text(ControlId::FileNameText), QStringLiteral("REC1"));
    const std::vector<QStringList> fileRows = tableRows(file);
    const std::vector<QStringList> logRows = tableRows(logData);
    ASSERT_EQ(fileRows.size(), logRows.size());
    for (std::size_t i = 0; i < logRows.size(); ++i) {
        // Record, date, temperature and humidity; the remarks carry the file's own extremes.
        ASSERT_EQ(fileRows[i].mid(0, 4), logRows[i].mid(0, 4)) << i;
    }
}

TEST_F(HistoryTest, DeleteAsksFirstAndClosingOpensNothing) {
    download();
    ASSERT_EQ(listed().size(), 1u);
    HistoryOperation& history = h.ops->history();
    const RecordingSummary kept = listed().front();
    h.prompter.answers = {false};
    EXPECT_FALSE(history.remove(kept));
    EXPECT_EQ(listed().size(), 1u);
    h.prompter.answers = {true};
    EXPECT_TRUE(history.remove(kept));
    EXPECT_TRUE(listed().empty());
    ASSERT_EQ(h.prompter.questions.size(), 2u);
    EXPECT_TRUE(h.prompter.questions[0].text.contains(QStringLiteral("REC1")));

    h.ops->history().showHistory();
    EXPECT_EQ(h.dialogs.opened.size(), 1);
    EXPECT_EQ(h.display.shows[FileData], 0);
}

TEST_F(HistoryTest, SettingOffKeepsNothing) {
    h.ops->keeper().setEnabled(false);
    download();
    EXPECT_GT(logData.count, 0);
    EXPECT_TRUE(h.prompter.messages.empty());
    h.ops->keeper().setEnabled(true);
    EXPECT_TRUE(listed().empty());
}

TEST_F(HistoryTest, ContinuousRunIsKeptWhenItStops) {
    FixedClock clock;
    RealTimeMeasurement& realTime = h.ops->realTime();
    realTime.setClock(clock);
    const MeasurementRepeat repeat{MeasurementRepeat::Unit::Seconds, 5};
    realTime.startOrStopContinuous(repeat);
    h.runProcedure();
    for (int tick = 0; tick < 10; ++tick) {
        clock.ms += 1000;
        h.timers.fire(TimerId::Continuation);
        h.runProcedure();
    }
    ASSERT_EQ(h.dataSets[RealTimeData].count, 3);
    EXPECT_TRUE(listed().empty());
    realTime.startOrStopContinuous(repeat);
    const std::vector<RecordingSummary> recordings = listed();
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_EQ(recordings[0].source, RecordingSource::RealTime);
    EXPECT_EQ(recordings[0].points, 3);
}

// How an archive is spoiled before the download, and what the box then names.
struct Refusal {
    const char* name;
    ArchiveErrorKind kind;
};

class RefusingArchive : public HistoryTest, public ::testing::WithParamInterface<Refusal> {
  protected:
    void TearDown() override {
        if (immutable_) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
        }
        if (locker_.isValid()) {
            locker_.rollback();
            locker_.close();
        }
        locker_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    // A sound, empty archive, then spoiled; a corrupt one is no database from the start (a
    // sound one keeps its pages in its write-ahead log while it is open).
    bool spoil() {
        if (GetParam().kind != ArchiveErrorKind::Corrupt) {
            listed();
            if (!QFile::exists(path)) {
                return false;
            }
        }
        switch (GetParam().kind) {
            case ArchiveErrorKind::ReadOnly:
                // Root writes through permissions; an immutable file refuses even root.
                if (geteuid() != 0) {
                    return QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
                }
                immutable_ =
                    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
                return immutable_;
            case ArchiveErrorKind::Corrupt: {
                QFile file(path);
                return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(QByteArray(8192, '\x5a')) == 8192;
            }
            case ArchiveErrorKind::Locked: {
                locker_ =
                    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
                locker_.setDatabaseName(path);
                return locker_.open() &&
                       QSqlQuery(locker_).exec(QStringLiteral("BEGIN EXCLUSIVE TRANSACTION"));
            }
            default:
                return false;
        }
    }

  private:
    bool immutable_ = false;
    QSqlDatabase locker_;
};

TEST_P(RefusingArchive, DownloadIsKeptUnsavedAndOneBoxSaysWhyAfterTheProcedure) {
    // A fresh connection sees the spoiled file, as the next start of the program would.
    DatabaseArchive fresh{path};
    if (!spoil()) {
        GTEST_SKIP() << "the archive file cannot be made " << GetParam().name << " here";
    }
    h.context.archive = &fresh;
    std::vector<bool> busyAtBox;
    h.prompter.onMessage = [&] { busyAtBox.push_back(h.session.procedureRunning()); };
    download();
    EXPECT_GT(logData.count, 300);
    EXPECT_TRUE(logData.unsaved);
    EXPECT_EQ(h.display.current, LogData);
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(busyAtBox, std::vector<bool>{false});
    const QString text = h.prompter.messages[0].text;
    EXPECT_TRUE(text.startsWith(h.messages.text(archiveMessage(GetParam().kind))))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(h.messages.text(Msg::ArchiveDataKept))) << text.toStdString();
    EXPECT_EQ(h.prompter.messages[0].title, h.state.Machine_N_P);
}

INSTANTIATE_TEST_SUITE_P(Spoiled, RefusingArchive,
                         ::testing::Values(Refusal{"read-only", ArchiveErrorKind::ReadOnly},
                                           Refusal{"corrupt", ArchiveErrorKind::Corrupt},
                                           Refusal{"locked", ArchiveErrorKind::Locked}),
                         [](const auto& info) {
                             return std::string(info.param.name).substr(0, 4) == "read"
                                        ? std::string("ReadOnly")
                                        : std::string(info.param.name);
                         });

}  // namespace
