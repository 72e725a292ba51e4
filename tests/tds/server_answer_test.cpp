// The probe's retries ask the server, without blocking, whether it answers:
// the stand-in does, a port that takes connections and stays silent does not,
// and neither does a closed port.
#include "app/server_answer_check.h"
#include "tds/dashboard_window.h"
#include "screen/panel.h"
#include "tds/stand_in_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

namespace kvet::testing {
namespace {

// Asks and runs the event loop until the answer comes (or 10 s pass).
std::optional<bool> answerOf(const TdsEndpoint& endpoint, int timeoutMs, qint64* tookMs = nullptr)
{
    ServerAnswerCheck check;
    std::optional<bool> answer;
    QElapsedTimer clock;
    clock.start();
    check.ask(endpoint, timeoutMs, [&](bool yes) { answer = yes; });
    while (!answer && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (tookMs)
        *tookMs = clock.elapsed();
    return answer;
}

class ServerAnswer : public StandInTest {};

TEST_F(ServerAnswer, TheStandInAnswersASilentOrClosedPortDoesNot)
{
    EXPECT_EQ(answerOf({QStringLiteral("127.0.0.1"), quint16(server->port())}, 5000), true);

    QTcpServer silent; // takes the connection, reads nothing, says nothing
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    qint64 took = 0;
    EXPECT_EQ(answerOf({QStringLiteral("127.0.0.1"), silent.serverPort()}, 600, &took), false);
    EXPECT_LT(took, 5000);

    const int port = server->port();
    server->stop();
    EXPECT_EQ(answerOf({QStringLiteral("127.0.0.1"), quint16(port)}, 5000), false);
}

TEST_F(ServerAnswer, DownAtStartTheRetryAsksAndFillsTheBannerOnceTheServerAnswers)
{
    const int port = server->port();
    server->stop();
    auto wire = odbcDashboard(programString(port), true);
    wire->scheduler().Timer4Timer();
    EXPECT_FALSE(wire->scheduler().timer2().isActive());

    // Still down: the retry's question fails and the probe does not run.
    wire->scheduler().Timer4Timer();
    QElapsedTimer clock;
    clock.start();
    while (!wire->scheduler().timer4().isActive() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(wire->scheduler().timer4().isActive());
    EXPECT_FALSE(wire->scheduler().timer2().isActive());

    ASSERT_TRUE(server->start(port));
    wire->scheduler().Timer4Timer();
    clock.restart();
    while (!wire->scheduler().timer2().isActive() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(wire->scheduler().timer2().isActive());
    EXPECT_TRUE(wire->form->banner().caption().endsWith(QStringLiteral("营业收费指标")));
    wire->scheduler().Timer2Timer();
    EXPECT_EQ(filledCharts(*wire->form), 6);
}

} // namespace
} // namespace kvet::testing
