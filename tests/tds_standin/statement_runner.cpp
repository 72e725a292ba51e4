#include "tds_standin/statement_runner.h"

#include "data/failure.h"
#include "data/sqlite/sqlite_handles.h"

#include <QRegularExpression>

namespace kvet::tds {

StatementRunner::StatementRunner(std::unique_ptr<SqliteBackend> database) : database_(std::move(database))
{
    database_->connect(QString());
}

void StatementRunner::setTypeChoice(const TypeChoice& choice)
{
    std::lock_guard lock(mutex_);
    choice_ = choice;
}

void StatementRunner::setCreateViewDenied(bool denied)
{
    std::lock_guard lock(mutex_);
    createViewDenied_ = denied;
}

void StatementRunner::sql(const QString& statement)
{
    std::lock_guard lock(mutex_);
    sqlite::exec(database_->handle(), statement.toUtf8().constData());
}

ResultSet StatementRunner::query(const QString& statement)
{
    std::lock_guard lock(mutex_);
    return database_->run(statement);
}

ServerMessage serverMessageFor(const QString& sqliteMessage, const QString& statement)
{
    static const QRegularExpression table(QStringLiteral("no such table: (?:main\\.)?(\\S+)"));
    static const QRegularExpression column(QStringLiteral("no such column: (?:\\w+\\.)?(\\S+)"));
    static const QRegularExpression exists(QStringLiteral("(?:view|table) (\\S+) already exists"));
    ServerMessage m;
    m.severity = 16;
    if (const auto t = table.match(sqliteMessage); t.hasMatch()) {
        m.number = 208;
        m.text = QStringLiteral("Invalid object name '%1'.").arg(t.captured(1));
    } else if (const auto c = column.match(sqliteMessage); c.hasMatch()) {
        m.number = 207;
        m.text = QStringLiteral("Invalid column name '%1'.").arg(c.captured(1));
    } else if (const auto e = exists.match(sqliteMessage); e.hasMatch()) {
        m.number = 2714;
        m.text = QStringLiteral("There is already an object named '%1' in the database.").arg(e.captured(1));
    } else {
        m.number = 102;
        m.severity = 15;
        m.text = QStringLiteral("Incorrect syntax near '%1'.").arg(statement.simplified().section(u' ', 0, 0));
    }
    return m;
}

BatchOutcome StatementRunner::serverStatement(const QString& text, const QString& database, const QString& user,
                                              bool* handled)
{
    // The session settings and catalog questions a client sends on its own.
    *handled = true;
    BatchOutcome out;
    const QString folded = text.simplified();
    if (folded.startsWith(QStringLiteral("SET "), Qt::CaseInsensitive) || folded.isEmpty())
        return out;
    auto single = [&out](const QString& name, const Value& v, ColumnKind kind) {
        out.hasResult = true;
        out.result.columns.push_back(Column{name, kind});
        if (out.result.rows.empty())
            out.result.rows.emplace_back();
        out.result.rows[0].push_back(v);
    };
    if (folded.compare(QStringLiteral("select @@version"), Qt::CaseInsensitive) == 0) {
        single(QString(), QStringLiteral("Microsoft SQL Server 2019 (RTM) - 15.0.2000.5 (X64) (kvet stand-in)"),
               ColumnKind::Text);
        return out;
    }
    // kvet-check's catalogue questions, answered from the stand-in's own state.
    if (folded.startsWith(QStringLiteral("SELECT HAS_PERMS_BY_NAME("), Qt::CaseInsensitive)) {
        single(QStringLiteral("create_view"), std::int64_t(createViewDenied_ ? 0 : 1), ColumnKind::Integer);
        single(QStringLiteral("alter_dbo"), std::int64_t(1), ColumnKind::Integer);
        single(QStringLiteral("db_user"), QStringLiteral("dbo"), ColumnKind::Text);
        return out;
    }
    if (folded.startsWith(QStringLiteral("SELECT CAST(SERVERPROPERTY('ProductVersion')"), Qt::CaseInsensitive)) {
        single(QStringLiteral("version"), QStringLiteral("15.0.2000.5"), ColumnKind::Text);
        single(QStringLiteral("edition"), QStringLiteral("Developer Edition (64-bit)"), ColumnKind::Text);
        single(QStringLiteral("db"), database, ColumnKind::Text);
        single(QStringLiteral("collation"), QStringLiteral("Chinese_PRC_CI_AS"), ColumnKind::Text);
        single(QStringLiteral("code_page"), std::int64_t(936), ColumnKind::Integer);
        return out;
    }
    static const QRegularExpression sysViews(
        QStringLiteral("^SELECT name FROM sys\\.views WHERE schema_id = SCHEMA_ID\\('dbo'\\) AND name IN (\\(.*\\))$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto v = sysViews.match(folded); v.hasMatch()) {
        out.result = database_->run(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view' AND name IN %1").arg(v.captured(1)));
        out.hasResult = true;
        return out;
    }
    if (folded.startsWith(QStringLiteral("CREATE VIEW"), Qt::CaseInsensitive) && createViewDenied_) {
        out.error = ServerMessage{262, 1, 14, QStringLiteral("CREATE VIEW permission denied in database '%1'.").arg(database)};
        return out;
    }
    Q_UNUSED(user);
    *handled = false;
    return out;
}

BatchOutcome StatementRunner::run(const QString& batch, const QString& database, const QString& user)
{
    std::lock_guard lock(mutex_);
    bool handled = false;
    BatchOutcome out = serverStatement(batch, database, user, &handled);
    if (handled) {
        if (out.hasResult)
            out.columns = wireColumns(out.result, batch, choice_);
        return out;
    }
    try {
        if (batch.simplified().startsWith(QStringLiteral("CREATE "), Qt::CaseInsensitive)
            || batch.simplified().startsWith(QStringLiteral("DROP "), Qt::CaseInsensitive)) {
            database_->execute(batch);
        } else {
            out.result = database_->run(batch);
            out.hasResult = true;
            out.columns = wireColumns(out.result, batch, choice_);
        }
    } catch (const Failure& e) {
        out.hasResult = false;
        out.error = serverMessageFor(e.message(), batch);
    }
    return out;
}

} // namespace kvet::tds
