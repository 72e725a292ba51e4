#pragma once
// The view repair: after a panel's query on a reporting view failed, create
// the view from its stored definition through the panel's own query object.
// It never asks why the query failed; when the view exists the CREATE VIEW
// fails, and that failure is left to the caller's caller (the batch).
#include <QString>

namespace kvet {

class Query;

void repairView(Query& query, const QString& definitionText);

} // namespace kvet
