// kvet-check --export against the stand-in, as the installer would run it
// against the utility's SQL Server: the file it writes shows, in kvet-demo at
// the time of export, exactly the screen the hall showed then; it holds names
// and addresses only for the ticker's accounts; and a failure leaves nothing.
#include "check/check_export.h"
#include "data/dashboard_sql.h"
#include "data/field.h"
#include "data/odbc/odbc_backend.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/export_record.h"
#include "tds/dashboard_window.h"
#include "tds/stand_in_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace kvet;
using namespace kvet::check;
using namespace kvet::testing;

namespace {

class ExportOnTheWire : public StandInTest {
protected:
    QString target() const { return dir.filePath(QStringLiteral("hall.db")); }

    int exportTo(const QString& file, bool force = false)
    {
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[option]\nmydata=sfdb\nmy=127.0.0.1,%1\nuser=sa\npassword=%2\n")
                      .arg(server->port())
                      .arg(QString::fromLatin1(QByteArray("secret").toBase64()))
                      .toUtf8());
        ini.close();
        CheckOptions o;
        o.settingsPath = ini.fileName();
        o.exportFile = file;
        o.force = force;
        report = Report();
        return runExport(o, report);
    }
    // Every file in the folder but kvet.ini.
    QStringList leftOver() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files);
        names.removeAll(QStringLiteral("kvet.ini"));
        return names;
    }
    static qint64 count(SqliteBackend& db, const QString& sql)
    {
        db.connect(QString());
        const ResultSet r = db.run(sql);
        db.disconnect();
        return std::get<std::int64_t>(r.rows.at(0).at(0));
    }

    QTemporaryDir dir;
    Report report;
};

TEST_F(ExportOnTheWire, TheFileShowsAtItsTimeOfExportWhatTheHallShowed)
{
    ASSERT_EQ(exportTo(target()), 0) << qPrintable(report.text());
    for (const char* table : {"sf_sb_", "sf_yh", "sf_sr", "sf_yhsf"})
        EXPECT_TRUE(report.text().contains(QStringLiteral("%1：共导出 ").arg(QLatin1String(table))))
            << table << qPrintable(report.text());
    EXPECT_EQ(leftOver(), QStringList{QStringLiteral("hall.db")});

    auto file = openDemoFileAt(target(), std::nullopt);
    EXPECT_EQ(sqlite::readExportMoment(file->handle()), standInMoment());
    EXPECT_EQ(file->now(), standInMoment());

    auto wire = odbcDashboard(connectionString());
    auto preview = sqliteDashboard(std::move(file));
    wire->startUp();
    preview->startUp();
    const QByteArray a = wire->snapshot();
    const QByteArray b = preview->snapshot();
    if (a != b) {
        QFile f(QStringLiteral("export_snapshot_wire.json"));
        if (f.open(QIODevice::WriteOnly))
            f.write(a);
        QFile g(QStringLiteral("export_snapshot_file.json"));
        if (g.open(QIODevice::WriteOnly))
            g.write(b);
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(filledCharts(*preview->form), 6);
    EXPECT_EQ(filledTickerRows(*preview->form), 15);
    // A periodic pass later, still the same.
    wire->scheduler().Timer3Timer();
    preview->scheduler().Timer3Timer();
    EXPECT_EQ(wire->snapshot(), preview->snapshot());

    // Only SELECTs reached the server.
    for (const QString& batch : server->batches()) {
        const QString head = batch.simplified().left(7).toLower();
        EXPECT_TRUE(head.startsWith(QStringLiteral("select")) || head.startsWith(QStringLiteral("set ")))
            << qPrintable(batch);
    }
}

TEST_F(ExportOnTheWire, NamesAndAddressesOnlyForTheTickersAccounts)
{
    ASSERT_EQ(exportTo(target()), 0) << qPrintable(report.text());
    auto sample = sampleCopy();
    auto file = openDemoFileAt(target(), std::nullopt);
    EXPECT_EQ(count(*file, QStringLiteral("select count(*) from sf_yh")),
              count(*sample, QStringLiteral("select count(*) from sf_yh")));
    EXPECT_EQ(count(*file, QStringLiteral("select count(*) from sf_sr")),
              count(*sample, QStringLiteral("select count(*) from sf_sr where rq >= '2025-01-01'")));
    const qint64 named = count(*file, QStringLiteral("select count(*) from sf_yh where hm is not null or dz is not null"));
    EXPECT_GT(named, 0);
    EXPECT_LE(named, 15);
    // Each named account is one of the 15 latest payments' (amount not 0).
    EXPECT_EQ(count(*file, QStringLiteral("select count(*) from sf_yh where (hm is not null or dz is not null) and "
                                          "tzh not in (select tzh from (select tzh from sf_sr where je <> 0 "
                                          "order by lsh desc limit 15))")),
              0);
}

// Account numbers and channel codes kept in char(n) columns, padded with
// blanks: the server joins and maps them as if the blanks were not there, and
// so does the preview of its export, whose file has the demo's indexes.
TEST_F(ExportOnTheWire, PaddedAccountNumbersStayInTheTickerOnTheServerAndInThePreview)
{
    server->runner().sql(QStringLiteral("update sf_yh set tzh = tzh || '   ' where tzh = '1000001'"));
    server->runner().sql(QStringLiteral("insert into sf_sr (lsh, tzh, je, ren, rq) values "
                                        "(99999998, '1000001', 12.5, 'ZFB  ', '2026-06-15 09:00:00'),"
                                        "(99999999, '1000002 ', 20, 'wx ', '2026-06-15 09:01:00')"));
    OdbcBackend wire;
    wire.connect(connectionString());
    const ResultSet onServer = wire.run(statements::tickerStatement());
    wire.disconnect();
    ASSERT_EQ(onServer.rows.size(), 15u);
    const auto cellAt = [](const ResultSet& r, std::size_t row, std::size_t column) {
        return Field(r.rows.at(row).at(column), r.columns.at(column).kind).asString();
    };
    EXPECT_EQ(cellAt(onServer, 0, 0), QStringLiteral("99999999"));
    EXPECT_EQ(cellAt(onServer, 0, 5), QStringLiteral("公众号"));
    EXPECT_EQ(cellAt(onServer, 1, 0), QStringLiteral("99999998"));
    EXPECT_EQ(cellAt(onServer, 1, 5), QStringLiteral("支付宝"));

    ASSERT_EQ(exportTo(target()), 0) << qPrintable(report.text());
    auto file = openDemoFileAt(target(), std::nullopt);
    file->connect(QString());
    const ResultSet inPreview = file->run(statements::tickerStatement());
    ASSERT_EQ(inPreview.rows.size(), 15u);
    for (std::size_t row = 0; row < 2; ++row) {
        for (const std::size_t column : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(5)})
            EXPECT_EQ(cellAt(inPreview, row, column), cellAt(onServer, row, column)) << row << ' ' << column;
        EXPECT_FALSE(cellAt(inPreview, row, 2).isEmpty()) << "the holder's name was exported";
    }
}

TEST_F(ExportOnTheWire, AnExistingFileIsKeptUnlessReplacingIsAsked)
{
    QFile mine(target());
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();
    EXPECT_EQ(exportTo(target()), 1);
    EXPECT_TRUE(report.text().contains(QStringLiteral("--force"))) << qPrintable(report.text());
    QFile again(target());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("mine"));
    again.close();

    ASSERT_EQ(exportTo(target(), true), 0) << qPrintable(report.text());
    EXPECT_EQ(leftOver(), QStringList{QStringLiteral("hall.db")});
    auto file = openDemoFileAt(target(), std::nullopt);
    EXPECT_GT(count(*file, QStringLiteral("select count(*) from sf_sr")), 0);
}

TEST_F(ExportOnTheWire, ALinkLostHalfWayLeavesNoFile)
{
    // Inside the payments' result, after the accounts are written.
    server->orderBatchFault(tds::BatchFault::DropInsideResult, QStringLiteral("from sf_sr where rq"));
    EXPECT_EQ(exportTo(target()), 1);
    EXPECT_EQ(report.count(Verdict::Error), 1) << qPrintable(report.text());
    EXPECT_TRUE(report.text().contains(QStringLiteral("导出失败"))) << qPrintable(report.text());
    EXPECT_TRUE(report.text().contains(QStringLiteral("sf_yh：共导出"))) << qPrintable(report.text());
    EXPECT_TRUE(leftOver().isEmpty()) << qPrintable(leftOver().join(u' '));
}

TEST_F(ExportOnTheWire, AMissingColumnFailsWithTheServersWords)
{
    server->runner().sql(QStringLiteral("drop view V_W_dsj_jd2"));
    server->runner().sql(QStringLiteral("drop index sf_yhsf_jfsj")); // it holds the column
    server->runner().sql(QStringLiteral("alter table sf_yhsf drop column yhls"));
    EXPECT_EQ(exportTo(target()), 1);
    EXPECT_TRUE(report.text().contains(QStringLiteral("yhls"))) << qPrintable(report.text());
    EXPECT_TRUE(leftOver().isEmpty()) << qPrintable(leftOver().join(u' '));
}

} // namespace
