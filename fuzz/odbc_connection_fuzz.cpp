// The mapping from the program's connection string to an ODBC driver's. For
// any settings values and any driver family, the ODBC string splits (by the
// ODBC grammar: key=value or key={value} with "}}" for "}") into distinct
// keys that the mapping writes and nothing else: a value can never add a key
// such as DRIVER or Trusted_Connection. Login, password and database arrive
// exactly as given; the driver name too.
#include "data/connection_string.h"
#include "data/failure.h"
#include "data/odbc/odbc_connection_string.h"
#include "fuzz_support.h"

#include <QSet>

using namespace kvet;

namespace {

struct OdbcPair {
    QString key, value;
};

// Returns false when the text does not follow the grammar.
bool splitOdbc(const QString& text, std::vector<OdbcPair>& out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0)
            return false;
        OdbcPair p{text.mid(i, eq - i), {}};
        i = eq + 1;
        if (i < n && text[i] == u'{') {
            ++i;
            for (;;) {
                if (i >= n)
                    return false;
                if (text[i] == u'}') {
                    if (i + 1 < n && text[i + 1] == u'}') {
                        p.value.append(u'}');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                p.value.append(text[i++]);
            }
            if (i < n && text[i] != u';')
                return false;
        } else {
            const qsizetype semi = text.indexOf(u';', i);
            const qsizetype end = semi < 0 ? n : semi;
            p.value = text.mid(i, end - i);
            i = end;
        }
        if (i < n)
            ++i; // ';'
        out.push_back(p);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QStringList v = fuzz::pieces(data + 1, size - 1, 5);
    const QStringList drivers = {"ODBC Driver 18 for SQL Server", "FreeTDS", "SQL Server",
                                 "SQL Server Native Client 11.0", v[4]};
    const QString driver = drivers[data[0] % drivers.size()];
    const QString program = buildConnectionString(v[0], v[1], v[2], v[3]);
    ConnectionStringPairs pairs;
    try {
        pairs = parseConnectionString(program);
        (void)odbc::parseDataSource(v[3]);
        (void)odbc::explicitDriver(pairs);
        (void)odbc::isOdbcPassthrough(program);
    } catch (...) {
        fuzz::fail("the program's own string reads", program);
    }
    QString odbcText;
    try {
        odbcText = odbc::odbcConnectionString(pairs, driver);
    } catch (const DatabaseError& e) {
        // FreeTDS cannot be handed every value exactly; those it is refused,
        // with the driver's own state for a bad connection string.
        fuzz::check(e.state() == QLatin1String("IM012") && odbc::driverFamily(driver) == odbc::DriverFamily::FreeTds,
                    "only FreeTDS refuses a value", e.message());
        return 0;
    }

    std::vector<OdbcPair> split;
    fuzz::check(splitOdbc(odbcText, split), "the ODBC string follows the grammar", odbcText);
    const QSet<QString> allowed = {"DRIVER", "SERVER", "PORT", "DATABASE", "UID", "PWD", "WSID",
                                   "TDS_Version", "ClientCharset", "Timeout", "Encrypt",
                                   "TrustServerCertificate", "AutoTranslate"};
    QSet<QString> seen;
    QString uid, pwd, database, driverSeen;
    for (const OdbcPair& p : split) {
        fuzz::check(allowed.contains(p.key), "only the mapping's own keys", odbcText);
        fuzz::check(!seen.contains(p.key.toUpper()), "each key once", odbcText);
        seen.insert(p.key.toUpper());
        if (p.key == QLatin1String("UID")) uid = p.value;
        if (p.key == QLatin1String("PWD")) pwd = p.value;
        if (p.key == QLatin1String("DATABASE")) database = p.value;
        if (p.key == QLatin1String("DRIVER")) driverSeen = p.value;
    }
    fuzz::check(split.front().key == QLatin1String("DRIVER") && driverSeen == driver, "the driver first, as named",
                odbcText);
    fuzz::check(pwd == v[0], "password as given", odbcText);
    fuzz::check(uid == v[1], "login as given", odbcText);
    fuzz::check(database == v[2], "database as given", odbcText);
    return 0;
}
