// The main window's layout: the scroll frame at small sizes, the size limits, every named
// control with its caption, and a screenshot of the window for looking at.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/mainframe.h"
#include "app/mainwindow.h"
#include "controls/twips.h"
#include "fakes.h"
#include "graph/graphview.h"
#include "ui/datatable.h"

namespace {

class LayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(
            MainWindowDependencies{port, device, prompter, waiter, dir.path()});
        ASSERT_TRUE(window->startUp());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void resizeTwips(int width, int height) {
        window->resize(twips(width), twips(height));
        QCoreApplication::processEvents();
    }
    QScrollBar* bar(const char* name) const {
        return window->findChild<QScrollBar*>(QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    AbsentPort port;
    AbsentDevice device;
    ScriptedPrompter prompter;
    InstantWaiter waiter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(LayoutTest, SmallWindowScrollsTheFixedContent) {
    resizeTwips(9000, 8000);
    ASSERT_EQ(window->size(), QSize(twips(9000), twips(8000)));
    QWidget* content = window->findChild<QWidget*>("Main_Picture");
    ASSERT_NE(content, nullptr);
    const QSize designed(twips(Layout::kContentWidth), twips(Layout::kContentHeight));
    EXPECT_EQ(content->size(), designed);
    QScrollBar* h = bar("MainHScroll");
    QScrollBar* v = bar("MainVScroll");
    ASSERT_NE(h, nullptr);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(h->isVisible());
    EXPECT_TRUE(v->isVisible());
    QWidget* viewport = window->frame()->viewport();
    EXPECT_EQ(h->maximum(), designed.width() - viewport->width());
    EXPECT_EQ(v->maximum(), designed.height() - viewport->height());
    EXPECT_EQ(v->singleStep(), 1);
    EXPECT_EQ(v->pageStep(), static_cast<int>(viewport->height() * 0.9));
    EXPECT_EQ(h->pageStep(), static_cast<int>(viewport->width() * 0.9));

    // At the end of the vertical bar the content's bottom is flush with the frame's bottom.
    v->setValue(v->maximum());
    h->setValue(h->maximum());
    QCoreApplication::processEvents();
    EXPECT_EQ(content->y() + content->height(), viewport->height());
    EXPECT_EQ(content->x() + content->width(), viewport->width());
    EXPECT_EQ(content->size(), designed);
}

TEST_F(LayoutTest, FullSizeHidesTheBarsAndResetsThem) {
    resizeTwips(9000, 8000);
    bar("MainVScroll")->setValue(bar("MainVScroll")->maximum());
    window->resize(window->designedSize());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->frame()->scrolling());
    EXPECT_FALSE(bar("MainHScroll")->isVisible());
    EXPECT_FALSE(bar("MainVScroll")->isVisible());
    EXPECT_EQ(bar("MainVScroll")->value(), 0);
    QWidget* content = window->findChild<QWidget*>("Main_Picture");
    EXPECT_EQ(content->pos(), QPoint(0, 0));
    EXPECT_EQ(window->frame()->viewport()->size(), content->size());
}

TEST_F(LayoutTest, SizeLimits) {
    const struct {
        int width, height;              // twips asked for
        int expectWidth, expectHeight;  // pixels got; 0 means the maximum
    } cases[] = {
        {20000, 20000, 0, 0},
        {3000, 2000, twips(7000), twips(6200)},
        {7000, 6200, twips(7000), twips(6200)},
    };
    for (const auto& c : cases) {
        resizeTwips(c.width, c.height);
        const QSize expected =
            c.expectWidth == 0 ? window->designedSize() : QSize(c.expectWidth, c.expectHeight);
        EXPECT_EQ(window->size(), expected) << c.width << "x" << c.height;
    }
    // The largest normal size is exactly the size at which the whole layout is visible.
    resizeTwips(20000, 20000);
    EXPECT_FALSE(window->frame()->scrolling());
    EXPECT_EQ(window->width(), twips(Layout::kContentWidth));
}

// The window's frame stays on the screen whatever the screen's size; the layout then scrolls.
TEST(FittedGeometry, KeepsTheWholeFrameOnTheScreen) {
    const QSize largest(755, 749);
    const QSize smallest(467, 413);
    const QMargins titleBar(1, 30, 1, 1);
    const struct {
        const char* name;
        QRect available;
        QRect current;
        QRect expected;
    } cases[] = {
        // 1366 x 768 with a 40-pixel panel: the height gives way, the width does not.
        {"laptop", QRect(0, 0, 1366, 728), QRect(0, 0, 755, 749), QRect(1, 30, 755, 697)},
        {"large", QRect(0, 0, 1920, 1040), QRect(300, 200, 755, 749), QRect(300, 200, 755, 749)},
        {"off the right and bottom", QRect(0, 0, 1920, 1040), QRect(1500, 600, 755, 749),
         QRect(1164, 290, 755, 749)},
        {"second screen", QRect(1920, 0, 1366, 728), QRect(0, 0, 755, 749),
         QRect(1921, 30, 755, 697)},
        // Below the smallest size the title bar stays reachable at the top left.
        {"tiny", QRect(0, 0, 400, 300), QRect(50, 50, 755, 749), QRect(1, 30, 467, 413)},
    };
    for (const auto& c : cases) {
        const QRect fitted =
            MainFrame::fittedGeometry(c.current, titleBar, c.available, largest, smallest);
        EXPECT_EQ(fitted, c.expected) << c.name;
    }
}

// Run on its own with a laptop's screen (tests/app/laptopscreen.json: 1366 x 768 less a panel).
using LaptopScreen = LayoutTest;

TEST_F(LaptopScreen, StartsWithItsWholeFrameOnTheScreenAndTheLayoutReachable) {
    QCoreApplication::processEvents();
    const QRect available = window->screen()->availableGeometry();
    if (available.height() >= window->designedSize().height() + 30) {
        GTEST_SKIP() << "needs a screen lower than the window with its title bar";
    }
    EXPECT_TRUE(available.contains(window->frameGeometry())) << window->frameGeometry().height();
    // The layout scrolls, and its bottom can be brought into view.
    QScrollBar* v = bar("MainVScroll");
    ASSERT_TRUE(v->isVisible());
    v->setValue(v->maximum());
    QCoreApplication::processEvents();
    QWidget* content = window->findChild<QWidget*>("Main_Picture");
    EXPECT_EQ(content->y() + content->height(), window->frame()->viewport()->height());
}

TEST_F(LayoutTest, AMaximisedWindowFillsTheScreenAndRestoresWithinTheLayout) {
    window->showMaximized();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QRect available = window->screen()->availableGeometry();
    EXPECT_EQ(window->frameGeometry(), available);
    EXPECT_GT(window->width(), window->designedSize().width());
    window->showNormal();
    window->resize(window->designedSize() + QSize(100, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), window->designedSize());
}

// Every control of the table is found exactly once where the table says, of its kind, and
// shows its caption until the first status refresh rewrites some; a few captions are spelled
// out so a wrong index in the table shows.
TEST_F(LayoutTest, EveryControlOfTheTableIsRegisteredWithItsCaption) {
    QTemporaryDir otherDir;
    const auto built = std::make_unique<MainWindow>(
        MainWindowDependencies{port, device, prompter, waiter, otherDir.path()});
    WidgetControls fresh;
    EXPECT_EQ(fresh.registerFrom(built.get()), QStringList());
    for (const ControlInfo& info : controlTable()) {
        if (info.kind == ControlKind::Dialog) {
            continue;
        }
        SCOPED_TRACE(info.name);
        ASSERT_EQ(built->controls().object(info.id), fresh.object(info.id));
        if (info.caption && info.kind != ControlKind::Window) {
            EXPECT_EQ(fresh.text(info.id), built->messages().text(*info.caption));
        }
    }
    const std::pair<ControlId, const char*> spelled[] = {
        {ControlId::LogPane, "State"},
        {ControlId::MeasuredTemperatureCaption, "Temperature"},
        {ControlId::InitialiseButton, "初期化"},
        {ControlId::FileUpperBoundCaption, "Upper bound temperature setting"},
        {ControlId::DumpViewOption, "Dump"},
        {ControlId::EndItem, "End(&X)"},
    };
    for (const auto& [id, caption] : spelled) {
        EXPECT_EQ(built->controls().text(id), QString::fromUtf8(caption)) << controlName(id);
    }
    for (const char* name :
         {"Main_Picture", "MainFramePicture", "MainHScroll", "MainVScroll", "StatusBar1"}) {
        EXPECT_EQ(built->findChildren<QWidget*>(name).size(), 1) << name;
    }
}

TEST_F(LayoutTest, EveryButtonCanBeNamedByTheUser) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->objectName().isEmpty() || button->objectName().startsWith("qt_")) {
            continue;
        }
        EXPECT_FALSE(button->text().isEmpty() && button->accessibleName().isEmpty())
            << button->objectName().toStdString();
    }
}

TEST_F(LayoutTest, GraphsSitWhereTheLayoutPutsThem) {
    QWidget* content = window->findChild<QWidget*>("Main_Picture");
    const struct {
        const char* name;
        int top;
    } graphs[] = {{"ondo", Layout::kOndoTop}, {"situdo", Layout::kSitudoTop}};
    for (const auto& graph : graphs) {
        auto* widget = window->findChild<QWidget*>(graph.name);
        ASSERT_NE(widget, nullptr);
        const QRect rect(widget->mapTo(content, QPoint(0, 0)), widget->size());
        EXPECT_EQ(rect, twipsRect(Layout::kGraphLeft, graph.top, Layout::kGraphWidth,
                                  Layout::kGraphHeight))
            << graph.name;
    }
}

TEST_F(LayoutTest, StartUpShowsTheLogDataSetAsGraph) {
    EXPECT_EQ(window->Disp_stat(), 0);
    EXPECT_TRUE(window->findChild<QAbstractButton*>("Option5")->isChecked());
    EXPECT_TRUE(window->findChild<QAbstractButton*>("Option8")->isChecked());
    EXPECT_TRUE(window->findChild<QWidget*>("Frame13")->isVisible());
    EXPECT_FALSE(window->findChild<QWidget*>("Frame6")->isVisible());
    EXPECT_FALSE(window->findChild<QWidget*>("Frame12")->isVisible());
    EXPECT_FALSE(window->findChild<QWidget*>("Frame5")->isVisible());
    for (const char* name : {"Label51", "Label52", "Label53", "Label54"}) {
        EXPECT_FALSE(window->findChild<QWidget*>(name)->isVisible()) << name;
    }
}

struct AccessibleOption {
    const char* option;
    QString action;
    int dataSet;
    int viewKind;
};

// A screen reader checks an option through its accessible action, with no mouse click: the
// pane and the view follow the option all the same.
TEST_F(LayoutTest, DisplayOptionsFollowTheirAccessibleAction) {
    const AccessibleOption steps[] = {
        {"Option9", QAccessibleActionInterface::toggleAction(), 0, 1},
        {"Option6", QAccessibleActionInterface::toggleAction(), 1, 1},
        {"Option8", QAccessibleActionInterface::toggleAction(), 1, 0},
        {"Option7", QAccessibleActionInterface::toggleAction(), 2, 0},
        {"Option5", QAccessibleActionInterface::toggleAction(), 0, 0},
        {"Option9", QAccessibleActionInterface::pressAction(), 0, 1},
    };
    const char* const panes[] = {"Frame13", "Frame6", "Frame12"};
    for (const AccessibleOption& step : steps) {
        auto* option = window->findChild<QAbstractButton*>(step.option);
        ASSERT_NE(option, nullptr) << step.option;
        ASSERT_TRUE(option->isVisible() && option->isEnabled()) << step.option;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(option);
        ASSERT_NE(accessible, nullptr);
        ASSERT_NE(accessible->actionInterface(), nullptr);
        accessible->actionInterface()->doAction(step.action);
        // A press is released by a timer of its own; a toggle acts at once.
        ASSERT_TRUE(QTest::qWaitFor([&] { return option->isChecked(); }, 5000)) << step.option;
        EXPECT_EQ(window->Disp_stat(), step.dataSet) << step.option;
        EXPECT_EQ(window->graphView().viewKind(), step.viewKind) << step.option;
        for (int pane = 0; pane < 3; ++pane) {
            EXPECT_EQ(window->findChild<QWidget*>(panes[pane])->isVisible(), pane == step.dataSet)
                << step.option << " " << panes[pane];
            EXPECT_EQ(window->table(static_cast<DataSetIndex>(pane))->isVisible(),
                      pane == step.dataSet && step.viewKind == 1)
                << step.option << " table " << pane;
        }
        EXPECT_EQ(window->findChild<QWidget*>("graphArea")->isVisible(), step.viewKind == 0)
            << step.option;
    }
}

TEST_F(LayoutTest, BoundReadOutsHiddenWhileNoQM320IsConnected) {
    QWidget* pane = window->findChild<QWidget*>("Frame13");
    for (const char* name : {"Label31", "Label32", "upperText", "lowerText"}) {
        QWidget* widget = pane->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_FALSE(widget->isVisible()) << name;
    }
    EXPECT_TRUE(pane->findChild<QWidget*>("Label47")->isVisible());
    // The start looked for a logger by itself and found none.
    EXPECT_EQ(window->statusText(1), "Unconnection: no logger found");
}

TEST_F(LayoutTest, Screenshots) {
    const QString out = QDir::temp().filePath("veltrane-app");
    QDir().mkpath(out);
    window->resize(window->designedSize());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->grab().save(out + "/main-full.png"));
    resizeTwips(9000, 8000);
    EXPECT_TRUE(window->grab().save(out + "/main-9000x8000.png"));
    for (const char* pane : {"Frame6", "Frame12"}) {
        window->resize(window->designedSize());
        window->findChild<QWidget*>("Frame13")->hide();
        window->findChild<QWidget*>("Frame6")->hide();
        window->findChild<QWidget*>("Frame12")->hide();
        window->findChild<QWidget*>(pane)->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(window->grab().save(out + "/main-" + pane + ".png"));
    }
}

}  // namespace
