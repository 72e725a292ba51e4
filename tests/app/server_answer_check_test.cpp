#include "app/server_answer_check.h"

#include "data/connection_string.h"

#include <gtest/gtest.h>

namespace kvet {
namespace {

std::optional<TdsEndpoint> endpointOf(const QString& dataSource)
{
    return tdsEndpoint(buildConnectionString(QStringLiteral("pw"), QStringLiteral("sa"), QStringLiteral("sfdb"),
                                             dataSource));
}

// Only where the driver itself would go straight to a TCP port can the
// retry ask there first; everything else is left to the probe.
TEST(TdsEndpoint, IsTheHostAndPortTheDriverConnectsTo)
{
    EXPECT_EQ(endpointOf(QStringLiteral("srv01")), (TdsEndpoint{QStringLiteral("srv01"), 1433}));
    EXPECT_EQ(endpointOf(QStringLiteral("10.1.2.3,1444")), (TdsEndpoint{QStringLiteral("10.1.2.3"), 1444}));
    EXPECT_EQ(endpointOf(QStringLiteral("tcp:srv01\\SQL2008,1500")), (TdsEndpoint{QStringLiteral("srv01"), 1500}));
    EXPECT_EQ(endpointOf(QStringLiteral("(local)")), (TdsEndpoint{QStringLiteral("127.0.0.1"), 1433}));
    EXPECT_EQ(endpointOf(QStringLiteral("srv01\\SQL2008")), std::nullopt); // port from the browser service
    EXPECT_EQ(endpointOf(QStringLiteral("srv01,70000")), std::nullopt);
    EXPECT_EQ(endpointOf(QStringLiteral("np:\\\\srv01\\pipe\\sql\\query")), std::nullopt);
    EXPECT_EQ(endpointOf(QString()), std::nullopt);
    EXPECT_EQ(tdsEndpoint(QStringLiteral("ODBC;DRIVER={FreeTDS};SERVER=srv01")), std::nullopt);
    EXPECT_EQ(tdsEndpoint(QStringLiteral("Data Source=\"srv01")), std::nullopt);
}

TEST(PreLoginRequest, IsOneWholePacketWhoseLengthItSays)
{
    const QByteArray p = preLoginRequest();
    ASSERT_GE(p.size(), 8);
    EXPECT_EQ(p[0], '\x12');
    EXPECT_EQ(p[1], '\x01');
    EXPECT_EQ((std::uint8_t(p[2]) << 8) | std::uint8_t(p[3]), p.size());
}

} // namespace
} // namespace kvet
