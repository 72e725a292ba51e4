// The backend against the FreeTDS driver, with no SQL Server anywhere: only
// loopback ports on which nothing answers.
#include "data/connection_string.h"
#include "data/odbc/odbc_backend.h"
#include "odbc_test_drivers.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

#ifndef Q_OS_WIN

class OdbcFreeTds : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (test::odbcTestDrivers().freeTds.isEmpty())
            GTEST_SKIP() << "FreeTDS ODBC driver (tdsodbc) not installed";
    }

    // The program's own connection string, pointed at a loopback port.
    static QString programString(int port, const QString& password = QStringLiteral("secret"))
    {
        return buildConnectionString(password, QStringLiteral("sa"), QStringLiteral("sfdb"),
                                     QStringLiteral("127.0.0.1,%1").arg(port));
    }

    // Connects and returns the failure, with the time it took in `elapsedMs`.
    static DatabaseError connectFailure(OdbcBackend& backend, const QString& text, qint64& elapsedMs)
    {
        QElapsedTimer timer;
        timer.start();
        try {
            backend.connect(text);
        } catch (const DatabaseError& e) {
            elapsedMs = timer.elapsed();
            return e;
        }
        ADD_FAILURE() << "connecting to a dead port succeeded";
        return DatabaseError(QString());
    }
};

TEST_F(OdbcFreeTds, RefusedPortGivesTheCleanMessageAtOnce)
{
    // No "Driver" key: FreeTDS is chosen from the installed drivers.
    OdbcBackend backend;
    EXPECT_TRUE(backend.installedDrivers().contains(QStringLiteral("FreeTDS")));
    qint64 ms = 0;
    const DatabaseError e = connectFailure(backend, programString(test::closedLoopbackPort()), ms);
    EXPECT_EQ(e.message(), QStringLiteral("Unable to connect: Adaptive Server is unavailable or does not exist"));
    EXPECT_TRUE(e.state().startsWith(QStringLiteral("08"))) << e.state().toStdString();
    EXPECT_LT(ms, 5000);
    EXPECT_FALSE(backend.isConnected());
}

TEST_F(OdbcFreeTds, PasswordWithSeparatorsAndBracesStillParsesOrIsRefusedByName)
{
    // Were the password not brace-quoted, the driver manager or FreeTDS would
    // reject the string (or read part of it as other keys) before trying to connect.
    OdbcBackend backend;
    qint64 ms = 0;
    DatabaseError e = connectFailure(
        backend, programString(test::closedLoopbackPort(), QStringLiteral(" p;w{d=x ")), ms);
    EXPECT_EQ(e.message(), QStringLiteral("Unable to connect: Adaptive Server is unavailable or does not exist"));
    // With a '}' as well no form reads alike for FreeTDS and the driver
    // manager: the value is refused before anything is sent.
    e = connectFailure(backend, programString(test::closedLoopbackPort(), QStringLiteral(" p;w}d{=x ")), ms);
    EXPECT_EQ(e.state(), QStringLiteral("IM012"));
    EXPECT_TRUE(e.message().contains(QStringLiteral("Password"))) << e.message().toStdString();
}

TEST_F(OdbcFreeTds, DriverNamedInTheStringIsUsed)
{
    OdbcBackend backend;
    qint64 ms = 0;
    const QString text = programString(test::closedLoopbackPort());
    EXPECT_EQ(connectFailure(backend, text + QStringLiteral(";Driver=FreeTDS"), ms).message(),
              QStringLiteral("Unable to connect: Adaptive Server is unavailable or does not exist"));
    EXPECT_TRUE(connectFailure(backend, text + QStringLiteral(";Driver=kvet no such driver"), ms)
                    .message()
                    .contains(QStringLiteral("kvet no such driver")));
}

TEST_F(OdbcFreeTds, ServerThatNeverAnswersTimesOutAtTheLoginTimeOut)
{
    test::SilentLoopbackServer server;
    ASSERT_TRUE(server.listen());
    OdbcBackend backend(OdbcBackend::Timeouts{2, 30});
    qint64 ms = 0;
    const DatabaseError e = connectFailure(backend, programString(server.port()), ms);
    EXPECT_EQ(e.message(), QStringLiteral("Timeout expired"));
    EXPECT_GE(ms, 1500);
    EXPECT_LT(ms, 8000);
    EXPECT_FALSE(backend.isConnected());
}

#endif

} // namespace
