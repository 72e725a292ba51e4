#include "data/odbc/odbc_backend.h"

#include "data/odbc/odbc_diagnostics.h"
#include "data/odbc/odbc_driver_choice.h"
#include "data/odbc/odbc_result_reader.h"
#include "data/odbc/odbc_text.h"

#include <algorithm>
#include <iterator>

namespace kvet {

using namespace odbc;

namespace {

DatabaseError notConnected()
{
    return DatabaseError(QStringLiteral("Operation is not allowed when the object is closed"),
                         QStringLiteral("08003"));
}

SQLPOINTER integerAttribute(int value)
{
    return reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(qMax(value, 0)));
}

} // namespace

OdbcBackend::OdbcBackend() : OdbcBackend(Timeouts{}) {}

OdbcBackend::OdbcBackend(Timeouts timeouts) : timeouts_(timeouts) {}

OdbcBackend::~OdbcBackend()
{
    session_.end();
}

SQLHENV OdbcBackend::environment()
{
    if (!environment_) {
        SQLHANDLE handle = SQL_NULL_HANDLE;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle)))
            throw DatabaseError(QStringLiteral("The ODBC driver manager could not be started"),
                                QStringLiteral("HY001"));
        EnvironmentHandle owned(handle);
        if (!SQL_SUCCEEDED(SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, integerAttribute(SQL_OV_ODBC3), 0)))
            throwDiagnostics(SQL_HANDLE_ENV, handle);
        environment_ = std::move(owned);
    }
    return environment_.get();
}

QStringList OdbcBackend::installedDrivers()
{
    const SQLHENV env = environment();
    QStringList names;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLWCHAR name[512] = {};
        SQLWCHAR attributes[2048] = {};
        SQLSMALLINT nameLength = 0, attributesLength = 0;
        const SQLRETURN rc = SQLDriversW(env, direction, name, SQLSMALLINT(std::size(name)), &nameLength,
                                         attributes, SQLSMALLINT(std::size(attributes)),
                                         &attributesLength);
        if (!SQL_SUCCEEDED(rc))
            break;
        names << fromSqlWideTerminated(name, qsizetype(std::size(name)));
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

void OdbcBackend::connect(const QString& connectionString)
{
    session_.end();

    QString odbcString;
    if (isOdbcPassthrough(connectionString)) {
        odbcString = odbcPassthroughText(connectionString);
    } else {
        ConnectionStringPairs pairs;
        try {
            pairs = parseConnectionString(connectionString);
        } catch (const Failure& f) {
            throw DatabaseError(f.message(), QStringLiteral("IM012"));
        }
        QString driver = explicitDriver(pairs);
        if (driver.isEmpty())
            driver = chooseSqlServerDriver(installedDrivers());
        if (driver.isEmpty())
            throw DatabaseError(QStringLiteral("No ODBC driver for SQL Server is installed"),
                                QStringLiteral("IM002"));
        odbcString = odbcConnectionString(pairs, driver);
    }

    SQLHANDLE handle = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment(), &handle)))
        throwDiagnostics(SQL_HANDLE_ENV, environment());
    ConnectionHandle connection(handle);
    // Best effort: a driver without login time-outs still connects.
    SQLSetConnectAttrW(handle, SQL_ATTR_LOGIN_TIMEOUT, integerAttribute(timeouts_.loginSeconds),
                       SQL_IS_UINTEGER);

    // The driver manager takes the string's length as a 16-bit count; the
    // program's own strings stay far below it (values are cut at 2047 units).
    if (odbcString.size() > 32767)
        throw DatabaseError(QString::fromLatin1(kMalformedConnectionStringMessage), QStringLiteral("IM012"));
    std::vector<SQLWCHAR> text = toSqlWide(odbcString);
    const SQLRETURN rc = SQLDriverConnectW(handle, nullptr, text.data(), SQLSMALLINT(text.size() - 1),
                                           nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    // The string holds the password; do not leave it in freed memory.
    std::fill(text.begin(), text.end(), SQLWCHAR(0));
    if (!SQL_SUCCEEDED(rc))
        throwDiagnostics(SQL_HANDLE_DBC, handle);
    session_ = Session(std::move(connection));
}

void OdbcBackend::disconnect()
{
    session_.end();
}

bool OdbcBackend::isConnected() const
{
    return bool(session_);
}

StatementHandle OdbcBackend::executeDirect(const QString& statement)
{
    if (!session_)
        throw notConnected();
    SQLHANDLE handle = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, session_.get(), &handle))) {
        StatementHandle none;
        const std::vector<Diagnostic> records = collectDiagnostics(SQL_HANDLE_DBC, session_.get());
        fail(databaseErrorFrom(records), none, reportsLostLink(records));
    }
    StatementHandle owned(handle);
    // Best effort, as for the login time-out.
    SQLSetStmtAttrW(handle, SQL_ATTR_QUERY_TIMEOUT, integerAttribute(timeouts_.commandSeconds),
                    SQL_IS_UINTEGER);
    std::vector<SQLWCHAR> text = toSqlWide(statement);
    const SQLRETURN rc = SQLExecDirectW(handle, text.data(), SQLINTEGER(text.size() - 1));
    if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc))
        failOnStatement(owned);
    return owned;
}

ResultSet OdbcBackend::run(const QString& statement)
{
    StatementHandle handle = executeDirect(statement);
    if (!toFirstResultWithColumns(handle))
        return {};
    try {
        return fetchResult(handle.get());
    } catch (const DatabaseError& e) {
        fail(e, handle);
    }
}

void OdbcBackend::stream(const QString& statement, std::size_t chunkRows,
                         const std::function<void(ResultSet&)>& piece)
{
    StatementHandle handle = executeDirect(statement);
    if (!toFirstResultWithColumns(handle))
        return;
    try {
        fetchResultInPieces(handle.get(), chunkRows, piece);
    } catch (const DatabaseError& e) {
        fail(e, handle);
    }
}

bool OdbcBackend::toFirstResultWithColumns(StatementHandle& handle)
{
    // Row counts of statements ahead of the SELECT come as results without
    // columns; the rows are in the first result that has columns.
    for (;;) {
        SQLSMALLINT columns = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(handle.get(), &columns)))
            failOnStatement(handle);
        if (columns > 0)
            return true;
        const SQLRETURN rc = SQLMoreResults(handle.get());
        if (rc == SQL_NO_DATA)
            return false;
        if (!SQL_SUCCEEDED(rc))
            failOnStatement(handle);
    }
}

void OdbcBackend::execute(const QString& statement)
{
    StatementHandle handle = executeDirect(statement);
    // A failure in a later part of the batch must not pass for success.
    for (;;) {
        const SQLRETURN rc = SQLMoreResults(handle.get());
        if (rc == SQL_NO_DATA)
            return;
        if (!SQL_SUCCEEDED(rc))
            failOnStatement(handle);
    }
}

void OdbcBackend::failOnStatement(StatementHandle& statement)
{
    const std::vector<Diagnostic> records = collectDiagnostics(SQL_HANDLE_STMT, statement.get());
    fail(databaseErrorFrom(records), statement, reportsLostLink(records));
}

void OdbcBackend::fail(const DatabaseError& error, StatementHandle& statement, bool reportedLost)
{
    // The statement goes first: ending the session frees it implicitly.
    statement.reset();
    if (session_ && linkIsGone(reportedLost || reportsLostLink({{error.state(), error.nativeCode(), {}}})))
        session_.end();
    throw error;
}

bool OdbcBackend::linkIsGone(bool reportedLost) const
{
    // A session whose link is gone must end here, so that the very next
    // routine connects afresh instead of failing a second time. Drivers do
    // not agree on how they say so (see reportsLostLink), and after a cancel
    // the server never acknowledged only the connection's dead flag tells.
    if (reportedLost)
        return true;
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(
               SQLGetConnectAttrW(session_.get(), SQL_ATTR_CONNECTION_DEAD, &dead, SQL_IS_UINTEGER, nullptr))
           && dead == SQL_CD_TRUE;
}

} // namespace kvet
