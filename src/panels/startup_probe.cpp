#include "panels/startup_probe.h"

#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/query.h"
#include "panels/status_cell.h"

namespace kvet::panels {

bool runStartupProbe(Query& query, const std::function<void(const QString&)>& setBanner, StatusCell& status)
{
    try {
        query.close();
        query.setSql(QString::fromUtf8(statements::kProbe));
        query.open();
        setBanner(query.fieldByName(QStringLiteral("zls")).asString() + QStringLiteral("营业收费指标"));
        query.close();
        return true;
    } catch (const std::exception& e) {
        status.showStatus(messageOf(e));
        return false;
    }
}

} // namespace kvet::panels
