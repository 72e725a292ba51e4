#pragma once
// Copies of the demo sample for tests. Making the sample takes a while (30 000
// accounts, a year of payments); copying it in memory a few milliseconds, so
// each sample is made once per test program and copied for every test.
#include "data/sqlite/sqlite_backend.h"

#include <QDateTime>
#include <memory>

namespace kvet::testing {

// A fresh in-memory copy of the sample made for `moment` (with or without its
// four views), whose server clock is `clock`.
std::unique_ptr<SqliteBackend> copyOfSample(const QDateTime& moment, bool withViews, SqliteBackend::Clock clock);

} // namespace kvet::testing
