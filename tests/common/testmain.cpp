// Test entry point: every test program gets a QApplication (offscreen under ctest) before
// GoogleTest runs, so widget, timer and event-loop code can be exercised without a screen.
#include <gtest/gtest.h>
#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
    // The signal tests raise or send these; a runner started under nohup or as a background job
    // would have them ignored, and the programs keep an ignored signal ignored (so would the
    // processes the tests start).
    for (int number : {SIGHUP, SIGINT, SIGTERM}) {
        std::signal(number, SIG_DFL);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
