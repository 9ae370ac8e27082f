// The main window built in-process: start-up files, the second copy, shutdown questions,
// the scroll frame and the presence of every named control.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>

#include "app/mainframe.h"
#include "app/mainwindow.h"
#include "fakes.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MainWindowTest : public ::testing::Test {
  protected:
    std::unique_ptr<MainWindow> makeWindow(const QString& directory) {
        return std::make_unique<MainWindow>(
            MainWindowDependencies{port, device, prompter, waiter, directory});
    }
    QString path(const char* name) const { return QDir(dir.path()).filePath(name); }

    QTemporaryDir dir;
    AbsentPort port;
    AbsentDevice device;
    ScriptedPrompter prompter;
    InstantWaiter waiter;
};

TEST_F(MainWindowTest, FirstRunCreatesLoggerIniWithDefaults) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    EXPECT_EQ(readAll(path("Logger.ini")),
              "1,1,\"" + QDir::toNativeSeparators(dir.path()).toUtf8() + "\"\r\n");
    EXPECT_EQ(window->Portnum(), 1);
    EXPECT_EQ(window->numberSelector(), 1);
    EXPECT_EQ(window->lastDirectory(), QDir::toNativeSeparators(dir.path()));
    EXPECT_EQ(window->layout().selector->currentText(), "1");
}

TEST_F(MainWindowTest, SettingsAreRestoredAndSavedAtExit) {
    {
        QFile ini(path("Logger.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("3,42,\"/srv/old\"\r\n");
    }
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    EXPECT_EQ(window->Portnum(), 3);
    EXPECT_EQ(window->layout().selector->currentText(), "42");
    EXPECT_EQ(window->lastDirectory(), "/srv/old");
    window->setLastDirectory("/srv/csv");
    window->close();
    EXPECT_EQ(readAll(path("Logger.ini")), "3,42,\"/srv/csv\"\r\n");
}

TEST_F(MainWindowTest, CorruptLoggerIniGivesDefaultsAndStartUpGoesOn) {
    {
        QFile ini(path("Logger.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("\xff\xfe garbage");
    }
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    EXPECT_EQ(window->Portnum(), 1);
    EXPECT_EQ(window->numberSelector(), 1);
    EXPECT_EQ(window->layout().dataSetChoice->checkedId(), 0);
    window->close();
    // The shutdown replaces the corrupt line with a sound one.
    EXPECT_EQ(readAll(path("Logger.ini")),
              "1,1,\"" + QDir::toNativeSeparators(dir.path()).toUtf8() + "\"\r\n");
}

// Only the question and the save dialog are expected; a message box means the save failed.
void expectQuestionOrSave(const ScriptedPrompter::Call& call) {
    if (call.kind != "question" && call.kind != "save") {
        ADD_FAILURE() << call.kind.toStdString() << ": " << call.text.toStdString();
    }
}

const char* const kScratchFiles[] = {"log.rand", "real.rand", "read.rand", "disp.rand"};

TEST_F(MainWindowTest, ScratchFilesLiveFromStartUpToShutdown) {
    auto window = makeWindow(dir.path());
    for (const char* name : kScratchFiles) {
        EXPECT_FALSE(QFile::exists(path(name))) << name << " before start-up";
    }
    ASSERT_TRUE(window->startUp());
    for (const char* name : kScratchFiles) {
        EXPECT_TRUE(QFile::exists(path(name))) << name;
    }
    window->close();
    for (const char* name : kScratchFiles) {
        EXPECT_FALSE(QFile::exists(path(name))) << name << " after shutdown";
    }
    EXPECT_TRUE(QFile::exists(path("Logger.ini")));
}

TEST_F(MainWindowTest, FileEndRunsTheShutdown) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    window->show();
    window->dataSets()[RealTimeData].unsaved = true;
    window->menu().endItem->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.questionTexts(), QStringList{"Is real-time data preserved?"});
    EXPECT_FALSE(QFile::exists(path("real.rand")));
}

TEST_F(MainWindowTest, YesAtShutdownSavesTheLogAndRemembersItsFolder) {
    QTemporaryDir elsewhere;
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    Sample sample;
    sample.temperature = 21.5f;
    sample.humidity = 40.25f;
    sample.dateTime = 46000.5;
    sample.series = 1;
    DataSet& log = window->dataSets()[LogData];
    ASSERT_EQ(log.append(sample), DataError::None);
    log.unsaved = true;
    const QString target = QDir(elsewhere.path()).filePath("run.csv");
    prompter.answers = {true};
    prompter.fileNames = {target};
    window->close();
    for (const auto& call : prompter.calls) {
        expectQuestionOrSave(call);
    }
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(log.unsaved);
    const QByteArray ini = readAll(path("Logger.ini"));
    EXPECT_TRUE(
        ini.endsWith(",\"" + QDir::toNativeSeparators(elsewhere.path()).toUtf8() + "\"\r\n"))
        << ini.constData();

    // The next run's dialogs start in that folder.
    window.reset();
    auto next = makeWindow(dir.path());
    ASSERT_TRUE(next->startUp());
    EXPECT_EQ(QDir::fromNativeSeparators(next->lastDirectory()), elsewhere.path());
}

// File > Open of a file cut at a line end shows what is there and says that it is not all; a
// FIFO is refused with a word instead of freezing the window.
TEST_F(MainWindowTest, FileOpenSaysWhatIsMissingAndRefusesAFifo) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    DataSet& log = window->dataSets()[LogData];
    for (int i = 0; i < 6; ++i) {
        Sample sample;
        sample.temperature = 20.0f + i;
        sample.humidity = 50.0f;
        sample.dateTime = 46000.5 + i / 1440.0;
        sample.series = 1;
        ASSERT_EQ(log.append(sample), DataError::None);
    }
    log.interval = 60;
    const QString whole = path("whole.csv");
    prompter.fileNames = {whole};
    window->saveCsv(LogData);
    QList<QByteArray> lines = readAll(whole).split('\n');
    ASSERT_EQ(lines.size(), 3 + 6 + 1);
    QFile cut(path("cut.csv"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    for (int i = 0; i < 3 + 3; ++i) {
        cut.write(lines[i] + '\n');
    }
    cut.close();
    const QString fifo = path("fifo.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const struct {
        QString chosen;
        QString message;
    } opens[] = {
        {cut.fileName(),
         "The file holds only 3 of the 6 rows its header announces; the rows it holds are shown."},
        {fifo, QDir::toNativeSeparators(fifo) + " is not a regular file; it was not opened."},
    };
    for (const auto& open : opens) {
        prompter.calls.clear();
        prompter.fileNames = {open.chosen};
        ASSERT_TRUE(window->menu().openItem->isEnabled());
        window->menu().openItem->trigger();
        ASSERT_EQ(prompter.calls.size(), 2u);
        EXPECT_EQ(prompter.calls[1].kind, "message");
        EXPECT_EQ(prompter.calls[1].text, open.message);
        EXPECT_EQ(window->dataSets()[FileData].count, 3);
        EXPECT_EQ(window->Disp_stat(), FileData);
    }
}

// A corrupt Logger.ini is kept for the user as Logger.ini.bad, and said so once.
TEST_F(MainWindowTest, CorruptLoggerIniIsKeptAsBadAndToldOnce) {
    {
        QFile ini(path("Logger.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("7,seven");
    }
    for (int run = 0; run < 2; ++run) {
        prompter.calls.clear();
        auto window = makeWindow(dir.path());
        ASSERT_TRUE(window->startUp());
        if (run == 0) {
            ASSERT_EQ(prompter.calls.size(), 1u);
            EXPECT_EQ(prompter.calls[0].text,
                      "Logger.ini could not be read; the settings start from their defaults. The "
                      "old file is kept as " +
                          QDir::toNativeSeparators(path("Logger.ini.bad")) + ".");
        } else {
            EXPECT_TRUE(prompter.calls.empty());
        }
        EXPECT_EQ(readAll(path("Logger.ini.bad")), "7,seven");
        window->close();
    }
}

TEST_F(MainWindowTest, NumberSelectorClickSavesAtOnce) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    window->selectorChosen("200");
    EXPECT_EQ(window->numberSelector(), 200);
    EXPECT_TRUE(readAll(path("Logger.ini")).startsWith("1,200,"));
}

TEST_F(MainWindowTest, ModelChoiceSetsTitleWithoutSpace) {
    auto window = makeWindow(dir.path());
    EXPECT_EQ(window->windowTitle(), "[Veltrane] Temperature and Humidity Logger");
    window->modelChosen("QM320-HX");
    EXPECT_EQ(window->Machine_N_P(), "QM320-HX");
    EXPECT_EQ(window->windowTitle(), "[Veltrane] Temperature and Humidity LoggerQM320-HX");
    window->baudChosen("9600");
    EXPECT_EQ(window->Port_Setting_N_P(), "9600");
}

TEST_F(MainWindowTest, SecondCopyTouchesNothing) {
    auto first = makeWindow(dir.path());
    ASSERT_TRUE(first->startUp());
    first->setLastDirectory("/first/copy");
    first->Save();
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    const QByteArray ini = readAll(path("Logger.ini"));
    const QDateTime modified = QFileInfo(path("Logger.ini")).lastModified();

    auto second = makeWindow(dir.path());
    EXPECT_FALSE(second->startUp());
    second->dataSets()[LogData].unsaved = true;
    second->close();
    second.reset();

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    EXPECT_EQ(readAll(path("Logger.ini")), ini);
    EXPECT_EQ(QFileInfo(path("Logger.ini")).lastModified(), modified);
    for (const char* name : kScratchFiles) {
        EXPECT_TRUE(QFile::exists(path(name))) << name;
    }
    EXPECT_TRUE(prompter.calls.empty());
}

struct ShutdownCase {
    bool logUnsaved;
    bool realTimeUnsaved;
    QStringList expected;
};

class Shutdown : public MainWindowTest, public ::testing::WithParamInterface<ShutdownCase> {};

TEST_P(Shutdown, AsksLogThenRealTimeOnlyForUnsavedData) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    window->dataSets()[LogData].unsaved = GetParam().logUnsaved;
    window->dataSets()[RealTimeData].unsaved = GetParam().realTimeUnsaved;
    window->dataSets()[FileData].unsaved = true;
    prompter.answers = {false, false};
    window->close();
    EXPECT_EQ(prompter.questionTexts(), GetParam().expected);
    for (const auto& call : prompter.calls) {
        EXPECT_EQ(call.title, window->Machine_N_P());
    }
    EXPECT_TRUE(window->closing());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Shutdown,
    ::testing::Values(ShutdownCase{true,
                                   true,
                                   {"Is the data of the log record preserved?",
                                    "Is real-time data preserved?"}},
                      ShutdownCase{true, false, {"Is the data of the log record preserved?"}},
                      ShutdownCase{false, true, {"Is real-time data preserved?"}},
                      ShutdownCase{false, false, {}}));

TEST_F(MainWindowTest, ShutdownRunsOnce) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    window->dataSets()[LogData].unsaved = true;
    window->close();
    window->close();
    EXPECT_EQ(prompter.questionTexts().size(), 1);
}

TEST_F(MainWindowTest, ShellListsHoldTheirItems) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    const MainControls& c = window->layout();
    EXPECT_EQ(c.baud->count(), 6);
    EXPECT_EQ(c.baud->currentText(), "57600");
    EXPECT_EQ(c.baud->itemText(0), "9600");
    EXPECT_EQ(c.baud->itemText(5), "115200");
    ASSERT_EQ(c.model->count(), 3);
    EXPECT_EQ(c.model->itemText(0), "QM300-HX");
    EXPECT_EQ(c.model->itemText(2), "QM400-HXA");
    EXPECT_EQ(c.selector->count(), 255);
    EXPECT_EQ(c.selector->itemText(254), "255");
    EXPECT_EQ(c.intervalCount->count(), 58);
    EXPECT_EQ(c.intervalCount->currentText(), "5");
    EXPECT_EQ(c.measurementCount->count(), 59);
    EXPECT_EQ(c.measurementCount->itemText(58), "60");
    EXPECT_EQ(c.measurementCount->currentText(), "5");
}

TEST_F(MainWindowTest, StopAllTimersLeavesDeviceCheckRunning) {
    auto window = makeWindow(dir.path());
    ASSERT_TRUE(window->startUp());
    EXPECT_TRUE(window->timers().isArmed(TimerId::DCheck));
    EXPECT_EQ(window->timers().interval(TimerId::DCheck), 500);
    window->timers().arm(TimerId::InputTimer, 1);
    window->timers().arm(TimerId::Continuation, 1000);
    window->stopAllTimers();
    for (TimerId id : {TimerId::InputTimer, TimerId::TimeOut, TimerId::MouseP,
                       TimerId::DownloadTimer, TimerId::Continuation}) {
        EXPECT_FALSE(window->timers().isArmed(id));
        EXPECT_EQ(window->timers().interval(id), 0);
    }
    EXPECT_TRUE(window->timers().isArmed(TimerId::DCheck));
}

}  // namespace
