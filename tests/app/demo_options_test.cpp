// kvet-demo's --at: a local moment in one fixed form, and only where a
// database is shown.
#include "app/demo_options.h"

#include <gtest/gtest.h>

using namespace kvet;

TEST(DemoOptions, AtTakesOneLocalMomentAndOnlyForTheDatabaseShown)
{
    QString error;
    const auto pinned = parseDemoOptions({"--database", "hall.db", "--at", "2026-06-15 10:30:00"}, error);
    ASSERT_TRUE(pinned) << qPrintable(error);
    ASSERT_TRUE(pinned->at);
    EXPECT_EQ(*pinned->at, QDateTime(QDate(2026, 6, 15), QTime(10, 30, 0)));

    const auto free = parseDemoOptions({"--database", "hall.db"}, error);
    ASSERT_TRUE(free);
    EXPECT_FALSE(free->at);

    for (const QStringList& wrong : {QStringList{"--at"}, QStringList{"--at", "2026-02-30 10:00:00"},
                                     QStringList{"--at", "2026-06-15"}, QStringList{"--at", "15.06.2026 10:30:00"},
                                     QStringList{"--write-database", "x.db", "--at", "2026-06-15 10:30:00"}}) {
        error.clear();
        EXPECT_FALSE(parseDemoOptions(wrong, error)) << qPrintable(wrong.join(u' '));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(DemoOptions, AccountsTakeAWholeNumberAndOnlyForTheWrittenSample)
{
    QString error;
    const auto large = parseDemoOptions({"--write-database", "x.db", "--accounts", "300000"}, error);
    ASSERT_TRUE(large) << qPrintable(error);
    EXPECT_EQ(large->accounts, 300000);
    const auto usual = parseDemoOptions({"--write-database", "x.db"}, error);
    ASSERT_TRUE(usual);
    EXPECT_FALSE(usual->accounts);

    for (const QStringList& wrong :
         {QStringList{"--write-database", "x.db", "--accounts"}, QStringList{"--write-database", "x.db", "--accounts", "0"},
          QStringList{"--write-database", "x.db", "--accounts", "-5"},
          QStringList{"--write-database", "x.db", "--accounts", "3e5"},
          QStringList{"--write-database", "x.db", "--accounts", "5000001"},
          QStringList{"--accounts", "1000"}, QStringList{"--database", "x.db", "--accounts", "1000"}}) {
        error.clear();
        EXPECT_FALSE(parseDemoOptions(wrong, error)) << qPrintable(wrong.join(u' '));
        EXPECT_FALSE(error.isEmpty());
    }
}
