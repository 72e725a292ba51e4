#pragma once
// The full demo sample, built once per suite at a Monday in June (mid-year,
// mid-cycle, the hall open) with the server's clock pinned there.
#include "data/sqlite/demo_database.h"
#include "data/sqlite/sqlite_backend.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace kvet::testing {

inline const QDateTime kSampleNow(QDate(2024, 6, 17), QTime(10, 30, 0));

class DemoSampleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        backend = createDemoBackend(kSampleNow, true, [] { return kSampleNow; }).release();
        backend->connect(QString());
    }
    static void TearDownTestSuite()
    {
        delete backend;
        backend = nullptr;
    }
    inline static SqliteBackend* backend = nullptr;
};

} // namespace kvet::testing
