#pragma once
// kvet-check --export: what the dashboard's statements read from kvet.ini's
// server, written as a new SQLite file of the demo schema for kvet-demo
// --database. Reads with SELECTs only; account holders' names and addresses
// only for the accounts the ticker shows at the moment of the export.
#include "check/check_report.h"
#include "check/check_run.h"

#include <cstddef>

namespace kvet {
class Connection;
}

namespace kvet::check {

// Rows fetched and written per transaction: memory stays bounded by one
// piece however large the table.
inline constexpr std::size_t kExportChunkRows = 5000;

// Copies from an open connection into target, which must not exist unless
// replace is set. Written beside target under another name and renamed when
// complete; on any failure that file is removed and the failure thrown.
// Progress per table goes to report as it happens.
void exportDatabase(Connection& connection, const QString& target, bool replace, Report& report,
                    std::size_t chunkRows = kExportChunkRows);

// The whole command: settings, login, export. Never throws; 0 when the file
// is written, 1 otherwise (the reason reported).
int runExport(const CheckOptions& options, Report& report);

} // namespace kvet::check
