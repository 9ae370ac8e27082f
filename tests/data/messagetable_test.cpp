// Message table: texts of both languages byte for byte, and unwritten and out-of-range indices.
#include <gtest/gtest.h>
#include <QUrl>

#include <climits>
#include <set>

#include "data/messagetable.h"

namespace {

struct Expected {
    int index;
    const char* english;
    const char* japanese;
};

// Spaces that matter are written as escapes: U+3000 is the ideographic space.
const Expected kSpotChecks[] = {
    {0, "File(&F)", "\uFF8C\uFF67\uFF72\uFF99(&F)"},  // half-width katakana
    {6, "End(&X)", "終了(&X)"},
    {14, "File(&F)", "ファイル(&F)"},
    {26, "Halvek Web Page(&W)", "Halvek Web ページ(&W)"},
    {31, "Download Mode(&D)", "ﾀﾞｳﾝﾛｰﾄﾞ ﾓｰﾄﾞ(&D)"},
    {33, "Low Speed(&L)", "低速(&L)"},
    {56, "Dump", "ダンプ"},
    {102, "Battery", "電池 "},
    {260, "Hardware    Ver.", "ﾊｰﾄﾞｳｪｱ    Ver."},
    {261, "Application Ver.%1", "ｱﾌﾟﾘｹｰｼｮﾝ Ver.%1"},
    {313, "Only the selected data is printed. ", "選択したデータのみ印刷"},
    {331, "ON", "\uFF2F\uFF2E"},  // full-width letters
    {337, "The record beginning date is reserved. ", "記録開始日時を予約する"},
    {350, "°C", "℃"},
    {353, "00", "00分"},
    {1000, " Maximum temperature", " 最高温度 "},
    {1009, "[Veltrane] Temperature and Humidity Logger", "[Veltrane] 温湿度ロガー "},
    {1014, "Communicating\u3000Port", "通信中\u3000ポート"},
    {1018, " C", " ℃"},
    {1020, "NG", "ＮＧ "},
    {1048, " C", " ℃"},
    {1052, "CSV(*.csv)|*.csv", " CSVﾌｧｲﾙ(*.csv)|*.csv"},
    {1076, "Recording points\u3000", "記録点数\u3000"},
    {1080, "Record interval ", "記録間隔\u3000 "},
    {1084, "Maximum temperature\u3000 ", "最高温度\u3000 "},
    {1098, "Record No", "記録番号"},
    {1100, "Temp (°C)", "温度 ℃"},
    {1106, "°C   Humidity ", " ℃   湿度 "},
    {1120, "°C", "℃"},
    {1121, "   Temperature ", "   温度 "},
    {1123, "Upper bound ", "上限越 "},
    {1125, "%", "％"},
    {1130, "The logger cannot keep the next letter of a recognition name.",
     "次の文字はロガーに記録できないため、認識名称には使えません"},
    {1134, "The web page could not be opened.", "Webページを開けませんでした"},
};

class MessageTableTexts : public ::testing::TestWithParam<Expected> {};

TEST_P(MessageTableTexts, BothLanguagesMatchExactly) {
    const Expected& expected = GetParam();
    MessageTable table;
    table.fillEnglish();
    EXPECT_EQ(table.text(expected.index), QString::fromUtf8(expected.english));
    table.fillJapanese();
    EXPECT_EQ(table.text(expected.index), QString::fromUtf8(expected.japanese));
}

INSTANTIATE_TEST_SUITE_P(SpotChecks, MessageTableTexts, ::testing::ValuesIn(kSpotChecks));

// Indices inside the areas that neither fill writes.
std::set<int> unwrittenIndices() {
    const std::pair<int, int> ranges[] = {{28, 30},   {34, 49},   {57, 99},   {116, 149},
                                          {164, 199}, {210, 249}, {254, 259}, {265, 269},
                                          {276, 279}, {283, 299}, {304, 309}, {316, 319}};
    std::set<int> result{1012, 1013, 1040, 1051, 1097};
    for (const auto& [first, last] : ranges) {
        for (int index = first; index <= last; ++index) {
            result.insert(index);
        }
    }
    return result;
}

// Every named entry holds a text in both languages, and no text sits on an index without a name.
TEST(MessageTable, EveryNamedEntryAndNoOtherIsWritten) {
    for (Language language : {Language::English, Language::Japanese}) {
        SCOPED_TRACE(static_cast<int>(language));
        MessageTable table;
        table.fill(language);
        for (Msg msg : kAllMsgs) {
            SCOPED_TRACE(msgIndex(msg));
            EXPECT_FALSE(table.text(msg).isEmpty());
        }
        EXPECT_EQ(table.writtenCount(), static_cast<int>(kAllMsgs.size()));
    }
}

TEST(MessageTable, EmptyUntilFilled) {
    MessageTable table;
    EXPECT_EQ(table.writtenCount(), 0);
    EXPECT_TRUE(table.text(1009).isEmpty());
}

TEST(MessageTable, BothFillsWriteTheSameIndices) {
    MessageTable english;
    english.fillEnglish();
    MessageTable japanese;
    japanese.fillJapanese();
    // The 262 texts of the original table and those added since.
    EXPECT_GE(english.writtenCount(), 262);
    EXPECT_EQ(japanese.writtenCount(), english.writtenCount());
    const std::set<int> unwritten = unwrittenIndices();
    for (int index = 0; index < MessageTable::kSize; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(english.text(index).isEmpty(), japanese.text(index).isEmpty());
        if (unwritten.count(index) != 0) {
            EXPECT_TRUE(english.text(index).isEmpty());
        }
    }
}

TEST(MessageTable, IndicesOutsideTheTableReadAsEmpty) {
    MessageTable table;
    table.fillEnglish();
    for (int index : {-1, MessageTable::kSize, MessageTable::kSize + 1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(MessageTable::isValidIndex(index));
        EXPECT_TRUE(table.text(index).isEmpty());
    }
    EXPECT_TRUE(MessageTable::isValidIndex(0));
    EXPECT_TRUE(MessageTable::isValidIndex(1999));
    EXPECT_EQ(table.pair(-5, 1042), QStringLiteral("\r\rCommunication fault"));
}

TEST(MessageTable, RefillReplacesTheOtherLanguage) {
    MessageTable table;
    table.fillJapanese();
    EXPECT_EQ(table.language(), Language::Japanese);
    table.fill(Language::English);
    EXPECT_EQ(table.language(), Language::English);
    EXPECT_EQ(table.text(1042), QStringLiteral("Communication fault"));
    table.fill(Language::Japanese);
    EXPECT_EQ(table.text(1042), QString::fromUtf8("通信エラー"));
}

TEST(MessageTable, PairJoinsWithTwoCarriageReturns) {
    MessageTable table;
    table.fillEnglish();
    EXPECT_EQ(table.pair(Msg::DataNeverDownloaded, Msg::AskStartLosingData),
              QStringLiteral("There is data never downloaded. \r\r"
                             "May I begin the data before though it is lost?"));
}

TEST(MessageTable, MakerIdentityIsFilledInBothLanguages) {
    for (Language language : {Language::English, Language::Japanese}) {
        MessageTable table;
        table.fill(language);
        EXPECT_FALSE(table.text(262).isEmpty());
        for (int index : {263, 1126}) {
            const QUrl url(table.text(index));
            EXPECT_TRUE(url.isValid());
            EXPECT_EQ(url.scheme(), QStringLiteral("https"));
            EXPECT_TRUE(url.host().endsWith(QStringLiteral(".example")));
        }
    }
}

}  // namespace
