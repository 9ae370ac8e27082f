// Faults found when the program was tried, each through the whole window against the simulated
// logger: boxes that stay open while time passes, what a cleared data set still showed, the
// log header after disconnecting, an unreadable start date, closing during a download.
#include <gtest/gtest.h>

#include "endtoend.h"

namespace {

using e2e::connectLogger;
using e2e::Rig;
using I = ControlId;

std::vector<QString> messageTexts(const ScriptedPrompter& prompter) {
    std::vector<QString> texts;
    for (const ScriptedPrompter::Call& call : prompter.calls) {
        if (call.kind == "message") {
            texts.push_back(call.text);
        }
    }
    return texts;
}

// A logger that falls silent mid-transfer: one box, however long the user takes to answer it,
// and nothing of the download runs on under it.
struct SilenceCase {
    const char* name;
    bool normalMode;
    bool streamResumes;  // fast mode: the stream goes on while the box is open
};

class SilenceDuringDownload : public ::testing::TestWithParam<SilenceCase> {};

TEST_P(SilenceDuringDownload, GivesExactlyOneMessage) {
    const SilenceCase& c = GetParam();
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    (c.normalMode ? rig.window->menu().D_M_Slow : rig.window->menu().D_M_Fast)->trigger();
    rig.paceLine(6);
    if (!c.normalMode) {
        rig.logger.faults().stallAfterRecords = 100;
    }
    ASSERT_TRUE(rig.click(I::Command5));
    DataSet& log = rig.window->dataSets()[LogData];
    for (int ms = 0; ms < 60000 && log.count < 100; ++ms) {
        rig.advance(1);
    }
    ASSERT_GE(log.count, 100);
    if (c.normalMode) {
        rig.logger.faults().silent.insert(code(Command::ReadMemory));
    }
    rig.prompter.whileOpen = [&rig, &c] {
        if (c.streamResumes) {
            rig.logger.faults().stallAfterRecords = -1;
        }
        rig.advance(3000);
    };
    ASSERT_TRUE(rig.runProcedure(20000));
    rig.advance(3000);
    const std::vector<QString> texts = messageTexts(rig.prompter);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], rig.window->messages().text(1089));
    EXPECT_EQ(log.count, 0);
    EXPECT_FALSE(rig.window->session().busy());
}

INSTANTIATE_TEST_SUITE_P(Cases, SilenceDuringDownload,
                         ::testing::Values(SilenceCase{"Normal", true, false},
                                           SilenceCase{"FastStalls", false, false},
                                           SilenceCase{"FastResumes", false, true}),
                         [](const ::testing::TestParamInfo<SilenceCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
