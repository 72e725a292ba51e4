#include "data/odbc/odbc_diagnostics.h"

#include "data/odbc/odbc_text.h"

namespace kvet::odbc {
namespace {

// The driver manager never keeps more than a few records for one call; the
// cap only guards against a driver that keeps answering.
constexpr SQLSMALLINT kMaxRecords = 64;

} // namespace

std::vector<Diagnostic> collectDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::vector<Diagnostic> records;
    if (handle == SQL_NULL_HANDLE)
        return records;
    for (SQLSMALLINT record = 1; record <= kMaxRecords; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> text(1024, 0);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, text.data(),
                                      SQLSMALLINT(text.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
            text.assign(std::size_t(length) + 1, 0);
            rc = SQLGetDiagRecW(handleType, handle, record, state, &native, text.data(),
                                SQLSMALLINT(text.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        Diagnostic d;
        d.state = fromSqlWideTerminated(state, 5);
        d.nativeCode = long(native);
        d.text = fromSqlWideTerminated(text.data(),
                                       qMin<qsizetype>(qMax<SQLSMALLINT>(length, 0), text.size()));
        records.push_back(std::move(d));
    }
    return records;
}

QString cleanDriverText(const QString& text)
{
    qsizetype from = 0;
    while (from < text.size() && text[from] == u'[') {
        const qsizetype close = text.indexOf(u']', from + 1);
        if (close < 0)
            break;
        const QStringView tag = QStringView(text).mid(from + 1, close - from - 1);
        if (tag.contains(u'\n') || tag.contains(u'['))
            break;
        from = close + 1;
        if (tag.compare(u"SQL Server", Qt::CaseInsensitive) == 0)
            break;
    }
    while (from < text.size() && (text[from] == u' ' || text[from] == u'\t'))
        ++from;
    qsizetype to = text.size();
    while (to > from) {
        const QChar c = text[to - 1];
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'.')
            break;
        --to;
    }
    return text.mid(from, to - from);
}

const Diagnostic* leadingDiagnostic(const std::vector<Diagnostic>& records)
{
    for (const Diagnostic& d : records) {
        if (d.nativeCode == 4060)
            return &d;
    }
    for (const Diagnostic& d : records) {
        if (!d.state.startsWith(QStringLiteral("01")))
            return &d;
    }
    return records.empty() ? nullptr : &records.front();
}

bool reportsLostLink(const std::vector<Diagnostic>& records)
{
    for (const Diagnostic& d : records) {
        if (d.state.startsWith(QStringLiteral("08")) || d.nativeCode == 20004 || d.nativeCode == 20006
            || d.nativeCode == 20017)
            return true;
    }
    return false;
}

QString oleErrorText(long nativeCode)
{
    return QStringLiteral("OLE error %1").arg(quint32(nativeCode), 8, 16, QChar(u'0'));
}

DatabaseError databaseErrorFrom(const std::vector<Diagnostic>& records, long fallbackCode)
{
    const Diagnostic* d = leadingDiagnostic(records);
    if (!d)
        return DatabaseError(oleErrorText(fallbackCode), QString(), fallbackCode);
    QString message = cleanDriverText(d->text);
    if (message.isEmpty())
        message = oleErrorText(d->nativeCode);
    return DatabaseError(message, d->state, d->nativeCode);
}

void throwDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    throw databaseErrorFrom(collectDiagnostics(handleType, handle));
}

} // namespace kvet::odbc
