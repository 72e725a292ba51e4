// The pointer over the dashboard: hidden after five seconds without
// movement, back at the next movement. The arithmetic on a fake clock; the
// window's cursor with synthetic mouse events on an offscreen window.
#include "kiosk/pointer_hider.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

TEST(PointerIdle, HidesAfterTheIdleTimeSinceTheLastMovementAndNotBefore)
{
    PointerIdle idle(1000); // the window appears at 1000 ms
    EXPECT_EQ(idle.remaining(1000), kPointerIdleMs);
    EXPECT_FALSE(idle.due(5999));
    EXPECT_FALSE(idle.moved(3000, {10, 10}));
    EXPECT_FALSE(idle.due(7999)); // five seconds count from the movement
    EXPECT_EQ(idle.remaining(7999), 1);
    EXPECT_TRUE(idle.due(8000));
    EXPECT_TRUE(idle.hidden());
    EXPECT_FALSE(idle.due(9000)); // hides once
    EXPECT_EQ(idle.remaining(9000), 0);
}

TEST(PointerIdle, OnlyAMovementToAnotherPlaceBringsThePointerBack)
{
    PointerIdle idle(0);
    idle.moved(100, {5, 5});
    ASSERT_TRUE(idle.due(5100));
    // The window system repeats the resting pointer's place; that is no movement.
    EXPECT_FALSE(idle.moved(6000, {5, 5}));
    EXPECT_TRUE(idle.hidden());
    EXPECT_TRUE(idle.moved(6100, {6, 5}));
    EXPECT_FALSE(idle.hidden());
    EXPECT_FALSE(idle.due(11099));
    EXPECT_TRUE(idle.due(11100));
}

struct HiderOnWindow : ::testing::Test {
    qint64 now = 0;
    QWidget window;

    void moveTo(QPoint at)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &e);
    }
};

TEST_F(HiderOnWindow, BlanksTheWindowsCursorWhenDueAndRestoresItsOwnOnMovement)
{
    window.setCursor(Qt::PointingHandCursor);
    PointerHider hider(window, kPointerIdleMs, [this] { return now; });
    now = 4999;
    hider.checkIdle();
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
    now = 5000;
    hider.checkIdle();
    EXPECT_TRUE(hider.pointerHidden());
    EXPECT_EQ(window.cursor().shape(), Qt::BlankCursor);

    now = 6000;
    moveTo({40, 30});
    EXPECT_FALSE(hider.pointerHidden());
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(HiderOnWindow, AWindowWithoutACursorOfItsOwnGetsTheArrowBackWhenTheHiderGoes)
{
    {
        PointerHider hider(window, kPointerIdleMs, [this] { return now; });
        now = 5000;
        hider.checkIdle();
        ASSERT_EQ(window.cursor().shape(), Qt::BlankCursor);
    }
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(HiderOnWindow, ItsTimerIsArmedFromTheStart)
{
    PointerHider hider(window, 20);
    const QDeadlineTimer deadline(5000);
    while (!hider.pointerHidden() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(hider.pointerHidden());
}

} // namespace
