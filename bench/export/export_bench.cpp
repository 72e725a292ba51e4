// kvet-check --export of a sample file (bench_samples.h) served by the TDS
// stand-in, as the installer runs it against the utility's server: the
// program itself in a process of its own, so that its peak memory (PSS,
// sampled every 10 ms) is its own and not the server's. Rows per second per
// table are the program's own report (its times have 0.1 s steps), the total
// over the whole run.
#include "bench_app.h"
#include "bench_samples.h"
#include "data/sqlite/demo_database.h"
#include "tds_standin/tds_standin.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

using namespace kvet;

// The process's proportional set size in MB, 0 when it cannot be read.
double pssMb(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = rollup.readAll();
    const qsizetype at = text.indexOf("\nPss:");
    if (at < 0)
        return 0;
    return text.mid(at + 5, text.indexOf('\n', at + 1) - at - 5).trimmed().split(' ').first().toDouble() / 1024.0;
}

void BM_ExportThroughStandIn(benchmark::State& state)
{
    bench::ensureApplication();
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvet-check"));
    if (!QFileInfo::exists(program)) {
        state.SkipWithError("kvet-check is not built beside kvet_bench");
        return;
    }
    const int accounts = int(state.range(0));
    tds::TdsStandIn server(openDemoFileAt(bench::sampleFile(accounts), bench::kSampleMoment));
    if (!server.start()) {
        state.SkipWithError("the stand-in found no port");
        return;
    }
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        state.SkipWithError("no settings file");
        return;
    }
    ini.write(QStringLiteral("[option]\nmydata=sfdb\nmy=127.0.0.1,%1\nuser=sa\npassword=c2VjcmV0\n")
                  .arg(server.port())
                  .toUtf8());
    ini.close();
    const QString target = dir.filePath(QStringLiteral("hall.db"));
    const QRegularExpression tableLine(QStringLiteral("(sf_\\w+)：共导出 (\\d+) 行，用时 ([0-9.]+) 秒"));

    double peak = 0;
    QHash<QString, double> rowsPerSecond;
    qint64 rows = 0;
    for (auto _ : state) {
        QFile::remove(target);
        QProcess p;
        p.setProgram(program);
        p.setArguments({ini.fileName(), QStringLiteral("--export"), target});
        p.start();
        if (!p.waitForStarted()) {
            state.SkipWithError("kvet-check did not start");
            return;
        }
        while (!p.waitForFinished(10))
            peak = std::max(peak, pssMb(p.processId()));
        const QString report = QString::fromUtf8(p.readAllStandardOutput());
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            state.SkipWithError(qPrintable(QStringLiteral("the export failed: ") + report));
            return;
        }
        rows = 0;
        for (auto m = tableLine.globalMatch(report); m.hasNext();) {
            const auto line = m.next();
            const double n = line.captured(2).toDouble();
            const double seconds = line.captured(3).toDouble();
            rows += qint64(n);
            if (n >= 1000)
                rowsPerSecond[line.captured(1)] = seconds > 0 ? n / seconds : n / 0.05;
        }
    }
    state.counters["peak_PSS_MB"] = peak;
    state.counters["rows"] = double(rows);
    state.counters["rows_per_s"] = benchmark::Counter(double(rows) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    for (auto it = rowsPerSecond.cbegin(); it != rowsPerSecond.cend(); ++it)
        state.counters[(it.key() + QStringLiteral("_rows_per_s")).toStdString()] = it.value();
}
BENCHMARK(BM_ExportThroughStandIn)
    ->Name("Export/ThroughStandIn")
    ->Apply(kvet::bench::forEachSize)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
