#include "data/sqlite/sqlite_backend.h"

#include "data/failure.h"
#include "data/sqlite/sqlite_functions.h"
#include "data/sqlite/sqlite_translations.h"
#include "data/sqlite/sqlite_values.h"

namespace kvet {

namespace {

// A file another program holds locked is waited for this long before the
// statement fails with SQLite's "database is locked".
constexpr int kBusyTimeoutMs = 2000;

// Only the user-interface thread uses the database: no locking per call.
constexpr int kOneThread = SQLITE_OPEN_NOMUTEX;

// Keeps the statement's getdate() moment while it runs.
class StatementMoment {
public:
    StatementMoment(QString& slot, const QDateTime& moment) : slot_(slot)
    {
        slot_ = sqlite::formatLocalDateTime(moment);
    }
    ~StatementMoment() { slot_.clear(); }
    StatementMoment(const StatementMoment&) = delete;
    StatementMoment& operator=(const StatementMoment&) = delete;

private:
    QString& slot_;
};

// tail points into sql, a buffer of sql.size() bytes.
bool onlyWhiteSpaceOrComments(sqlite3* db, const QByteArray& sql, const char* tail)
{
    const char* end = sql.constData() + sql.size();
    while (tail && tail < end) {
        const char* next = nullptr;
        sqlite::StatementHandle rest = sqlite::prepare(db, tail, int(end - tail), &next);
        if (rest)
            return false;
        if (!next || next <= tail)
            break;
        tail = next;
    }
    return true;
}

} // namespace

struct SqliteBackend::Compiled {
    sqlite::StatementHandle statement;
    QStringList dateTimeColumns;
    QStringList decimalColumns;
};

std::unique_ptr<SqliteBackend> SqliteBackend::inMemory(Clock clock)
{
    auto db = sqlite::openDatabase(QStringLiteral(":memory:"),
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kOneThread);
    return std::unique_ptr<SqliteBackend>(new SqliteBackend(std::move(db), std::move(clock)));
}

std::unique_ptr<SqliteBackend> SqliteBackend::temporary(Clock clock)
{
    // SQLite's name for a private temporary database is the empty name.
    auto db = sqlite::openDatabase(QString(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kOneThread);
    // Nothing of it outlives the process: the rollback journal (of pages
    // changed, not of new ones) can stay in memory and nothing needs syncing.
    sqlite::exec(db.get(), "PRAGMA journal_mode=MEMORY");
    sqlite::exec(db.get(), "PRAGMA synchronous=OFF");
    // Pages of 8 KiB read a month of bills or a year of payments in half as
    // many reads from the file as SQLite's 4 KiB (about a tenth less time for
    // the sample build and the year's views); larger ones held more memory
    // between batches. The cache stays at 2000 KiB: set again after the page
    // size, else SQLite keeps the number of pages it worked out for 4 KiB.
    sqlite::exec(db.get(), "PRAGMA page_size=8192");
    sqlite::exec(db.get(), "PRAGMA cache_size=-2000");
    return std::unique_ptr<SqliteBackend>(new SqliteBackend(std::move(db), std::move(clock)));
}

std::unique_ptr<SqliteBackend> SqliteBackend::openFile(const QString& path, Clock clock)
{
    // An empty name would open a private temporary database instead.
    if (path.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("No database file named"));
    auto db = sqlite::openDatabase(path, SQLITE_OPEN_READWRITE | kOneThread);
    std::unique_ptr<SqliteBackend> backend(new SqliteBackend(std::move(db), std::move(clock)));
    // SQLite reads nothing until the first statement: make a file that is
    // no database fail here, with its name, rather than at the first panel.
    try {
        sqlite::exec(backend->handle(), "SELECT count(*) FROM sqlite_master");
    } catch (const DatabaseError& e) {
        throw DatabaseError(QStringLiteral("%1: %2").arg(path, e.message()), e.state(),
                            e.nativeCode());
    }
    return backend;
}

SqliteBackend::SqliteBackend(sqlite::DatabaseHandle db, Clock clock)
    : db_(std::move(db)), clock_(std::move(clock)), refusalMessage_(defaultRefusalMessage())
{
    sqlite3_busy_timeout(db_.get(), kBusyTimeoutMs);
    // Deterministic: within one statement getdate() is one moment, as on
    // SQL Server, and SQLite then evaluates it once, not once per row.
    int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
#ifdef SQLITE_INNOCUOUS
    // Views call it, also where the schema is not trusted.
    flags |= SQLITE_INNOCUOUS;
#endif
    const int rc = sqlite3_create_function_v2(db_.get(), sqlite::kNowFunction, 0, flags, this,
                                              &SqliteBackend::nowFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        sqlite::throwError(db_.get(), rc);
    sqlite::registerServerRules(db_.get());
}

SqliteBackend::~SqliteBackend() = default;

void SqliteBackend::connect(const QString&)
{
    if (refuseConnections_)
        throw DatabaseError(refusalMessage_);
    connected_ = true;
}

void SqliteBackend::disconnect()
{
    connected_ = false;
}

QDateTime SqliteBackend::now() const
{
    return clock_ ? clock_() : QDateTime::currentDateTime();
}

void SqliteBackend::setRefuseConnections(bool refuse, const QString& message)
{
    refuseConnections_ = refuse;
    refusalMessage_ = message;
}

QString SqliteBackend::defaultRefusalMessage()
{
    return QStringLiteral("The database does not accept connections");
}

int SqliteBackend::openStatementCount() const
{
    return sqlite::openStatementCount(db_.get());
}

void SqliteBackend::requireSession() const
{
    if (!connected_)
        throw DatabaseError(QStringLiteral("Operation is not allowed when the connection is closed"));
}

SqliteBackend::Compiled SqliteBackend::compile(const QString& statement)
{
    Compiled compiled;
    QString sql = statement;
    if (const sqlite::Translation* translation = sqlite::translationFor(statement)) {
        sql = translation->sql;
        compiled.dateTimeColumns = translation->dateTimeColumns;
        compiled.decimalColumns = translation->decimalColumns;
    }
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    compiled.statement = sqlite::prepare(db_.get(), utf8, &tail);
    if (!compiled.statement)
        throw DatabaseError(QStringLiteral("The statement text is empty"));
    // One statement per call, as the program sends: a second one would run
    // unseen (or not at all) rather than fail.
    if (!onlyWhiteSpaceOrComments(db_.get(), utf8, tail))
        throw DatabaseError(QStringLiteral("Only one statement can be run at a time"));
    return compiled;
}

ResultSet SqliteBackend::run(const QString& statement)
{
    requireSession();
    const StatementMoment moment(statementNow_, now());
    Compiled compiled = compile(statement);
    sqlite3_stmt* s = compiled.statement.get();

    ResultSet result;
    const int count = sqlite3_column_count(s);
    std::vector<sqlite::CellKind> cellKind(count, sqlite::CellKind::Plain);
    std::vector<std::optional<ColumnKind>> declared(count);
    for (int i = 0; i < count; ++i) {
        Column column;
        column.name = QString::fromUtf8(sqlite3_column_name(s, i));
        declared[i] = sqlite::kindOfDeclaredType(sqlite3_column_decltype(s, i));
        if (declared[i] == ColumnKind::DateTime ||
            compiled.dateTimeColumns.contains(column.name, Qt::CaseInsensitive))
            cellKind[i] = sqlite::CellKind::DateTime;
        else if (compiled.decimalColumns.contains(column.name, Qt::CaseInsensitive))
            cellKind[i] = sqlite::CellKind::Decimal;
        result.columns.push_back(column);
    }

    for (;;) {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            sqlite::throwError(db_.get(), rc);
        std::vector<Value> row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.push_back(sqlite::readCell(s, i, cellKind[i]));
        result.rows.push_back(std::move(row));
    }

    for (int i = 0; i < count; ++i) {
        if (cellKind[i] == sqlite::CellKind::DateTime)
            result.columns[i].kind = ColumnKind::DateTime;
        else if (cellKind[i] == sqlite::CellKind::Decimal)
            result.columns[i].kind = ColumnKind::Decimal;
        else
            result.columns[i].kind = declared[i] ? *declared[i] : sqlite::kindOfValues(result.rows, i);
    }
    return result;
}

void SqliteBackend::execute(const QString& statement)
{
    requireSession();
    const StatementMoment moment(statementNow_, now());
    Compiled compiled = compile(statement);
    for (;;) {
        const int rc = sqlite3_step(compiled.statement.get());
        if (rc == SQLITE_DONE)
            return;
        if (rc != SQLITE_ROW)
            sqlite::throwError(db_.get(), rc);
    }
}

void SqliteBackend::nowFunction(sqlite3_context* context, int, sqlite3_value**)
{
    const auto* self = static_cast<const SqliteBackend*>(sqlite3_user_data(context));
    // No exception may cross SQLite's C frames: a failing clock fails the statement.
    try {
        const QByteArray text = (self->statementNow_.isEmpty()
                                     ? sqlite::formatLocalDateTime(self->now())
                                     : self->statementNow_)
                                    .toUtf8();
        sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } catch (...) {
        sqlite3_result_error(context, "the clock could not be read", -1);
    }
}

} // namespace kvet
