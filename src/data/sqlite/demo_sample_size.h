#pragma once
// Samples of another size than the usual 30 000 accounts, for a preview or a
// measurement at a utility's size (kvet-demo --write-database FILE
// --accounts N): the same shape, with payments and bills in proportion to the
// accounts (demo_accounts.h).
#include "data/sqlite/demo_accounts.h"

#include <QDateTime>
#include <QString>
#include <sqlite3.h>

namespace kvet::sqlite {

// populateDemoDatabase (demo_database.h) with `accounts` accounts, 1 to
// kDemoMaxAccountCount; fails for any other number.
void populateDemoDatabase(sqlite3* db, const QDateTime& now, quint32 seed, int accounts);

} // namespace kvet::sqlite

namespace kvet {

// writeDemoDatabase (demo_database.h) with `accounts` accounts. The sample is
// made in the file itself, so memory stays the same whatever its size.
void writeDemoDatabase(const QString& path, const QDateTime& now, int accounts);

} // namespace kvet
