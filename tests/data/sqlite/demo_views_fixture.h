#pragma once
// A fresh in-memory demo database per test: the demo schema without rows, the
// four reporting views created from their stored texts, and the server's clock
// pinned to the moment the suite names.
#include "data/dashboard_sql.h"
#include "data/sqlite/demo_schema.h"
#include "data/sqlite/sqlite_backend.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <memory>

namespace kvet::testing {

class DemoViewsFixture : public ::testing::Test {
protected:
    explicit DemoViewsFixture(QDateTime now) : now_(std::move(now)) {}

    void SetUp() override
    {
        backend = SqliteBackend::inMemory([now = now_] { return now; });
        sqlite::createDemoSchema(backend->handle());
        backend->connect(QString());
        for (ReportingView view : kAllReportingViews)
            backend->execute(viewDefinitionText(view));
    }
    void exec(const char* sql) { backend->execute(QString::fromUtf8(sql)); }
    ResultSet run(const QString& sql) { return backend->run(sql); }
    ResultSet run(const char* sql) { return backend->run(QString::fromUtf8(sql)); }

    std::unique_ptr<SqliteBackend> backend;

private:
    QDateTime now_;
};

} // namespace kvet::testing
