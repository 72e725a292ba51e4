#pragma once
// Sample database files of a given number of accounts, as
// `kvet-demo --write-database FILE --accounts N` writes them plus the four
// views (as the first refresh or an export makes them), written once per run
// into a folder removed at exit, with the server's clock pinned in the middle
// of December: a year's payments and twelve months of bills, the most the
// year's views ever read.
//
// 30 000 accounts is the default sample. 300 000 (a mid-sized utility, about
// 760 000 payments and 1.7 million bills) adds about a minute to a run, so
// those cases run only with KVET_BENCH_LARGE=1 and are left out of the
// run-once pass the tests make. KVET_BENCH_SIZES=30000,1200000 (a list of
// numbers of accounts) sets the sizes outright.
#include "data/dashboard_sql.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/demo_sample_size.h"

#include <QDateTime>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace kvet::bench {

inline const QDateTime kSampleMoment(QDate(2026, 12, 15), QTime(10, 0, 0));

inline std::vector<int> sampleSizes()
{
    std::vector<int> sizes;
    for (const QString& n : qEnvironmentVariable("KVET_BENCH_SIZES").split(u',', Qt::SkipEmptyParts))
        if (const int accounts = n.trimmed().toInt(); accounts > 0)
            sizes.push_back(accounts);
    if (!sizes.empty())
        return sizes;
    if (qEnvironmentVariableIntValue("KVET_BENCH_LARGE") == 1)
        return {30000, 300000};
    return {30000};
}

// Registers benchmark `name`/N for every size.
inline void forEachSize(benchmark::internal::Benchmark* b)
{
    for (int accounts : sampleSizes())
        b->Arg(accounts);
}

inline QString sampleFile(int accounts)
{
    static QTemporaryDir folder;
    static QHash<int, QString> written;
    if (const auto it = written.constFind(accounts); it != written.constEnd())
        return *it;
    const QString path = folder.filePath(QStringLiteral("sample-%1.db").arg(accounts));
    writeDemoDatabase(path, kSampleMoment, accounts);
    auto views = openDemoFile(path);
    views->connect(QString());
    for (ReportingView view : kAllReportingViews)
        views->execute(viewDefinitionText(view));
    views->disconnect();
    written.insert(accounts, path);
    return path;
}

} // namespace kvet::bench
