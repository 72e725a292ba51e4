#pragma once
// The demo database speaks SQLite, the program's statements are T-SQL. Each
// statement that SQLite cannot run as it is has one equivalent here with the
// same meaning; the rest (the pies' selects, the probe, the selects on the
// views) pass unchanged. Statements are matched with every white-space run
// folded to one blank, so line breaks and blank runs in the stored texts do
// not matter; letters must match exactly.
#include <QString>
#include <QStringList>

namespace kvet::sqlite {

// The SQL function that stands for SQL Server's getdate(): the backend's local
// clock as 'YYYY-MM-DD HH:MM:SS', fixed for the length of one statement.
inline constexpr const char* kNowFunction = "kvet_now";

struct Translation {
    QString sql;
    // Result columns that hold a date and time as text although SQLite cannot
    // tell from their declared type.
    QStringList dateTimeColumns;
    // Result columns that hold money as decimal text ("2.5000"), read as the
    // exact decimals that SQL Server's money gives.
    QStringList decimalColumns;
};

// White-space runs to one blank, none at either end.
QString foldWhiteSpace(const QString& statement);

// The equivalent of statement, or nullptr when it is to run as it is.
const Translation* translationFor(const QString& statement);

} // namespace kvet::sqlite
