// Logger.ini: list-item reading, the one-line format, first run, corrupt and unreadable files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/settingsfile.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct ItemsCase {
    const char* text;
    QStringList items;
};

class ListItems : public ::testing::TestWithParam<ItemsCase> {};

TEST_P(ListItems, SplitsAsListInput) {
    EXPECT_EQ(SettingsFile::listItems(QString::fromUtf8(GetParam().text)), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListItems,
    ::testing::Values(ItemsCase{"3,1,\"C:\\Data\"\r\n", {"3", "1", "C:\\Data"}},
                      ItemsCase{"3,1,\"C:\\Data\"", {"3", "1", "C:\\Data"}},
                      // The line break does not matter: line ends separate items like commas.
                      ItemsCase{"3\r\n1\n\"/home/a b\"\r\n", {"3", "1", "/home/a b"}},
                      ItemsCase{"  7 , 12 ,\"x\"", {"7", "12", "x"}},
                      // A quoted item keeps its commas and spaces.
                      ItemsCase{"1,2,\" a,b \"", {"1", "2", " a,b "}},
                      // Text after a closing quote up to the separator is dropped.
                      ItemsCase{"1,2,\"dir\"junk,4", {"1", "2", "dir", "4"}},
                      ItemsCase{"1,2,\"unterminated", {"1", "2", "unterminated"}},
                      ItemsCase{",,", {"", ""}}, ItemsCase{"", {}}));

struct ParseCase {
    const char* bytes;
    bool valid;
    int port;
    int selector;
    const char* directory;
};

class Parse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(Parse, AcceptsOnlyCompleteInRangeSettings) {
    const ParseCase& c = GetParam();
    const auto parsed = SettingsFile::parse(QByteArray(c.bytes));
    ASSERT_EQ(parsed.has_value(), c.valid) << c.bytes;
    if (c.valid) {
        EXPECT_EQ(parsed->portnum, c.port);
        EXPECT_EQ(parsed->selector, c.selector);
        EXPECT_EQ(parsed->directory, QString::fromUtf8(c.directory));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Parse,
    ::testing::Values(
        ParseCase{"3,1,\"C:\\Data\"\r\n", true, 3, 1, "C:\\Data"},
        ParseCase{"16,255,\"/tmp\"\r\n", true, 16, 255, "/tmp"},
        ParseCase{"1,1,\"/d\xc3\xa9j\xc3\xa0\"\r\n", true, 1, 1, "/déjà"},
        ParseCase{"3,1\r\n", false, 0, 0, ""}, ParseCase{"x,1,\"/tmp\"", false, 0, 0, ""},
        ParseCase{"3,y,\"/tmp\"", false, 0, 0, ""}, ParseCase{"0,1,\"/tmp\"", false, 0, 0, ""},
        ParseCase{"-3,1,\"/tmp\"", false, 0, 0, ""}, ParseCase{"70000,1,\"/tmp\"", false, 0, 0, ""},
        ParseCase{"3,0,\"/tmp\"", false, 0, 0, ""}, ParseCase{"3,256,\"/tmp\"", false, 0, 0, ""},
        ParseCase{"3,1,\"\"", false, 0, 0, ""}, ParseCase{"3.5,1,\"/tmp\"", false, 0, 0, ""},
        ParseCase{"\x01\x02\xff\xfe", false, 0, 0, ""}));

TEST(SettingsFormat, OneLineWithCrLf) {
    EXPECT_EQ(SettingsFile::format({3, 1, "C:\\Data"}), QByteArray("3,1,\"C:\\Data\"\r\n"));
    const LoggerSettings round{12, 200, QString::fromUtf8("/home/user/データ, 2")};
    EXPECT_EQ(SettingsFile::parse(SettingsFile::format(round)), round);
}

// The archive setting: absent means on, so a file of an earlier version or of the default
// reads and writes as it always did.
TEST(SettingsFormat, ArchiveOffFollowsTheDirectoryOnlyWhenOff) {
    const struct {
        const char* bytes;
        bool keep;
    } cases[] = {
        {"3,1,\"C:\\Data\"\r\n", true},
        {"3,1,\"C:\\Data\",archive=off\r\n", false},
        {"3,1,\"C:\\Data\",archive=on\r\n", true},
        {"3,1,\"C:\\Data\",other,archive=off\r\n", false},
    };
    for (const auto& c : cases) {
        const auto parsed = SettingsFile::parse(QByteArray(c.bytes));
        ASSERT_TRUE(parsed.has_value()) << c.bytes;
        EXPECT_EQ(parsed->keepInArchive, c.keep) << c.bytes;
        EXPECT_EQ(parsed->directory, QStringLiteral("C:\\Data")) << c.bytes;
    }
    LoggerSettings off{3, 1, "C:\\Data", false};
    EXPECT_EQ(SettingsFile::format(off), QByteArray("3,1,\"C:\\Data\",archive=off\r\n"));
    EXPECT_EQ(SettingsFile::parse(SettingsFile::format(off)), off);
}

TEST(SettingsFile, FirstRunCreatesDefaultsAndReadsThem) {
    QTemporaryDir dir;
    SettingsFile file(dir.path());
    SettingsFile::LoadResult result{};
    const LoggerSettings settings = file.load(&result);
    EXPECT_EQ(result, SettingsFile::LoadResult::Created);
    EXPECT_EQ(settings.portnum, 1);
    EXPECT_EQ(settings.selector, 1);
    EXPECT_EQ(settings.directory, QDir::toNativeSeparators(dir.path()));
    EXPECT_EQ(readAll(file.path()),
              "1,1,\"" + QDir::toNativeSeparators(dir.path()).toUtf8() + "\"\r\n");
}

// A bad file is kept beside as Logger.ini.bad for the user and a sound one takes its place,
// so the next start reads that one and has nothing to say.
TEST(SettingsFile, CorruptFilesAreKeptAsBadAndReplacedByDefaults) {
    const QByteArray corrupt[] = {
        "garbage", "5,1\r\n",          "\r\n\r\n",
        "",        "9,999,\"/x\"\r\n", QByteArray(SettingsFile::kMaxFileBytes + 10, '7')};
    for (const QByteArray& bytes : corrupt) {
        QTemporaryDir dir;
        SettingsFile file(dir.path());
        writeAll(file.path(), bytes);
        writeAll(file.badPath(), "an older bad file");
        SettingsFile::LoadResult result{};
        EXPECT_EQ(file.load(&result), SettingsFile::defaults(dir.path())) << bytes.left(20).data();
        EXPECT_EQ(result, SettingsFile::LoadResult::Reset);
        EXPECT_EQ(readAll(file.badPath()), bytes);
        EXPECT_EQ(readAll(file.path()), SettingsFile::format(SettingsFile::defaults(dir.path())));
        file.load(&result);
        EXPECT_EQ(result, SettingsFile::LoadResult::Read);
    }
}

// A FIFO of that name has no writer: reading it would wait for ever.
TEST(SettingsFile, FifoIsNeverWaitedOn) {
    QTemporaryDir dir;
    SettingsFile file(dir.path());
    ASSERT_EQ(mkfifo(QFile::encodeName(file.path()).constData(), 0600), 0);
    SettingsFile::LoadResult result{};
    EXPECT_EQ(file.load(&result), SettingsFile::defaults(dir.path()));
    EXPECT_EQ(result, SettingsFile::LoadResult::Reset);
    EXPECT_TRUE(QFileInfo(file.badPath()).exists());
    EXPECT_TRUE(QFileInfo(file.path()).isFile());
}

TEST(SettingsFile, UnreadableFileGivesDefaults) {
    QTemporaryDir dir;
    SettingsFile file(dir.path());
    // A directory where the file should be cannot be read as settings nor replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(SettingsFile::kFileName));
    SettingsFile::LoadResult result{};
    EXPECT_EQ(file.load(&result), SettingsFile::defaults(dir.path()));
    EXPECT_EQ(result, SettingsFile::LoadResult::Unreadable);
    EXPECT_FALSE(file.save({2, 2, "/tmp"}));
}

TEST(SettingsFile, SaveThenLoadRoundTrips) {
    QTemporaryDir dir;
    SettingsFile file(dir.path());
    ASSERT_TRUE(file.save({4, 77, "/srv/csv"}));
    SettingsFile::LoadResult result{};
    EXPECT_EQ(file.load(&result), (LoggerSettings{4, 77, "/srv/csv"}));
    EXPECT_EQ(result, SettingsFile::LoadResult::Read);
}

TEST(SettingsFile, DirectoryTheLineCannotCarryIsReplacedByProgramDirectory) {
    QTemporaryDir dir;
    SettingsFile file(dir.path());
    for (const char* bad : {"/a\"b", "/a\nb", ""}) {
        ASSERT_TRUE(file.save({4, 7, QString::fromUtf8(bad)}));
        EXPECT_EQ(file.load(), (LoggerSettings{4, 7, QDir::toNativeSeparators(dir.path())}));
    }
}

}  // namespace

struct DewPointCase {
    const char* bytes;
    bool dewPointLine;
};

class DewPointField : public ::testing::TestWithParam<DewPointCase> {};

// The dew-point line rides as a fourth field, written only when on, so an older line reads as
// off and a line of a program that never turned it on keeps its three fields.
TEST_P(DewPointField, ReadsOnOnlyFromAOne) {
    const auto parsed = SettingsFile::parse(QByteArray(GetParam().bytes));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->dewPointLine, GetParam().dewPointLine);
    EXPECT_EQ(parsed->directory, QStringLiteral("/tmp"));
}

INSTANTIATE_TEST_SUITE_P(Cases, DewPointField,
                         ::testing::Values(DewPointCase{"3,1,\"/tmp\"\r\n", false},
                                           DewPointCase{"3,1,\"/tmp\",1\r\n", true},
                                           DewPointCase{"3,1,\"/tmp\",0\r\n", false},
                                           DewPointCase{"3,1,\"/tmp\",yes\r\n", false}));

TEST(SettingsFormat, DewPointLineIsWrittenOnlyWhenOn) {
    EXPECT_EQ(SettingsFile::format(
                  {.portnum = 3, .selector = 1, .directory = "/tmp", .dewPointLine = true}),
              QByteArray("3,1,\"/tmp\",1\r\n"));
    EXPECT_EQ(SettingsFile::format({.portnum = 3, .selector = 1, .directory = "/tmp"}),
              QByteArray("3,1,\"/tmp\"\r\n"));
    // Both choices away from their defaults, in one line that reads back the same.
    const LoggerSettings both{.portnum = 3,
                              .selector = 1,
                              .directory = "/tmp",
                              .keepInArchive = false,
                              .dewPointLine = true};
    EXPECT_EQ(SettingsFile::format(both), QByteArray("3,1,\"/tmp\",1,archive=off\r\n"));
    EXPECT_EQ(SettingsFile::parse(SettingsFile::format(both)), both);
    // A directory with a percent sign is written as it is.
    const LoggerSettings round{.portnum = 2,
                               .selector = 9,
                               .directory = QStringLiteral("/home/a%1b"),
                               .dewPointLine = true};
    EXPECT_EQ(SettingsFile::parse(SettingsFile::format(round)), round);
}
