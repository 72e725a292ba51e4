#include "data/odbc/odbc_result_reader.h"

#include "data/odbc/odbc_diagnostics.h"
#include "data/odbc/odbc_text.h"

#include <optional>

namespace kvet::odbc {
namespace {

// SQL Server's own type codes (msodbcsql's sqlncli.h), absent from sqlext.h.
constexpr SQLSMALLINT kSqlServerTime2 = -154;
constexpr SQLSMALLINT kSqlServerTimestampOffset = -155;

// Day zero, the date a time-of-day value carries.
constexpr int kDayZeroYear = 1899, kDayZeroMonth = 12, kDayZeroDay = 30;

// How one column is read.
enum class Reader { Wide, Integer, Double, DecimalText, Timestamp, TimeOfDay };

struct ColumnReader {
    Column column;
    Reader reader;
};

[[noreturn]] void fail(SQLHSTMT statement)
{
    throwDiagnostics(SQL_HANDLE_STMT, statement);
}

Reader readerFor(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case kSqlServerTime2:
        return Reader::TimeOfDay;
    default:
        break;
    }
    switch (columnKindOf(sqlType)) {
    case ColumnKind::Integer:
        return Reader::Integer;
    case ColumnKind::Float:
        return Reader::Double;
    case ColumnKind::Decimal:
        return Reader::DecimalText;
    case ColumnKind::DateTime:
        return Reader::Timestamp;
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return Reader::Wide;
}

std::vector<ColumnReader> describeColumns(SQLHSTMT statement)
{
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(statement, &count)))
        fail(statement);
    std::vector<ColumnReader> columns;
    columns.reserve(std::size_t(qMax<SQLSMALLINT>(count, 0)));
    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(qMax<SQLSMALLINT>(count, 0)); ++i) {
        std::vector<SQLWCHAR> name(256, 0);
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        SQLRETURN rc = SQLDescribeColW(statement, i, name.data(), SQLSMALLINT(name.size()),
                                       &nameLength, &sqlType, &size, &digits, &nullable);
        if (rc == SQL_SUCCESS_WITH_INFO && nameLength >= SQLSMALLINT(name.size())) {
            name.assign(std::size_t(nameLength) + 1, 0);
            rc = SQLDescribeColW(statement, i, name.data(), SQLSMALLINT(name.size()), &nameLength,
                                 &sqlType, &size, &digits, &nullable);
        }
        if (!SQL_SUCCEEDED(rc))
            fail(statement);
        ColumnReader c;
        c.column.name = fromSqlWideTerminated(name.data(), qsizetype(name.size()));
        c.column.kind = columnKindOf(sqlType);
        c.reader = readerFor(sqlType);
        columns.push_back(std::move(c));
    }
    return columns;
}

// Long text arrives in pieces; each piece but the last fills the buffer less
// its terminator of `terminatorBytes`. Lengths are trusted only up to the
// terminator, since a driver manager converting for a narrow driver may report
// them in bytes of the narrow form. `take` receives each piece's length in
// bytes; false for NULL.
template <typename Take>
bool readPieces(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, void* buffer, SQLLEN bufferBytes,
                SQLLEN terminatorBytes, Take take)
{
    const SQLLEN room = bufferBytes - terminatorBytes;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement, column, cType, buffer, bufferBytes, &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        if (!SQL_SUCCEEDED(rc))
            fail(statement);
        if (indicator == SQL_NULL_DATA)
            return false;
        const bool more = rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator >= room);
        take(qsizetype(more ? room : qMin(qMax<SQLLEN>(indicator, 0), room)));
        if (!more)
            return true;
    }
}

std::optional<QString> readWide(SQLHSTMT statement, SQLUSMALLINT column)
{
    constexpr SQLLEN kUnits = 4096;
    constexpr SQLLEN kUnitBytes = SQLLEN(sizeof(SQLWCHAR));
    std::vector<SQLWCHAR> buffer(kUnits, 0);
    QString text;
    const bool present = readPieces(statement, column, SQL_C_WCHAR, buffer.data(), kUnits * kUnitBytes, kUnitBytes,
                                    [&](qsizetype bytes) {
                                        text += fromSqlWideTerminated(buffer.data(), bytes / kUnitBytes);
                                    });
    if (!present)
        return std::nullopt;
    return text;
}

std::optional<QByteArray> readNarrow(SQLHSTMT statement, SQLUSMALLINT column)
{
    constexpr SQLLEN kBytes = 128;
    char buffer[kBytes] = {};
    QByteArray text;
    const bool present = readPieces(statement, column, SQL_C_CHAR, buffer, kBytes, 1, [&](qsizetype bytes) {
        text += QByteArray(buffer, qstrnlen(buffer, size_t(bytes)));
    });
    if (!present)
        return std::nullopt;
    return text;
}

template <typename T>
std::optional<T> readFixed(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType)
{
    T value{};
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement, column, cType, &value, SQLLEN(sizeof(T)), &indicator);
    if (!SQL_SUCCEEDED(rc))
        fail(statement);
    if (indicator == SQL_NULL_DATA)
        return std::nullopt;
    return value;
}

// A value the database could not have stored as a date (only loose engines
// allow one) reads as NULL rather than as a made-up date.
Value dateTimeValue(const QDate& date, const QTime& time)
{
    if (!date.isValid() || !time.isValid())
        return Null{};
    return QDateTime(date, time);
}

Value readValue(SQLHSTMT statement, SQLUSMALLINT column, const ColumnReader& c)
{
    switch (c.reader) {
    case Reader::Integer:
        if (auto v = readFixed<SQLBIGINT>(statement, column, SQL_C_SBIGINT))
            return std::int64_t(*v);
        return Null{};
    case Reader::Double:
        if (auto v = readFixed<SQLDOUBLE>(statement, column, SQL_C_DOUBLE))
            return double(*v);
        return Null{};
    case Reader::DecimalText:
        if (auto v = readNarrow(statement, column)) {
            const QString plain = plainDecimalText(*v);
            if (plain.isEmpty())
                return QString::fromUtf8(*v);
            return Decimal{plain};
        }
        return Null{};
    case Reader::Timestamp:
        if (auto v = readFixed<SQL_TIMESTAMP_STRUCT>(statement, column, SQL_C_TYPE_TIMESTAMP)) {
            return dateTimeValue(QDate(v->year, v->month, v->day),
                                 QTime(v->hour, v->minute, v->second, int(v->fraction / 1'000'000)));
        }
        return Null{};
    case Reader::TimeOfDay:
        if (auto v = readFixed<SQL_TIME_STRUCT>(statement, column, SQL_C_TYPE_TIME)) {
            return dateTimeValue(QDate(kDayZeroYear, kDayZeroMonth, kDayZeroDay),
                                 QTime(v->hour, v->minute, v->second));
        }
        return Null{};
    case Reader::Wide:
        break;
    }
    if (auto v = readWide(statement, column))
        return *std::move(v);
    return Null{};
}

} // namespace

ColumnKind columnKindOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_GUID:
        return ColumnKind::Text;
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
        return ColumnKind::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return ColumnKind::Float;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return ColumnKind::Decimal;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIME:
    case SQL_TIMESTAMP:
    case kSqlServerTime2:
    case kSqlServerTimestampOffset:
        return ColumnKind::DateTime;
    default:
        return ColumnKind::Other;
    }
}

QString plainDecimalText(const QByteArray& raw)
{
    const QByteArray text = raw.trimmed();
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    QByteArray digits;
    qsizetype integerDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        digits += text[i++];
        ++integerDigits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            digits += text[i++];
    }
    if (digits.isEmpty())
        return {};
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '-' || text[i] == '+'))
            exponentNegative = text[i++] == '-';
        if (i == n)
            return {};
        int exponent = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            exponent = exponent * 10 + (text[i++] - '0');
            if (exponent > 400) // beyond any double; no exact text worth building
                return {};
        }
        integerDigits += exponentNegative ? -exponent : exponent;
    }
    if (i != n)
        return {};

    QByteArray integerPart;
    QByteArray fractionPart;
    if (integerDigits <= 0) {
        fractionPart = QByteArray(-integerDigits, '0') + digits;
    } else if (integerDigits >= digits.size()) {
        integerPart = digits + QByteArray(integerDigits - digits.size(), '0');
    } else {
        integerPart = digits.left(integerDigits);
        fractionPart = digits.mid(integerDigits);
    }
    qsizetype zeros = 0;
    while (zeros < integerPart.size() - 1 && integerPart[zeros] == '0')
        ++zeros;
    integerPart = integerPart.mid(zeros);
    if (integerPart.isEmpty())
        integerPart = "0";
    const bool isZero = digits.count('0') == digits.size();
    QByteArray out = (negative && !isZero) ? QByteArray("-") : QByteArray();
    out += integerPart;
    if (!fractionPart.isEmpty())
        out += '.' + fractionPart;
    return QString::fromLatin1(out);
}

namespace {

// Fetches the rows of a described result into chunk (which holds the
// columns), handing it on whenever it holds chunkRows rows, and the rest at
// the end.
void fetchRows(SQLHSTMT statement, const std::vector<ColumnReader>& columns, ResultSet& chunk,
               std::size_t chunkRows, const std::function<void(ResultSet&)>& piece)
{
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            fail(statement);
        std::vector<Value> row;
        row.reserve(columns.size());
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.push_back(readValue(statement, SQLUSMALLINT(i + 1), columns[i]));
        chunk.rows.push_back(std::move(row));
        if (piece && chunk.rows.size() >= chunkRows) {
            piece(chunk);
            chunk.rows.clear();
        }
    }
    if (piece && !chunk.rows.empty())
        piece(chunk);
}

ResultSet describedResult(const std::vector<ColumnReader>& columns)
{
    ResultSet result;
    result.columns.reserve(columns.size());
    for (const ColumnReader& c : columns)
        result.columns.push_back(c.column);
    return result;
}

} // namespace

void fetchResultInPieces(SQLHSTMT statement, std::size_t chunkRows,
                         const std::function<void(ResultSet&)>& piece)
{
    const std::vector<ColumnReader> columns = describeColumns(statement);
    if (columns.empty())
        return;
    ResultSet chunk = describedResult(columns);
    fetchRows(statement, columns, chunk, chunkRows == 0 ? 1 : chunkRows, piece);
}

ResultSet fetchResult(SQLHSTMT statement)
{
    const std::vector<ColumnReader> columns = describeColumns(statement);
    ResultSet result = describedResult(columns);
    if (!columns.empty())
        fetchRows(statement, columns, result, 0, {});
    return result;
}

} // namespace kvet::odbc
