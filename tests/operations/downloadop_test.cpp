// The Download button and the progress dialog around a download of the simulated logger.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>

#include "harness.h"
#include "operations/downloadop.h"
#include "operations/statusrefresh.h"

namespace {

using namespace optest;

class DownloadOpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.state.Download_Mode = 0;
        h.connect();
        ASSERT_TRUE(h.port.isOpen());
        ASSERT_FALSE(h.engine.busy());
    }
    void pump() { h.runProcedure(100000); }

    Harness h{3, QStringLiteral("runs")};
    DataSet& logData = h.dataSets[LogData];
    DownloadOperation& op = h.ops->download();
};

TEST_F(DownloadOpTest, DownloadShowsProgressAndEndsOnTheLogData) {
    logData.unsaved = false;
    op.startDownload();
    ProgressDialog& dialog = h.progress;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Form3"));
    EXPECT_EQ(dialog.parent(), nullptr);
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.cancelButton()->isEnabled());
    EXPECT_EQ(dialog.cancelButton()->objectName(), QStringLiteral("Command1"));
    EXPECT_EQ(dialog.cancelButton()->text(), h.messages.text(Msg::CancelPortButton));
    EXPECT_EQ(dialog.bar()->objectName(), QStringLiteral("ProgressBar1"));
    EXPECT_EQ(dialog.windowTitle(), h.messages.text(Msg::DownloadTitle));
    EXPECT_EQ(h.display.clears[LogData], 2);
    EXPECT_TRUE(h.prompter.questions.empty());
    pump();
    EXPECT_FALSE(h.engine.busy());
    EXPECT_EQ(logData.count, 650);
    EXPECT_EQ(dialog.bar()->maximum(), 650);
    EXPECT_EQ(dialog.bar()->value(), 650);
    EXPECT_EQ(dialog.windowTitle(),
              h.messages.text(Msg::DownloadProgress) + QChar(0x3000) + "(650/650)");
    EXPECT_EQ(h.display.shows[LogData], 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(logData.unsaved);
}

TEST_F(DownloadOpTest, UserCannotCloseTheDialogButCanCancel) {
    h.state.Download_Mode = 1;
    op.startDownload();
    ProgressDialog& dialog = h.progress;
    EXPECT_FALSE(dialog.close());
    QCloseEvent event;
    QCoreApplication::sendEvent(&dialog, &event);
    EXPECT_FALSE(event.isAccepted());
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());
    QObject::connect(dialog.bar(), &QProgressBar::valueChanged, &dialog, [&dialog](int value) {
        if (value == 10) {
            dialog.cancelButton()->click();
        }
    });
    pump();
    EXPECT_FALSE(h.engine.busy());
    EXPECT_EQ(logData.count, 10);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(h.display.shows[LogData], 1);
}

TEST_F(DownloadOpTest, CancelledStreamEndsAtOnceAndTheNextCommandGetsItsOwnReplies) {
    // The line is slower than the host: each poll finds ten more records of the stream.
    h.port.paced = true;
    const auto poll = [this] {
        h.port.arrive(90);
        h.engine.inputTick();
    };
    bool cancelled = false;
    QObject::connect(h.progress.bar(), &QProgressBar::valueChanged, &h.progress, [&](int value) {
        if (value == 205) {
            h.progress.cancelButton()->click();
            cancelled = true;
        }
    });
    const std::size_t pulsesBefore = h.device.levels.size();
    op.startDownload();
    for (int i = 0; i < 1000 && !cancelled; ++i) {
        poll();
    }
    ASSERT_TRUE(cancelled);
    // Over as soon as Cancel returns, with the records before it kept and the logger silenced.
    EXPECT_FALSE(h.engine.busy());
    EXPECT_FALSE(h.progress.isVisible());
    EXPECT_EQ(logData.count, 205);
    EXPECT_EQ(h.display.shows[LogData], 1);
    EXPECT_EQ(std::vector<int>(h.device.levels.begin() + pulsesBefore, h.device.levels.end()),
              (std::vector<int>{0xFF, 0}));
    EXPECT_FALSE(h.logger.streaming());
    EXPECT_FALSE(h.logger.hasOutput());
    EXPECT_TRUE(h.prompter.messages.empty());

    h.state.VT_Name.clear();
    h.state.Record_Pointer = 0;
    ASSERT_TRUE(readStatus(h.session));
    for (int i = 0; i < 100 && h.engine.busy(); ++i) {
        poll();
    }
    EXPECT_FALSE(h.engine.busy());
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_EQ(h.state.VT_Name, QStringLiteral("LAB1"));
    EXPECT_EQ(h.state.Record_Pointer, 650 * 4);
}

TEST_F(DownloadOpTest, SaveQuestionOnlyForUnsavedLogData) {
    const struct {
        bool unsaved, answer;
        int questions, saves;
    } cases[] = {{false, true, 0, 0}, {true, false, 1, 0}, {true, true, 1, 1}};
    for (const auto& c : cases) {
        h.prompter.questions.clear();
        h.prompter.savesAfter.clear();
        h.prompter.saveDirectory = h.scratch.path();
        logData.unsaved = c.unsaved;
        h.prompter.answers = {c.answer};
        op.startDownload();
        EXPECT_EQ(static_cast<int>(h.prompter.questions.size()), c.questions);
        EXPECT_EQ(static_cast<int>(h.prompter.savesAfter.size()), c.saves);
        if (c.questions > 0) {
            EXPECT_EQ(h.prompter.questions[0].text,
                      h.messages.pair(Msg::DownloadNotSaved, Msg::AskSaveIt));
        }
        // Whatever the answer, the download runs.
        pump();
        EXPECT_EQ(logData.count, 650);
    }
}

TEST_F(DownloadOpTest, NothingRecordedOrBusyDoesNotStart) {
    h.state.Record_Pointer = 0;
    h.state.Wrapped = 0;
    logData.count = 5;
    op.startDownload();
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text, h.messages.text(Msg::NoDownloadData));
    EXPECT_FALSE(h.engine.busy());
    EXPECT_FALSE(h.progress.isVisible());
    EXPECT_EQ(logData.count, 5);

    h.state.Wrapped = 1;
    h.engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h.engine, ProcedureKind::None));
    op.startDownload();
    EXPECT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.display.clears[LogData], 1);
    EXPECT_EQ(h.engine.queue().Count, 19);
    h.engine.begin();
}

TEST_F(DownloadOpTest, StalledStreamClosesTheDialogAndEmptiesTheLog) {
    h.logger.faults().stallAfterRecords = 3;
    op.startDownload();
    pump();
    ASSERT_TRUE(h.engine.busy());
    for (int tick = 0; tick < 11; ++tick) {
        h.timers.fire(TimerId::DownloadTimer);
    }
    EXPECT_FALSE(h.engine.busy());
    EXPECT_EQ(logData.count, 0);
    EXPECT_FALSE(h.progress.isVisible());
    EXPECT_EQ(h.display.shows[LogData], 0);
    EXPECT_EQ(h.prompter.messages.back().text, h.messages.text(Msg::DownloadFailed));
}

}  // namespace
