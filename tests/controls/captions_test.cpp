// Dialog captions through Qt's properties, the control table's own consistency, and twips.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>

#include "controls/captions.h"
#include "controls/controlid.h"
#include "controls/twips.h"

namespace {

TEST(Captions, DialogTitlesAndControls) {
    MessageTable messages;
    messages.fillJapanese();
    QWidget dialog;
    auto* print = new QPushButton(&dialog);
    print->setObjectName(QStringLiteral("Command1"));
    auto* note = new QLabel(&dialog);
    note->setObjectName(QStringLiteral("Label1"));
    auto* frame = new QGroupBox(&dialog);
    frame->setObjectName(QStringLiteral("Frame1"));
    EXPECT_EQ(applyDialogCaptions(&dialog, dumpPrintDialogCaptions(), messages), 3);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ダンプ印刷"));
    EXPECT_EQ(print->text(), QString::fromUtf8("印刷"));
    EXPECT_EQ(note->text(), QString::fromUtf8("選択したデータのみ印刷"));
    EXPECT_EQ(frame->title(), messages.text(Msg::DumpPrinterCaption));
    EXPECT_TRUE(frame->windowTitle().isEmpty());

    QWidget port;
    port.setWindowTitle(QStringLiteral("kept"));
    applyDialogCaptions(&port, portDialogCaptions(), messages);
    EXPECT_EQ(port.windowTitle(), QStringLiteral("kept"));
    EXPECT_EQ(applyDialogCaptions(nullptr, portDialogCaptions(), messages), 0);
}

// Names may repeat only where a scope tells the widgets apart.
TEST(ControlTable, NamesAreUniqueWithinTheirScope) {
    QSet<QString> seen;
    for (const ControlInfo& info : controlTable()) {
        const QString key = QLatin1String(info.scope ? info.scope : "") + QLatin1Char('/') +
                            QLatin1String(info.name);
        EXPECT_FALSE(seen.contains(key)) << info.name;
        seen.insert(key);
    }
}

TEST(Twips, RoundToTheNearestPixel) {
    const std::pair<int, int> cases[] = {{0, 0},   {7, 0},     {8, 1},    {15, 1},
                                         {100, 7}, {1440, 96}, {-100, -7}};
    for (const auto& [value, pixels] : cases) {
        EXPECT_EQ(twips(value), pixels) << value;
    }
    EXPECT_EQ(twipsRect(150, 300, 1500, 15), QRect(10, 20, 100, 1));
}

}  // namespace
