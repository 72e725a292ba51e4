#pragma once
// Which ODBC driver kvet would reach SQL Server with, among those installed,
// and the driver's own connection string (password masked).
#include "check/check_report.h"

#include <QString>
#include <QStringList>

namespace kvet::check {

// `maskedConnectionString` is kvet's connection string with the password
// masked. Returns the driver kvet would use; empty when none fits.
QString checkDriver(const QStringList& installed, const QString& maskedConnectionString, Report& report);

} // namespace kvet::check
