// The recording-setting dialog's rules and the identification name's, without widgets.
#include <gtest/gtest.h>

#include "fakes.h"
#include "operations/namefield.h"
#include "operations/recordingsetup.h"

namespace {

using optest::ScriptedPrompter;

const QString kForbiddenLine = QStringLiteral("           \\ / : * ? \" < > |");

class SetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        messages.fillEnglish();
        state.Machine_N_P = kModelQM320;
        state.VT_Name = QStringLiteral("LAB1");
        header.interval = 600;
        header.upperBound = 30;
        header.lowerBound = 10;
    }
    RecordingSetup loaded(const QString& shownModel = kModelQM320) {
        RecordingSetup setup(messages, prompter, state.Machine_N_P);
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
}

TEST_F(SetupTest, NameModeAlarmsAndReservationFromTheLogger) {
    state.Memory_Mode = 1;
    header.upperOn = 128;
    RecordingSetup setup = loaded();
    EXPECT_EQ(setup.name(), QStringLiteral("LAB1"));
    EXPECT_TRUE(setup.loop());
    EXPECT_TRUE(setup.upperOn());
    EXPECT_FALSE(setup.lowerOn());
    EXPECT_TRUE(setup.alarmShown());
    EXPECT_FALSE(setup.reserve());
    EXPECT_EQ(setup.upperLabel(), QStringLiteral("30°C"));
    EXPECT_EQ(setup.confirmCaption(), QStringLiteral("Record Start"));
    EXPECT_EQ(setup.dayLabel(), QStringLiteral("----/--/--"));
    EXPECT_EQ(setup.hourLabel(), QStringLiteral("--:"));
    EXPECT_EQ(setup.minuteLabel(), QStringLiteral("--"));
    EXPECT_FALSE(loaded(kModelQM300).alarmShown());
}

TEST_F(SetupTest, UnitsRefillTheListAndKeepACountEach) {
    RecordingSetup setup = loaded();
    EXPECT_EQ(setup.counts().front(), 1);
    EXPECT_EQ(setup.counts().back(), 240);
    EXPECT_EQ(setup.unitCaption(), QStringLiteral("Min"));
    setup.chooseCount(15);
    setup.chooseSeconds(true);
    EXPECT_EQ(setup.counts().front(), 2);
    EXPECT_EQ(setup.counts().back(), 59);
    EXPECT_EQ(setup.unitCaption(), QStringLiteral("Sec"));
    EXPECT_EQ(setup.count(), 30);
    // Counts outside the list are not taken.
    for (int count : {1, 60, 0, -5}) {
        setup.chooseCount(count);
    }
    EXPECT_EQ(setup.count(), 30);
    setup.chooseCount(2);
    setup.chooseSeconds(false);
    setup.chooseCount(241);
    EXPECT_EQ(setup.count(), 15);
    EXPECT_EQ(setup.M_Interval_Sec(), 2);
}

TEST_F(SetupTest, BoundsPushEachOther) {
    const struct {
        bool upper;
        int value, expectUpper, expectLower;
    } cases[] = {
        {true, 10, 10, 9},     {true, 11, 11, 10},  {false, 30, 31, 30}, {false, 29, 30, 29},
        {true, -40, -19, -20}, {false, 99, 70, 69}, {true, 55, 55, 10},  {false, -20, 30, -20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.upper << " " << c.value);
        RecordingSetup setup = loaded();
        c.upper ? setup.setUpper(c.value) : setup.setLower(c.value);
        EXPECT_EQ(setup.upper(), c.expectUpper);
        EXPECT_EQ(setup.lower(), c.expectLower);
        EXPECT_LT(setup.lower(), setup.upper());
    }
}

TEST_F(SetupTest, HourAndMinuteWrap) {
    RecordingSetup setup = loaded();
    setup.setReserve(true, QDateTime(QDate(2026, 3, 1), QTime(23, 0)));
    const struct {
        bool hour;
        int value, shown;
        const char* label;
    } cases[] = {{true, 24, 0, "00"},   {true, -1, 23, "23"}, {true, 7, 7, "07"},
                 {false, -1, 59, "59"}, {false, 60, 0, "00"}, {false, 5, 5, "05"}};
    for (const auto& c : cases) {
        c.hour ? setup.setHour(c.value) : setup.setMinute(c.value);
        EXPECT_EQ(c.hour ? setup.hour() : setup.minute(), c.shown) << c.value;
        EXPECT_EQ(c.hour ? setup.hourLabel() : setup.minuteLabel(), QLatin1String(c.label));
    }
}

TEST(ReservationRange, RunsToTheDayBeforeTheSameDayNextMonth) {
    const struct {
        QDate base, last;
    } cases[] = {
        {{2026, 1, 15}, {2026, 2, 14}}, {{2025, 1, 31}, {2025, 2, 28}},
        {{2024, 1, 31}, {2024, 2, 29}}, {{2025, 12, 31}, {2026, 1, 30}},
        {{2025, 2, 28}, {2025, 3, 27}}, {{2025, 3, 31}, {2025, 4, 30}},
        {{2025, 1, 1}, {2025, 1, 31}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.base.addDays(RecordingSetup::reservableDays(c.base)), c.last)
            << c.base.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(SetupTest, ReservationStartsOneMinuteAheadAndLabelsItsDate) {
    RecordingSetup setup = loaded();
    setup.setReserve(true, QDateTime(QDate(2026, 1, 15), QTime(9, 59, 30)));
    EXPECT_EQ(setup.ReserveBase(), QDateTime(QDate(2026, 1, 15), QTime(10, 0, 30)));
    EXPECT_EQ(setup.dayMax(), 30);
    EXPECT_EQ(setup.hour(), 10);
    EXPECT_EQ(setup.minute(), 0);
    EXPECT_EQ(setup.confirmCaption(), QStringLiteral("Reservation"));
    setup.setDayOffset(45);
    EXPECT_EQ(setup.dayLabel(), QStringLiteral("2026/02/14"));
    messages.fillJapanese();
    EXPECT_EQ(setup.dayLabel(), QString::fromUtf8("2026年02月14日"));
    EXPECT_EQ(setup.hourLabel(), QString::fromUtf8("10時"));
    EXPECT_EQ(setup.minuteLabel(), QString::fromUtf8("00分"));
}

TEST_F(SetupTest, ConfirmRefusesAPastTimeAndTheSameDayNextMonth) {
    const QDateTime now(QDate(2026, 1, 15), QTime(23, 59, 30));
    const struct {
        int day, hour, minute;
        bool refused;
    } cases[] = {
        {0, 0, 0, false},    // 2026-01-16 00:00
        {0, 23, 59, false},  // the 16th, late
        {29, 12, 0, false},  // 2026-02-14
        {30, 0, 0, true},    // 2026-02-15: the 15th again, a month ahead
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        prompter.messages.clear();
        RecordingSetup setup = loaded();
        setup.setReserve(true, now);
        setup.setDayOffset(c.day);
        setup.setHour(c.hour);
        setup.setMinute(c.minute);
        const auto request = setup.confirm(QStringLiteral("AB"), now);
        EXPECT_EQ(request.has_value(), !c.refused);
        if (request) {
            EXPECT_EQ(request->reservedStart,
                      QDateTime(now.date().addDays(1 + c.day), QTime(c.hour, c.minute)));
        }
    }
    // A time already past, confirmed a little later: refused and the controls start again
    // one minute after that later moment; the dialog stays open.
    prompter.messages.clear();
    RecordingSetup setup = loaded();
    setup.setReserve(true, now.addSecs(-120));
    const QDateTime later(QDate(2026, 1, 16), QTime(0, 10, 5));
    EXPECT_FALSE(setup.confirm(QStringLiteral("AB"), later));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("QM300-HX"));
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("The mistake is found at the reservation time."));
    EXPECT_TRUE(setup.reserve());
    EXPECT_EQ(setup.dayOffset(), 0);
    EXPECT_EQ(setup.hour(), 0);
    EXPECT_EQ(setup.minute(), 11);
    EXPECT_EQ(setup.dayMax(), 30);
}

TEST_F(SetupTest, ConfirmCarriesTheDialogsContents) {
    RecordingSetup setup = loaded();
    setup.setLoop(true);
    setup.chooseSeconds(true);
    setup.chooseCount(2);
    setup.setUpperOn(true);
    setup.setLower(-5);
    const auto request = setup.confirm(QStringLiteral("AB"), QDateTime::currentDateTime());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->name, QStringLiteral("AB"));
    EXPECT_TRUE(request->loop);
    EXPECT_EQ(request->unit, kUnitSeconds);
    EXPECT_EQ(request->count, 2);
    EXPECT_EQ(request->upper, 30);
    EXPECT_EQ(request->lower, -5);
    EXPECT_TRUE(request->upperOn);
    EXPECT_FALSE(request->lowerOn);
    EXPECT_FALSE(request->reservedStart);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SetupTest, RefusedNamesBringTheLoggersNameBack) {
    const struct {
        const char* name;
        const char* refusal;  // nullptr: taken
    } cases[] = {
        {"A:B", "The next letter is not usable for a recognition name."},
        {"|", "The next letter is not usable for a recognition name."},
        {"\\", "The next letter is not usable for a recognition name."},
        {"日本", "The logger cannot keep the next letter of a recognition name."},
        {"Ab€é", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.messages.clear();
        RecordingSetup setup = loaded();
        const bool taken = setup.setName(QString::fromUtf8(c.name));
        EXPECT_EQ(taken, c.refusal == nullptr);
        EXPECT_EQ(setup.name(), taken ? QString::fromUtf8(c.name) : QStringLiteral("LAB1"));
        ASSERT_EQ(prompter.messages.size(), taken ? 0u : 1u);
        if (!taken) {
            EXPECT_EQ(prompter.messages[0].title, kModelQM320);
            EXPECT_TRUE(prompter.messages[0].text.startsWith(QString::fromUtf8(c.refusal) +
                                                             QStringLiteral("\r\r")));
            EXPECT_FALSE(setup.confirm(QString::fromUtf8(c.name), QDateTime::currentDateTime()));
        }
    }
    EXPECT_EQ(NameField::refusal(QStringLiteral("a?"), 253, messages),
              QStringLiteral("The next letter is not usable for a recognition name.\r\r") +
                  kForbiddenLine);
    EXPECT_EQ(NameField::refusal(QString::fromUtf8("x日"), 253, messages),
              QStringLiteral("The logger cannot keep the next letter of a recognition name.\r\r"
                             "           ") +
                  QString::fromUtf8("日"));
}

TEST(NameCodes, PaddedOnTheLeftInTheLoggersCodePage) {
    const struct {
        const char* name;
        std::array<std::uint8_t, 4> codes;
    } cases[] = {
        {"AB", {32, 32, 65, 66}},    {"", {32, 32, 32, 32}},       {"LAB1", {76, 65, 66, 49}},
        {"ABCDE", {65, 66, 67, 68}}, {"€1", {32, 32, 0x80, 0x31}}, {"é", {32, 32, 32, 0xE9}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameField::codes(QString::fromUtf8(c.name)), c.codes) << c.name;
    }
}

}  // namespace
