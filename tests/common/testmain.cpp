// Test entry point: every test program gets a QApplication (offscreen under ctest) before
// GoogleTest runs, so widget, timer and event-loop code can be exercised without a screen.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
