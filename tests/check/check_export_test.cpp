// The export engine on the demo database: pieces of any size give the same
// file, the recorded moment is what kvet-demo stands at unless --at says
// otherwise, and the partial file never outlives a failure.
#include "check/check_export.h"
#include "check/export_file.h"
#include "data/connection.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/export_record.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::check;

namespace {

const QDateTime kMoment(QDate(2026, 3, 2), QTime(9, 15, 0));

std::int64_t count(SqliteBackend& db, const QString& sql)
{
    db.connect(QString());
    const ResultSet r = db.run(sql);
    db.disconnect();
    return std::get<std::int64_t>(r.rows.at(0).at(0));
}

TEST(ExportEngine, SmallPiecesGiveTheSameFileAndTheMomentIsRecorded)
{
    QTemporaryDir dir;
    Connection source(createDemoBackend(kMoment, true, [] { return kMoment; }));
    source.setConnectionString(QStringLiteral("Provider=SQLite"));
    Report report;
    const QString small = dir.filePath(QStringLiteral("small.db"));
    const QString large = dir.filePath(QStringLiteral("large.db"));
    exportDatabase(source, small, false, report, 7);
    exportDatabase(source, large, false, report);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"large.db", "small.db"}));

    auto a = openDemoFileAt(small, std::nullopt);
    auto b = openDemoFileAt(large, std::nullopt);
    EXPECT_EQ(a->now(), kMoment);
    for (const char* sql : {"select count(*) from sf_yh", "select count(*) from sf_sr", "select count(*) from sf_yhsf",
                            "select count(*) from sf_sb_", "select sum(lsh) from sf_sr",
                            "select count(*) from sqlite_master where type = 'view'"})
        EXPECT_EQ(count(*a, QString::fromLatin1(sql)), count(*b, QString::fromLatin1(sql))) << sql;
    EXPECT_EQ(count(*a, QStringLiteral("select count(*) from sqlite_master where type = 'view'")), 4);
    EXPECT_EQ(count(*a, QStringLiteral("select count(*) from sf_sb_")), 1);

    // The indexes the statements are planned on (demo_query_plan_test): the
    // 30-day window through rq, a month's bills from the covering index.
    a->connect(QString());
    QStringList indexes;
    for (const auto& row : a->run(QStringLiteral("select name from sqlite_master where type = 'index' order by name")).rows)
        indexes << std::get<QString>(row.at(0));
    EXPECT_EQ(indexes, (QStringList{"sf_sr_rq", "sf_yh_tzh", "sf_yhsf_jfsj"}));
    const auto plan = [&a](const char* sql) {
        QStringList lines;
        for (const auto& row : a->run(QStringLiteral("EXPLAIN QUERY PLAN ") + QString::fromUtf8(sql)).rows)
            lines << std::get<QString>(row.back());
        return lines.join(QLatin1Char('\n'));
    };
    EXPECT_TRUE(plan("select * from V_W_dsj_jfqd").contains(QStringLiteral("USING INDEX sf_sr_rq")));
    EXPECT_TRUE(plan("select * from V_W_dsj_jd2").contains(QStringLiteral("USING COVERING INDEX sf_yhsf_jfsj")));
    a->disconnect();

    // --at wins over the recorded moment; a file that is no export has none.
    const QDateTime at(QDate(2026, 1, 5), QTime(8, 0, 0));
    EXPECT_EQ(openDemoFileAt(small, at)->now(), at);
    const QString plain = dir.filePath(QStringLiteral("plain.db"));
    writeDemoDatabase(plain, kMoment);
    auto other = openDemoFileAt(plain, std::nullopt);
    EXPECT_FALSE(sqlite::readExportMoment(other->handle()));
    EXPECT_LE(qAbs(other->now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(ExportEngine, APartialFileNeverOutlivesAFailure)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("hall.db"));
    {
        ExportFile file(target, false);
        EXPECT_TRUE(QFileInfo::exists(file.partialPath()));
        EXPECT_TRUE(file.partialPath().endsWith(QStringLiteral(".partial")));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A source whose tables are not there fails half-way, leaving nothing.
    Connection empty(SqliteBackend::inMemory());
    empty.setConnectionString(QStringLiteral("Provider=SQLite"));
    Report report;
    EXPECT_ANY_THROW(exportDatabase(empty, target, false, report));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    QFile mine(target);
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.close();
    EXPECT_ANY_THROW(ExportFile(target, false));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"hall.db"});
}

} // namespace
