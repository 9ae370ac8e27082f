// The keyboard in the real window: each standard shortcut reaches the operation its button or
// menu item runs, and Tab walks the main window and a dialog in reading order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTest>

#include "endtoend.h"
#include "graph/graphview.h"
#include "link/commands.h"
#include "ui/portdialog.h"

namespace {

using e2e::Rig;

bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// What an operation left behind: the commands the logger received, the boxes and file dialogs
// it opened, the print dialogs, the first command of a procedure still running, and whether
// the window closes.
QStringList effects(Rig& rig, const QStringList& printDialogs, std::size_t commandsBefore) {
    QStringList seen;
    for (const auto& command : simrig::received(rig.logger, commandsBefore)) {
        seen << QStringLiteral("sent:%1").arg(command[0]);
    }
    for (const auto& call : rig.prompter.calls) {
        seen << call.kind + QLatin1Char(':') + call.title;
    }
    for (const QString& dialog : printDialogs) {
        seen << QStringLiteral("print:") + dialog;
    }
    const Engine& engine = rig.window->session().engine();
    if (engine.busy()) {
        seen << QStringLiteral("procedure:%1").arg(engine.queue().Entries[0].Code);
    }
    if (rig.window->closing()) {
        seen << QStringLiteral("closing");
    }
    return seen;
}

struct ShortcutCase {
    const char* name;
    QKeySequence keys;
    // The button or menu item the keys stand for.
    std::function<void(Rig&)> press;
    // The menu item that shows the keys, if any.
    std::function<QAction*(const MainMenu&)> item;
};

class Shortcut : public ::testing::TestWithParam<ShortcutCase> {};

QStringList run(const ShortcutCase& c, bool byKeys) {
    // Downloaded, so that every control has something to act on.
    Rig rig(QStringLiteral("runs"));
    EXPECT_TRUE(rig.started());
    e2e::connectLogger(rig);
    EXPECT_TRUE(rig.click(ControlId::DownloadButton));
    EXPECT_TRUE(rig.runProcedure());
    QStringList printDialogs;
    rig.window->printing().setDialogRunner([&](QDialog& dialog) {
        printDialogs << dialog.objectName();
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(activate(rig.window.get()));
    rig.prompter.calls.clear();
    const std::size_t commandsBefore = rig.logger.history().size();
    if (byKeys) {
        QTest::keySequence(rig.window.get(), c.keys);
    } else {
        c.press(rig);
    }
    QCoreApplication::processEvents();
    return effects(rig, printDialogs, commandsBefore);
}

TEST_P(Shortcut, KeysReachTheSameOperationAsTheControl) {
    const ShortcutCase& c = GetParam();
    if (c.item) {
        Rig rig(QStringLiteral("runs"));
        ASSERT_TRUE(rig.started());
        EXPECT_EQ(c.item(rig.window->menu())->shortcut(), c.keys) << "not shown in the menu";
    }
    const QStringList byControl = run(c, false);
    ASSERT_FALSE(byControl.isEmpty()) << "the control did nothing to compare with";
    EXPECT_EQ(run(c, true), byControl);
}

// A press the user can make: on a control that shows and is enabled.
void click(Rig& rig, ControlId id) {
    auto* control = rig.window->controls().as<QWidget>(id);
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->isVisible() && control->isEnabled()) << controlName(id);
    ASSERT_TRUE(rig.click(id));
}

INSTANTIATE_TEST_SUITE_P(
    Standard, Shortcut,
    ::testing::Values(ShortcutCase{"Open", QKeySequence(Qt::CTRL | Qt::Key_O),
                                   [](Rig& rig) { rig.window->menu().openItem->trigger(); },
                                   [](const MainMenu& m) { return m.openItem; }},
                      ShortcutCase{"Save", QKeySequence(Qt::CTRL | Qt::Key_S),
                                   [](Rig& rig) { click(rig, ControlId::SaveLogButton); },
                                   [](const MainMenu& m) { return m.saveLogItem; }},
                      ShortcutCase{"Print", QKeySequence(Qt::CTRL | Qt::Key_P),
                                   [](Rig& rig) { click(rig, ControlId::PrintLogButton); },
                                   [](const MainMenu& m) { return m.printItem; }},
                      ShortcutCase{"End", QKeySequence(Qt::CTRL | Qt::Key_Q),
                                   [](Rig& rig) { rig.window->menu().endItem->trigger(); },
                                   [](const MainMenu& m) { return m.endItem; }},
                      ShortcutCase{"Update", QKeySequence(Qt::Key_F5),
                                   [](Rig& rig) { click(rig, ControlId::UpdateButton); }, nullptr},
                      ShortcutCase{"Download", QKeySequence(Qt::CTRL | Qt::Key_D),
                                   [](Rig& rig) { click(rig, ControlId::DownloadButton); },
                                   nullptr}),
    [](const ::testing::TestParamInfo<ShortcutCase>& info) { return info.param.name; });

// The names of the widgets Tab reaches from `start`, once round.
QStringList tabWalk(QWidget* start, int limit = 200) {
    start->setFocus(Qt::TabFocusReason);
    QStringList names;
    for (int step = 0; step < limit; ++step) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || (step > 0 && focus == start)) {
            break;
        }
        names << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return names;
}

// The positions of `wanted` in `walk`, which must hold each once, in this order.
void expectInOrder(const QStringList& walk, const QStringList& wanted) {
    qsizetype last = -1;
    for (const QString& name : wanted) {
        const qsizetype at = walk.indexOf(name);
        ASSERT_GE(at, 0) << name.toStdString() << " is not reached by Tab";
        EXPECT_GT(at, last) << name.toStdString() << " comes out of reading order: "
                            << walk.join(QLatin1Char(' ')).toStdString();
        last = at;
    }
}

TEST(TabOrder, MainWindowInReadingOrderInGraphAndTableView) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    ASSERT_TRUE(activate(rig.window.get()));
    // The data pane of the log, then the display choice, then the connection controls (those
    // enabled while connected with an empty log).
    const QStringList paneAndSide = {"Command11", "Command5",  "Command4", "Option5",
                                     "Option8",   "Command20", "Command27"};
    auto* update = rig.window->controls().as<QWidget>(ControlId::UpdateButton);
    ASSERT_NE(update, nullptr);
    expectInOrder(tabWalk(update), paneAndSide);

    // In table view the table, at the top, comes before the pane below it.
    rig.window->graphView().selectDisplay(LogData, 1);
    QCoreApplication::processEvents();
    auto* table = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(table->isVisible());
    expectInOrder(tabWalk(table),
                  QStringList{"ListView1_0", "Command11", "Command20", "Command27"});
}

TEST(TabOrder, CommunicationDialogGoesListConnectCancel) {
    EnglishMessages messages;
    PortDialog dialog(PortChoice{false, 3}, messages, nullptr);
    ASSERT_TRUE(activate(&dialog));
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("Combo1"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(tabWalk(list), QStringList({"Combo1", "Command3", "Command1"}));
}

}  // namespace
