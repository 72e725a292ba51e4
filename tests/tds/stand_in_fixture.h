#pragma once
// A stand-in SQL Server holding a copy of the demo sample, and the program's
// connection string pointed at it, for the tests of the FreeTDS path.
#include "data/connection_string.h"
#include "data/failure.h"
#include "data/sqlite/sqlite_backend.h"
#include "tds_standin/tds_standin.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace kvet::testing {

// The moment the sample is made for and the server's clock stands at.
QDateTime standInMoment();

// A fresh in-memory copy of the sample with its four views (views: false
// leaves them out), its getdate() pinned at standInMoment().
std::unique_ptr<SqliteBackend> sampleCopy(bool withViews = true);

// The program's own connection string for server 127.0.0.1,port.
QString programString(int port, const QString& user = QStringLiteral("sa"),
                      const QString& password = QStringLiteral("secret"),
                      const QString& database = QStringLiteral("sfdb"));

// The DatabaseError the call fails with (a test failure when it succeeds),
// and when elapsedMs is given, how long the call took to fail.
DatabaseError failureOf(const std::function<void()>& call, qint64* elapsedMs = nullptr);

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override;
    QString connectionString() const { return programString(server->port()); }
    std::unique_ptr<tds::TdsStandIn> server;
};

} // namespace kvet::testing
