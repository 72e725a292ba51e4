#include "panels/point_labels.h"

#include "data/field.h"

namespace kvet::panels {

std::int64_t dayOfMonth(const QString& yymmdd)
{
    return Field(lastTwo(yymmdd), ColumnKind::Text).asInteger();
}

} // namespace kvet::panels
