#include "support/sample_copy.h"

#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/sqlite_handles.h"

#include <map>
#include <utility>

namespace kvet::testing {

std::unique_ptr<SqliteBackend> copyOfSample(const QDateTime& moment, bool withViews, SqliteBackend::Clock clock)
{
    static std::map<std::pair<qint64, bool>, std::unique_ptr<SqliteBackend>> samples;
    auto& sample = samples[{moment.toMSecsSinceEpoch(), withViews}];
    if (!sample)
        sample = createDemoBackend(moment, withViews, [moment] { return moment; });
    auto copy = SqliteBackend::inMemory(std::move(clock));
    sqlite3_backup* backup = sqlite3_backup_init(copy->handle(), "main", sample->handle(), "main");
    if (!backup)
        throw Failure(QStringLiteral("the sample could not be copied"));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw Failure(QStringLiteral("the sample could not be copied"));
    return copy;
}

} // namespace kvet::testing
