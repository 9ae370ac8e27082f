// The recording-setting dialog's rules and the identification name's, without widgets.
#include <gtest/gtest.h>

#include <tuple>

#include "fakes.h"
#include "operations/namefield.h"
#include "operations/recordingsetup.h"

namespace {

using optest::ScriptedPrompter;

class SetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        messages.fillEnglish();
        state.VT_Name = QStringLiteral("LAB1");
        header.interval = 600;
        header.upperBound = 30;
        header.lowerBound = 10;
    }
    RecordingSetup loaded(const QString& shownModel = kModelQM320) {
        RecordingSetup setup(messages, prompter, kModelQM320);
        setup.load(state, header, shownModel);
        return setup;
    }

    MessageTable messages;
    ScriptedPrompter prompter;
    LoggerState state;
    DataSet header;
};

TEST_F(SetupTest, OpensOnTheLoggersSettings) {
    const struct {
        std::int32_t interval;
        std::int16_t upper, lower;
        bool seconds;
        int count, shownUpper, shownLower;
    } cases[] = {
        {90, 30, 10, false, 60, 30, 10},     {120, 30, 10, false, 2, 30, 10},
        {45, 30, 10, true, 45, 30, 10},      {0, 30, 10, false, 60, 30, 10},
        {14400, 30, 10, false, 240, 30, 10}, {14460, 30, 10, false, 60, 30, 10},
        {60, 80, 0, false, 1, 40, 0},        {60, 30, -21, false, 1, 40, 0},
        {60, 70, -20, false, 1, 70, -20},    {60, 10, 20, false, 1, 21, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        header.interval = c.interval;
        header.upperBound = c.upper;
        header.lowerBound = c.lower;
        const RecordingSetup setup = loaded();
        EXPECT_EQ(setup.seconds(), c.seconds);
        EXPECT_EQ(setup.count(), c.count);
        EXPECT_EQ(setup.upper(), c.shownUpper);
        EXPECT_EQ(setup.lower(), c.shownLower);
    }
    state.Memory_Mode = 1;
    header.upperOn = 0x80;
    const RecordingSetup setup = loaded(kModelQM300);
    EXPECT_EQ(std::make_tuple(setup.name(), setup.loop(), setup.upperOn(), setup.lowerOn()),
              std::make_tuple(QStringLiteral("LAB1"), true, true, false));
    EXPECT_FALSE(setup.alarmShown());
    EXPECT_EQ(setup.confirmCaption() + setup.dayLabel() + setup.hourLabel() + setup.minuteLabel(),
              QStringLiteral("Record Start----/--/----:--"));
}

TEST_F(SetupTest, UnitsRefillTheListAndKeepACountEach) {
    RecordingSetup setup = loaded();
    setup.chooseCount(15);
    setup.chooseSeconds(true);
    EXPECT_EQ(setup.counts().front(), 2);
    EXPECT_EQ(setup.counts().back(), 59);
    EXPECT_EQ(setup.unitCaption(), QStringLiteral("Sec"));
    EXPECT_EQ(setup.count(), 30);
    // Counts outside the list are not taken.
    for (int count : {1, 60, 0}) {
        setup.chooseCount(count);
    }
    EXPECT_EQ(setup.count(), 30);
    setup.chooseSeconds(false);
    setup.chooseCount(241);
    EXPECT_EQ(setup.counts().back(), 240);
    EXPECT_EQ(setup.count(), 15);
}

TEST_F(SetupTest, BoundsPushEachOther) {
    const struct {
        bool upper;
        int value, expectUpper, expectLower;
    } cases[] = {
        {true, 10, 10, 9},   {true, 11, 11, 10},    {false, 30, 31, 30},
        {false, 29, 30, 29}, {true, -40, -19, -20}, {false, 99, 70, 69},
    };
    for (const auto& c : cases) {
        RecordingSetup setup = loaded();
        c.upper ? setup.setUpper(c.value) : setup.setLower(c.value);
        EXPECT_EQ(setup.upper(), c.expectUpper) << c.value;
        EXPECT_EQ(setup.lower(), c.expectLower) << c.value;
    }
    RecordingSetup setup = loaded();
    setup.setUpper(10);
    EXPECT_EQ(setup.upperLabel() + setup.lowerLabel(), QStringLiteral("10°C9°C"));
}

TEST_F(SetupTest, HourAndMinuteWrap) {
    RecordingSetup setup = loaded();
    setup.setReserve(true, QDateTime(QDate(2026, 3, 1), QTime(23, 0)));
    const struct {
        bool hour;
        int value;
        const char* label;
    } cases[] = {{true, 24, "00"}, {true, -1, "23"}, {false, -1, "59"}, {false, 60, "00"}};
    for (const auto& c : cases) {
        c.hour ? setup.setHour(c.value) : setup.setMinute(c.value);
        EXPECT_EQ(c.hour ? setup.hourLabel() : setup.minuteLabel(), QLatin1String(c.label));
    }
}

TEST_F(SetupTest, ReservationRunsToTheDayBeforeTheSameDayNextMonth) {
    const struct {
        QDate base, last;
    } cases[] = {
        {{2026, 1, 15}, {2026, 2, 14}}, {{2025, 1, 31}, {2025, 2, 28}},
        {{2024, 1, 31}, {2024, 2, 29}}, {{2025, 12, 31}, {2026, 1, 30}},
        {{2025, 3, 31}, {2025, 4, 30}}, {{2025, 1, 1}, {2025, 1, 31}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.base.addDays(RecordingSetup::reservableDays(c.base)), c.last) << c.base.day();
    }
    RecordingSetup setup = loaded();
    setup.setReserve(true, QDateTime(QDate(2026, 1, 15), QTime(9, 59, 30)));
    setup.setDayOffset(45);
    EXPECT_EQ(setup.dayLabel() + " " + setup.hourLabel() + ":" + setup.minuteLabel(),
              QStringLiteral("2026/02/14 10:00"));
    messages.fillJapanese();
    EXPECT_EQ(setup.dayLabel() + setup.hourLabel() + setup.minuteLabel(),
              QString::fromUtf8("2026年02月14日10時00分"));
}

TEST_F(SetupTest, ConfirmRefusesAPastTimeAndTheSameDayNextMonth) {
    const QDateTime now(QDate(2026, 1, 15), QTime(23, 59, 30));
    const struct {
        int day, hour, minute;
        bool refused;
    } cases[] = {
        {0, 0, 0, false},    // 2026-01-16 00:00
        {29, 12, 0, false},  // 2026-02-14
        {30, 0, 0, true},    // 2026-02-15: the 15th again, a month ahead
        {0, 23, 59, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        RecordingSetup setup = loaded();
        setup.setReserve(true, now);
        setup.setDayOffset(c.day);
        setup.setHour(c.hour);
        setup.setMinute(c.minute);
        const auto request = setup.confirm(QStringLiteral("AB"), now);
        ASSERT_EQ(request.has_value(), !c.refused);
        if (request) {
            EXPECT_EQ(request->reservedStart,
                      QDateTime(now.date().addDays(1 + c.day), QTime(c.hour, c.minute)));
        }
    }
    // A time gone by when confirmed: refused, titled "QM300-HX", and the controls start again
    // one minute after that moment with the dialog open.
    prompter.messages.clear();
    RecordingSetup setup = loaded();
    setup.setReserve(true, now);
    EXPECT_FALSE(setup.confirm(QStringLiteral("AB"), now.addSecs(600)));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("QM300-HX"));
    EXPECT_EQ(prompter.messages[0].text, messages.text(Msg::ReservationTimeWrong));
    EXPECT_TRUE(setup.reserve());
    EXPECT_EQ(setup.ReserveBase(), now.addSecs(660));
    EXPECT_EQ(std::make_tuple(setup.dayOffset(), setup.hour(), setup.minute()),
              std::make_tuple(0, 0, 10));
}

TEST_F(SetupTest, RefusedNamesBringTheLoggersNameBack) {
    const QString line = QStringLiteral("\r\r           ");
    const struct {
        const char* name;
        QString refusal;  // empty: taken
    } cases[] = {
        {"A:B", messages.text(Msg::RecordingNameLetterNotUsable) + line + "\\ / : * ? \" < > |"},
        {"|", messages.text(Msg::RecordingNameLetterNotUsable) + line + "\\ / : * ? \" < > |"},
        {"x日", messages.text(Msg::LetterNotKept) + line + QString::fromUtf8("日")},
        {"Ab€é", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.messages.clear();
        RecordingSetup setup = loaded();
        const bool taken = setup.setName(QString::fromUtf8(c.name));
        EXPECT_EQ(taken, c.refusal.isEmpty());
        EXPECT_EQ(setup.name(), taken ? QString::fromUtf8(c.name) : QStringLiteral("LAB1"));
        ASSERT_EQ(prompter.messages.size(), taken ? 0u : 1u);
        if (!taken) {
            EXPECT_EQ(prompter.messages[0].title, kModelQM320);
            EXPECT_EQ(prompter.messages[0].text, c.refusal);
            EXPECT_FALSE(setup.confirm(QString::fromUtf8(c.name), QDateTime::currentDateTime()));
        }
    }
    EXPECT_EQ(NameField::codes(QString::fromUtf8("€é")),
              (std::array<std::uint8_t, 4>{32, 32, 0x80, 0xE9}));
    EXPECT_EQ(NameField::codes(QStringLiteral("ABCDE")),
              (std::array<std::uint8_t, 4>{65, 66, 67, 68}));
}

}  // namespace
