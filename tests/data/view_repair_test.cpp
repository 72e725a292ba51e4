// The view repair on the demo database: executing a stored definition
// creates a missing view, and fails on one that exists, leaving it as it was.
#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/query.h"
#include "data/sqlite/demo_database.h"
#include "data/view_repair.h"

#include <gtest/gtest.h>

using kvet::ReportingView;

namespace {

const QDateTime kRepairNow(QDate(2024, 6, 15), QTime(10, 30, 0));

class ViewRepairTest : public ::testing::TestWithParam<ReportingView> {
protected:
    void SetUp() override
    {
        backend = kvet::createDemoBackend(kRepairNow, false, [] { return kRepairNow; });
        backend->connect(QString());
    }
    QString selectAll() const
    {
        return QStringLiteral("select * from %1").arg(kvet::viewName(GetParam()));
    }
    std::unique_ptr<kvet::SqliteBackend> backend;
};

} // namespace

TEST_P(ViewRepairTest, CreatesAMissingViewOnceAndFailsOnAnExistingOne)
{
    EXPECT_THROW(backend->run(selectAll()), kvet::DatabaseError);
    backend->execute(kvet::viewDefinitionText(GetParam()));
    const std::size_t rows = backend->run(selectAll()).rows.size();
    EXPECT_GT(rows, 0u);
    try {
        backend->execute(kvet::viewDefinitionText(GetParam()));
        FAIL() << "created twice";
    } catch (const kvet::DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("view %1 already exists").arg(kvet::viewName(GetParam())));
    }
    EXPECT_EQ(backend->run(selectAll()).rows.size(), rows);
    EXPECT_EQ(backend->openStatementCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllViews, ViewRepairTest, ::testing::ValuesIn(kvet::kAllReportingViews),
                         [](const ::testing::TestParamInfo<ReportingView>& test) {
                             return kvet::viewName(test.param).toStdString();
                         });

// The path the recovery panel takes: its query fails, the repair executes the
// definition through the same query object, and the query then opens.
TEST(ViewRepairThroughQuery, RecoveryQueryOpensAfterTheRepair)
{
    kvet::Connection connection(kvet::createDemoBackend(kRepairNow, false, [] { return kRepairNow; }));
    kvet::Query query(QStringLiteral("ADOQuery4"), connection);
    query.setSql(QString::fromUtf8(kvet::statements::kFeeRecovery));
    EXPECT_THROW(query.open(), kvet::DatabaseError);
    kvet::repairView(query, kvet::viewDefinitionText(ReportingView::Jd2));
    query.setSql(QString::fromUtf8(kvet::statements::kFeeRecovery));
    query.open();
    EXPECT_FALSE(query.eof());
    EXPECT_EQ(query.fieldByName(QStringLiteral("jfsj")).asString().left(4), QStringLiteral("2024"));
    EXPECT_THROW(kvet::repairView(query, kvet::viewDefinitionText(ReportingView::Jd2)),
                 kvet::DatabaseError);
}
