#include "data/view_repair.h"

#include "data/query.h"

namespace kvet {

void repairView(Query& query, const QString& definitionText)
{
    query.close();
    query.setSql(definitionText);
    query.execSql();
}

} // namespace kvet
