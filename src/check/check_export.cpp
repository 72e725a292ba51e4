#include "check/check_export.h"

#include "check/check_connection.h"
#include "check/export_file.h"
#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/sqlite/demo_schema.h"
#include "data/sqlite/export_record.h"
#include "data/sqlite/row_writer.h"
#include "data/sqlite/sqlite_backend.h"
#include "data/sqlite/sqlite_values.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

namespace kvet::check {
namespace {

// How often a long table reports how far it is.
constexpr qint64 kProgressEveryMs = 1000;

void bindValue(sqlite::RowWriter& writer, const Value& value)
{
    if (const auto* i = std::get_if<std::int64_t>(&value))
        writer.integer(*i);
    else if (const auto* d = std::get_if<double>(&value))
        writer.real(*d);
    else if (const auto* m = std::get_if<Decimal>(&value))
        // Amounts are REAL yuan in the demo schema; the demo reads them back
        // as whole ten-thousandths, which a double holds exactly enough.
        writer.real(m->text.toDouble());
    else if (const auto* t = std::get_if<QString>(&value))
        writer.text(*t);
    else if (const auto* when = std::get_if<QDateTime>(&value))
        writer.text(when->isValid() ? sqlite::formatLocalDateTime(*when) : QString());
    else
        writer.null();
}

int columnIndex(const ResultSet& result, const QString& name)
{
    for (std::size_t i = 0; i < result.columns.size(); ++i) {
        if (result.columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    throw Failure(QStringLiteral("结果里没有列 %1").arg(name));
}

// An account number as the server's collation compares it: letter case and
// trailing blanks do not count.
QString accountKey(const Value& value)
{
    QString text;
    if (const auto* t = std::get_if<QString>(&value))
        text = *t;
    else if (const auto* i = std::get_if<std::int64_t>(&value))
        text = QString::number(*i);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text.toCaseFolded();
}

struct PersonalData {
    Value hm, dz;
};

class TableCopy {
public:
    TableCopy(Connection& connection, sqlite3* db, Report& report, std::size_t chunkRows)
        : connection_(connection), db_(db), report_(report), chunkRows_(chunkRows)
    {
    }

    // Streams statement's rows into the table through insertSql; each row
    // bound by bind(writer, chunk, row).
    template <typename Bind>
    void copy(const QString& table, const QString& statement, const char* insertSql, Bind bind,
              std::size_t rowLimit = 0)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        qint64 lastReport = 0;
        std::size_t rows = 0;
        sqlite::RowWriter writer(db_, insertSql);
        connection_.open();
        connection_.backend().stream(statement, chunkRows_, [&](ResultSet& chunk) {
            sqlite::Transaction transaction(db_);
            for (const auto& row : chunk.rows) {
                if (rowLimit && rows >= rowLimit)
                    break;
                bind(writer, chunk, row);
                writer.write();
                ++rows;
            }
            transaction.commit();
            if (elapsed.elapsed() - lastReport >= kProgressEveryMs) {
                lastReport = elapsed.elapsed();
                report_.info(progressText(table, rows, lastReport, false));
            }
        });
        report_.ok(progressText(table, rows, elapsed.elapsed(), true));
    }

private:
    static QString progressText(const QString& table, std::size_t rows, qint64 ms, bool done)
    {
        return QStringLiteral("%1：%2 %3 行，用时 %4 秒")
            .arg(table, done ? QStringLiteral("共导出") : QStringLiteral("已读"))
            .arg(rows)
            .arg(double(ms) / 1000.0, 0, 'f', 1);
    }

    Connection& connection_;
    sqlite3* db_;
    Report& report_;
    std::size_t chunkRows_;
};

QDateTime serverClock(Connection& connection)
{
    connection.open();
    const ResultSet result = connection.backend().run(QString::fromUtf8(statements::kServerClock));
    if (result.rows.empty() || result.rows[0].empty())
        throw Failure(QStringLiteral("服务器没有回答它的时间"));
    const auto* now = std::get_if<QDateTime>(&result.rows[0][0]);
    if (!now || !now->isValid())
        throw Failure(QStringLiteral("服务器的时间读不懂"));
    return *now;
}

// Names and addresses of the accounts in the ticker's payments, read with
// the ticker's own statement: exactly what the hall's screen shows.
QHash<QString, PersonalData> tickerAccounts(Connection& connection)
{
    connection.open();
    const ResultSet ticker = connection.backend().run(statements::tickerStatement());
    const int tzh = columnIndex(ticker, QStringLiteral("tzh"));
    const int hm = columnIndex(ticker, QStringLiteral("hm"));
    const int dz = columnIndex(ticker, QStringLiteral("dz"));
    QHash<QString, PersonalData> accounts;
    for (const auto& row : ticker.rows)
        accounts.insert(accountKey(row[std::size_t(tzh)]), PersonalData{row[std::size_t(hm)], row[std::size_t(dz)]});
    return accounts;
}

// Every column of the result in order.
auto allColumns()
{
    return [](sqlite::RowWriter& writer, const ResultSet&, const std::vector<Value>& row) {
        for (const Value& v : row)
            bindValue(writer, v);
    };
}

void copyTables(Connection& connection, sqlite3* db, Report& report, std::size_t chunkRows)
{
    const QDateTime now = serverClock(connection);
    report.info(QStringLiteral("服务器的时间：") + now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    const int year = now.date().year();
    sqlite::createDemoSchema(db);
    TableCopy tables(connection, db, report, chunkRows);

    tables.copy(QStringLiteral("sf_sb_"), QString::fromUtf8(statements::kProbe),
                "INSERT INTO sf_sb_ (zls, help) VALUES (?, ?)", allColumns(), 1);

    const QHash<QString, PersonalData> shown = tickerAccounts(connection);
    tables.copy(QStringLiteral("sf_yh"), QStringLiteral("select tzh,YSLB,cbch,lrzt,lrrq1 from sf_yh"),
                "INSERT INTO sf_yh (tzh, hm, dz, YSLB, cbch, lrzt, lrrq1) VALUES (?, ?, ?, ?, ?, ?, ?)",
                [&shown](sqlite::RowWriter& writer, const ResultSet&, const std::vector<Value>& row) {
                    const auto it = shown.constFind(accountKey(row[0]));
                    bindValue(writer, row[0]);
                    bindValue(writer, it == shown.constEnd() ? Value{} : it->hm);
                    bindValue(writer, it == shown.constEnd() ? Value{} : it->dz);
                    for (std::size_t i = 1; i < row.size(); ++i)
                        bindValue(writer, row[i]);
                });

    // The year bounds are written yyyy-01-01: day and month read alike under
    // every date format a server session may have, and in the demo's text
    // columns they compare as the start of that day.
    tables.copy(QStringLiteral("sf_sr"),
                QStringLiteral("select lsh,tzh,je,ren,rq from sf_sr where rq >= '%1-01-01' and rq < '%2-01-01'")
                    .arg(year - 1)
                    .arg(year + 1),
                "INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES (?, ?, ?, ?, ?)", allColumns());
    tables.copy(QStringLiteral("sf_yhsf"),
                QStringLiteral("select tzh,jfsj,sf,cbch,yhls,fph,jfzt from sf_yhsf where jfsj like '%1%'").arg(year),
                "INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES (?, ?, ?, ?, ?, ?, ?)",
                allColumns());

    sqlite::Transaction transaction(db);
    sqlite::createDemoIndexes(db);
    sqlite::writeExportMoment(db, now);
    transaction.commit();
}

// SQLite says "database or disk is full" for the file it writes; the
// installer is told which disk, in words of his own. (Its errors carry no
// SQLSTATE, the server's always do.)
QString exportFailureText(const DatabaseError& e, const QString& target)
{
    if (e.state().isEmpty() && (e.nativeCode() & 0xff) == SQLITE_FULL)
        return QStringLiteral("%1 所在的磁盘已满，写不下导出的文件；腾出空间或换一个文件夹再导出（%2）")
            .arg(QFileInfo(target).absolutePath(), e.message());
    return messageOf(e);
}

} // namespace

void exportDatabase(Connection& connection, const QString& target, bool replace, Report& report,
                    std::size_t chunkRows)
{
    ExportFile file(target, replace);
    copyTables(connection, file.database(), report, chunkRows);
    file.closeDatabase();
    // The four views, made as kvet-demo's view repair makes them: without
    // them the preview's first refresh would only create them and show three
    // charts empty, unlike the hall.
    {
        auto views = SqliteBackend::openFile(file.partialPath());
        views->connect(QString());
        for (ReportingView view : kAllReportingViews)
            views->execute(viewDefinitionText(view));
        views->disconnect();
    }
    file.finish();
}

int runExport(const CheckOptions& options, Report& report)
{
    try {
        if (QFileInfo::exists(options.exportFile) && !options.force) {
            report.error(QStringLiteral("文件已存在，没有导出：%1（要替换它，加 --force）").arg(options.exportFile));
            return 1;
        }
        std::optional<ServerLogin> login = prepareServerLogin(options.settingsPath, report);
        if (!login) {
            report.error(QStringLiteral("没有导出：连不上数据库"));
            return 1;
        }
        if (!checkConnection(*login->connection, LoginContext{login->server, login->user, login->database}, report)) {
            report.error(QStringLiteral("没有导出：连不上数据库"));
            return 1;
        }
        exportDatabase(*login->connection, options.exportFile, options.force, report);
        login->connection->close();
        report.ok(QStringLiteral("已导出到 %1，用 kvet-demo --database %1 查看").arg(options.exportFile));
        return 0;
    } catch (const DatabaseError& e) {
        report.error(QStringLiteral("导出失败，没有留下文件：") + exportFailureText(e, options.exportFile));
    } catch (const std::exception& e) {
        report.error(QStringLiteral("导出失败，没有留下文件：") + messageOf(e));
    } catch (...) {
        report.error(QStringLiteral("导出失败，没有留下文件：未知的失败"));
    }
    return 1;
}

} // namespace kvet::check
