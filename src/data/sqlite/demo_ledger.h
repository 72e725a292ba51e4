#pragma once
// The demo's money: a year of payments (sf_sr) up to now, and this year's
// water-fee bills (sf_yhsf) up to the current month.
#include "data/sqlite/demo_accounts.h"

namespace kvet::sqlite {

// Payments from 364 days before today's date up to now, serial numbers lsh
// growing with time; every channel code, unknown and NULL codes included,
// and a few zero and negative amounts.
void writeDemoPayments(sqlite3* db, const std::vector<DemoAccount>& accounts, const QDateTime& now,
                       DemoRandom& random);

// Bills of every month of now's year up to its month, each book every second
// month; older months mostly paid, overdue bills marked '拖欠'.
void writeDemoBills(sqlite3* db, const std::vector<DemoAccount>& accounts, const QDateTime& now,
                    DemoRandom& random);

} // namespace kvet::sqlite
