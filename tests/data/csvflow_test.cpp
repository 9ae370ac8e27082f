// The save and open conversations, driven by a scripted prompter.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>

#include "data/csvflow.h"
#include "data/datetime.h"

namespace {

class ScriptedPrompter : public Prompter {
  public:
    std::deque<QString> fileAnswers;
    QStringList messages;
    QStringList proposedNames;
    QStringList directories;
    QStringList filters;

    void message(const QString& title, const QString& text) override {
        messages.append(title + u'|' + text);
    }
    bool question(const QString&, const QString&) override { return false; }
    QString saveFileName(const QString&, const QString& directory, const QString& proposed,
                         const QString& filter) override {
        proposedNames.append(proposed);
        directories.append(directory);
        filters.append(filter);
        return next();
    }
    QString openFileName(const QString&, const QString& directory, const QString& filter) override {
        directories.append(directory);
        filters.append(filter);
        return next();
    }

  private:
    QString next() {
        if (fileAnswers.empty()) {
            return QString();
        }
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

class CsvFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        table_.fillEnglish();
        ASSERT_TRUE(log_.file.open(dir_.filePath("log.rand")));
        ASSERT_TRUE(file_.file.open(dir_.filePath("read.rand")));
        Sample s;
        s.dateTime = datetime::fromDateAndTime(QDate(2026, 12, 7), QTime(9, 5, 3));
        s.temperature = 21.5f;
        ASSERT_EQ(log_.append(s), DataError::None);
        log_.interval = 90;
        log_.unsaved = true;
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    MessageTable table_;
    ScriptedPrompter prompter_;
    DataSet log_;
    DataSet file_;
};

TEST_F(CsvFlowTest, CancelWritesNothingAndKeepsTheSetUnsaved) {
    QString directory = dir_.path();
    EXPECT_EQ(saveCsvInteractive(prompter_, table_, {log_, "QM320-HX", "AB"}, directory),
              CsvOutcome::Cancelled);
    EXPECT_TRUE(log_.unsaved);
    EXPECT_EQ(prompter_.proposedNames, QStringList({"AB_261207_090503"}));
    EXPECT_EQ(prompter_.filters, QStringList({"CSV(*.csv)"}));
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(CsvFlowTest, UnusableNameIsRefusedAndAskedAgain) {
    QString directory = dir_.path();
    const QString sub = path("saved");
    ASSERT_TRUE(QDir().mkpath(sub));
    prompter_.fileAnswers = {path("missing/x.csv"), sub + "/data"};
    EXPECT_EQ(saveCsvInteractive(prompter_, table_, {log_, "QM320-HX", ""}, directory),
              CsvOutcome::Done);
    EXPECT_EQ(prompter_.messages, QStringList({"QM320-HX|File name is illegal"}));
    EXPECT_EQ(prompter_.proposedNames.size(), 2);
    EXPECT_EQ(prompter_.proposedNames[0], QStringLiteral("_261207_090503"));
    EXPECT_FALSE(QFile::exists(path("missing")));
    EXPECT_TRUE(QFile::exists(sub + "/data.csv"));
    EXPECT_EQ(directory, sub);
    EXPECT_FALSE(log_.unsaved);
}

TEST_F(CsvFlowTest, OpenShowsThePanelOrTheMatchingMessage) {
    QString directory = dir_.path();
    log_.upperOn = 1;
    log_.upperBound = 28;
    prompter_.fileAnswers = {path("a.csv")};
    ASSERT_EQ(saveCsvInteractive(prompter_, table_, {log_, "QM320-HX", "AB"}, directory),
              CsvOutcome::Done);

    prompter_.fileAnswers = {path("a.csv")};
    const CsvOpenResult opened =
        openCsvInteractive(prompter_, table_, file_, "QM320-HX", directory);
    ASSERT_EQ(opened.outcome, CsvOutcome::Done);
    EXPECT_EQ(file_.count, 1);
    EXPECT_EQ(opened.panel.identName, QStringLiteral("AB"));
    EXPECT_EQ(opened.panel.start, QStringLiteral("2026/12/07 09:05:03"));
    EXPECT_EQ(opened.panel.points, QStringLiteral("1 Point"));
    EXPECT_EQ(opened.panel.interval, QStringLiteral("1 Min30 Sec"));
    EXPECT_TRUE(opened.panel.boundsVisible);
    EXPECT_EQ(opened.panel.upperBound, QStringLiteral("28 C"));
    EXPECT_EQ(opened.panel.lowerBound, QStringLiteral("OFF"));
    EXPECT_TRUE(prompter_.messages.isEmpty());

    QFile foreign(path("b.csv"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"\r\n");
    foreign.close();
    prompter_.fileAnswers = {path("b.csv"), path("missing.csv")};
    EXPECT_EQ(openCsvInteractive(prompter_, table_, file_, "QM300-HX", directory).outcome,
              CsvOutcome::Failed);
    EXPECT_EQ(openCsvInteractive(prompter_, table_, file_, "QM300-HX", directory).outcome,
              CsvOutcome::Failed);
    EXPECT_EQ(prompter_.messages,
              QStringList({"QM300-HX|The form of the file is different. ", "QM300-HX|File error"}));
    EXPECT_EQ(file_.count, 1);

    QFile truncated(path("c.csv"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    QFile good(path("a.csv"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    truncated.write(good.readAll().chopped(10));
    truncated.close();
    prompter_.fileAnswers = {path("c.csv")};
    const CsvOpenResult failed =
        openCsvInteractive(prompter_, table_, file_, "QM320-HX", directory);
    EXPECT_EQ(failed.outcome, CsvOutcome::Failed);
    EXPECT_TRUE(failed.dataSetEmptied);
    EXPECT_EQ(file_.count, 0);
    EXPECT_EQ(prompter_.messages.last(), QStringLiteral("QM320-HX|File error"));
    EXPECT_EQ(openCsvInteractive(prompter_, table_, file_, "QM300-HX", directory).outcome,
              CsvOutcome::Cancelled);
}

}  // namespace
