// The link session's boxes: a message raised by a reply waits for the end of its procedure and
// the refresh, and while a box is open the session counts as busy.
#include <gtest/gtest.h>

#include "linkharness.h"

namespace {

TEST(Session, AReplysMessageWaitsForTheEndOfItsProcedure) {
    LinkHarness h;
    std::vector<QString> order;
    bool heldWhileOpen = false;
    h.session.onProcedureEnded([&] { order.push_back(QStringLiteral("refresh")); });
    h.prompter.whileOpen = [&] {
        order.push_back(QStringLiteral("box"));
        heldWhileOpen = h.session.busy() && !h.engine.busy();
    };
    // The clock read under "T_Set" shows "Set completion" from the reply of its last command;
    // the status read queued behind it still runs before the box opens.
    h.engine.begin();
    ASSERT_TRUE(enqueueClockRead(h.engine, Keyword::TSet));
    ASSERT_TRUE(enqueueStatusRead(h.engine, QString()));
    h.engine.SendCurrent();
    h.pump();
    ASSERT_FALSE(h.engine.busy());
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("refresh"), QStringLiteral("box")}));
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_TRUE(h.prompter.messages[0].startsWith(h.messages.text(Msg::ClockSetCompleted)));
    EXPECT_TRUE(heldWhileOpen);
    EXPECT_FALSE(h.session.busy());

    // Outside a procedure a box opens at once.
    h.session.prompter().message(QString(), QStringLiteral("idle"));
    EXPECT_EQ(h.prompter.messages.back(), QStringLiteral("idle"));
}

}  // namespace
