#pragma once
// The start-up probe: reads the utility's name into the banner. Its success
// is the gate that switches the refresh batches on.
#include <functional>
#include <QString>

namespace kvet {
class Query;
class StatusCell;
} // namespace kvet

namespace kvet::panels {

// The guarded part of Timer4Timer. Returns true once the banner caption was
// set; a failure goes to the status cell and leaves the connection as it was.
bool runStartupProbe(Query& query, const std::function<void(const QString&)>& setBanner, StatusCell& status);

} // namespace kvet::panels
