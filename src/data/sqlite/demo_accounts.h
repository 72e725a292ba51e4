#pragma once
// The demo's accounts (sf_yh): made-up households and businesses of a
// made-up city, grouped into meter-reading books, with this cycle's readings
// entered over the last weeks.
#include "data/sqlite/demo_random.h"

#include <QByteArray>
#include <QDateTime>
#include <sqlite3.h>
#include <vector>

namespace kvet::sqlite {

// Water-use categories of the sample, the shapes of its pies: several hold
// more than 100 accounts, two fewer, and a few accounts have none (NULL).
enum class DemoCategory { Household, Service, Public, Industry, Construction, Special, FireService,
                          None };

struct DemoAccount {
    QByteArray tzh;
    DemoCategory category;
    int cbch;     // 0 for a closed account
    bool entered; // this cycle's reading is entered (lrzt 1)
};

// The sample's size unless asked for another; larger samples keep its shape:
// the same shares of categories, books of the same size read over the same
// cycle, and payments in proportion to the accounts.
inline constexpr int kDemoAccountCount = 30000;
inline constexpr int kDemoAccountsPerBook = 250;
inline constexpr int kDemoMaxAccountCount = 5000000;

// Writes `count` rows of sf_yh; readings are entered no later than now.
std::vector<DemoAccount> writeDemoAccounts(sqlite3* db, const QDateTime& now, DemoRandom& random,
                                           int count = kDemoAccountCount);

// The typical amount of one water bill or payment of the category, in yuan.
double typicalAmount(DemoCategory category, DemoRandom& random);

// "YYYY-MM-DD HH:MM:SS" for a day and a second of that day.
QByteArray demoTimestamp(const QDate& day, int secondOfDay);

} // namespace kvet::sqlite
