// Recognising the common login failures from what the drivers report.
#include "check/check_hints.h"

#include <gtest/gtest.h>

using namespace kvet::check;

namespace {

struct FailureCase {
    const char* message;
    const char* state;
    long nativeCode;
    LoginProblem problem;
};

class LoginFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(LoginFailure, IsRecognised)
{
    const FailureCase& c = GetParam();
    EXPECT_EQ(classifyLoginFailure(QString::fromUtf8(c.message), QString::fromLatin1(c.state), c.nativeCode),
              c.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, LoginFailure,
    ::testing::Values(
        // FreeTDS against a closed port or an unknown host.
        FailureCase{"Unable to connect: Adaptive Server is unavailable or does not exist", "08001", 0,
                    LoginProblem::ServerUnreachable},
        // Microsoft ODBC Driver 18.
        FailureCase{"TCP Provider: No connection could be made because the target machine actively refused it",
                    "08001", 10061, LoginProblem::ServerUnreachable},
        FailureCase{"Login timeout expired", "HYT00", 0, LoginProblem::ServerUnreachable},
        // Windows' own "SQL Server" driver.
        FailureCase{"[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied", "08001", 17,
                    LoginProblem::ServerUnreachable},
        FailureCase{"[DBNETLIB][ConnectionOpen (SECDoClientHandshake()).]SSL Security error", "08001", 18,
                    LoginProblem::Encryption},
        FailureCase{"SSL Provider: The certificate chain was issued by an authority that is not trusted", "08001",
                    -2146893019, LoginProblem::Encryption},
        FailureCase{"Login failed for user 'kv'", "28000", 18456, LoginProblem::LoginRefused},
        FailureCase{"Login failed. The login is from an untrusted domain and cannot be used with Windows authentication",
                    "28000", 18452, LoginProblem::WindowsAuthOnly},
        FailureCase{"Login failed for user 'kv'. Reason: The account is currently locked out", "28000", 18486,
                    LoginProblem::LoginLocked},
        FailureCase{"Login failed for user 'kv'. Reason: The password of the account has expired", "28000", 18487,
                    LoginProblem::PasswordExpired},
        FailureCase{"Cannot open database \"billing\" requested by the login. The login failed", "42000", 4060,
                    LoginProblem::DatabaseUnavailable},
        FailureCase{"No ODBC driver for SQL Server is installed", "IM002", 0, LoginProblem::NoDriver},
        FailureCase{"Can't open lib 'ODBC Driver 18 for SQL Server' : file not found", "01000", 0,
                    LoginProblem::NoDriver},
        FailureCase{"Something else entirely", "HY000", 0, LoginProblem::Unknown}));

TEST(LoginHints, EveryProblemHasAHintAndTheyQuoteTheSettings)
{
    for (LoginProblem p : {LoginProblem::Unknown, LoginProblem::NoDriver, LoginProblem::ServerUnreachable,
                           LoginProblem::LoginRefused, LoginProblem::WindowsAuthOnly, LoginProblem::LoginLocked,
                           LoginProblem::PasswordExpired, LoginProblem::DatabaseUnavailable, LoginProblem::Encryption})
        EXPECT_FALSE(loginHints(p, "db1", "kv", "billing").isEmpty());
    EXPECT_TRUE(loginHints(LoginProblem::ServerUnreachable, "db1\\SQLEXPRESS", "kv", "billing")
                    .join("\n")
                    .contains(QStringLiteral("“db1\\SQLEXPRESS”")));
    EXPECT_TRUE(loginHints(LoginProblem::DatabaseUnavailable, "db1", "kv", "billing").join("\n").contains("“billing”"));
}

} // namespace
