// An empty archive on either engine for each test: an SQLite file in a scratch folder, or a
// database of its own on the PostgreSQL server VELTRANE_TEST_POSTGRES names (the test command
// starts one); without that variable the PostgreSQL cases are skipped with the reason printed.
#pragma once

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>

#include "archive/archive.h"
#include "data/csv.h"
#include "data/messagetable.h"
#include "data/texts.h"
#include "runsamples.h"

enum class TestEngine { Sqlite, Postgres };

inline std::string engineName(const ::testing::TestParamInfo<TestEngine>& info) {
    return info.param == TestEngine::Sqlite ? "Sqlite" : "Postgres";
}

// Runs SQL on the archive's database beside the program, as another tool would.
class DirectSql {
  public:
    explicit DirectSql(const ArchiveLocation& location);
    ~DirectSql();
    DirectSql(const DirectSql&) = delete;
    DirectSql& operator=(const DirectSql&) = delete;
    bool exec(const QString& sql);
    // The first column of the first row, or an invalid value.
    QVariant value(const QString& sql);
    QString lastError() const { return error_; }

  private:
    QString name_;
    QString error_;
};

class ArchiveTest : public ::testing::TestWithParam<TestEngine> {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new Archive on the test's location, opened.
    std::unique_ptr<Archive> openArchive();
    // A scratch data set for the test.
    DataSet& dataSet(int slot);
    // The bytes the window's CSV writer makes of a data set.
    QByteArray csvBytes(DataSet& set);
    // The child program storing records first..last of the test run; not yet waited for.
    std::unique_ptr<QProcess> startChild(int first, int last, const QString& killAfter = {});

    QTemporaryDir dir;
    ArchiveLocation location;
    QString locationText;
    MessageTable messages;
    TestRun run;
    std::array<DataSet, 3> sets;
};

// The SHA-256 of a file's bytes.
QByteArray fileHash(const QString& path);
