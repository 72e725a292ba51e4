#include "data/connection_string.h"

#include "data/failure.h"

using namespace Qt::Literals::StringLiterals;

namespace kvet {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

[[noreturn]] void failMalformed()
{
    throw Failure(QString::fromLatin1(kMalformedConnectionStringMessage));
}

QString trimmedBlanks(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s[from]))
        ++from;
    while (to > from && isBlank(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

} // namespace

QString quoteConnectionStringValue(const QString& value)
{
    // A leading '=' would join the key: "Password==x" reads as the key "Password=x".
    const bool mustQuote = !value.isEmpty()
        && (value.contains(u';') || value.front() == u'"' || value.front() == u'\''
            || value.front() == u'=' || isBlank(value.front()) || isBlank(value.back()));
    if (!mustQuote)
        return value;
    QString quoted = value;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString buildConnectionString(const QString& password, const QString& user,
                              const QString& database, const QString& server)
{
    const QString quotedServer = quoteConnectionStringValue(server);
    return u"Provider=SQLOLEDB.1;Password="_s + quoteConnectionStringValue(password)
        + u";Persist Security Info=True;User ID="_s + quoteConnectionStringValue(user)
        + u";Initial Catalog="_s + quoteConnectionStringValue(database)
        + u";Data Source="_s + quotedServer
        + u";Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;Workstation ID="_s
        + quotedServer
        + u";Use Encryption for Data=False;Tag with column collation when possible=False"_s;
}

ConnectionStringPairs parseConnectionString(const QString& text)
{
    ConnectionStringPairs pairs;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // Key: up to the first single '='; "==" is a literal '='.
        QString key;
        bool sawEquals = false;
        while (i < n) {
            const QChar c = text[i];
            if (c == u'=') {
                if (i + 1 < n && text[i + 1] == u'=') {
                    key.append(u'=');
                    i += 2;
                    continue;
                }
                sawEquals = true;
                ++i;
                break;
            }
            if (c == u';')
                break;
            key.append(c);
            ++i;
        }
        if (!sawEquals) {
            if (!trimmedBlanks(key).isEmpty())
                failMalformed();
            ++i; // an empty piece between two semicolons, or the trailing one
            continue;
        }
        key = trimmedBlanks(key);
        if (key.isEmpty())
            failMalformed();

        while (i < n && isBlank(text[i]))
            ++i;
        QString value;
        if (i < n && (text[i] == u'"' || text[i] == u'\'')) {
            const QChar quote = text[i++];
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value.append(quote);
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value.append(text[i++]);
            }
            if (!closed)
                failMalformed();
            while (i < n && isBlank(text[i]))
                ++i;
            if (i < n && text[i] != u';')
                failMalformed();
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != u';')
                ++i;
            value = trimmedBlanks(text.mid(start, i - start));
        }
        ++i; // the ';' after the value
        pairs.emplace_back(std::move(key), std::move(value));
    }
    return pairs;
}

QString connectionStringValue(const ConnectionStringPairs& pairs, const QString& key)
{
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) {
        if (it->first.compare(key, Qt::CaseInsensitive) == 0)
            return it->second;
    }
    return {};
}

bool hasConnectionStringKey(const ConnectionStringPairs& pairs, const QString& key)
{
    for (const auto& [name, value] : pairs) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace kvet
