#pragma once
// What SQL Server does by its types and collation and SQLite does not, as
// functions and a collation of the demo database, used by the SQLite
// equivalents of the program's statements:
//
// - a datetime column holds only dates and times that exist: text that is no
//   such date and time (2025-02-30 10:00:00) reads as NULL;
// - money is a whole number of ten-thousandths of a yuan: sums are exact, and
//   a division keeps four decimals, cut toward zero (25000.50 / 10000 is
//   2.5000, not 2.50005);
// - texts compare as under a case-insensitive Chinese collation: letter case
//   and trailing blanks do not count ('JM ' equals 'jm').
#include <QString>
#include <cstdint>
#include <optional>
#include <sqlite3.h>

namespace kvet::sqlite {

// kvet_datetime(x): x as 'YYYY-MM-DD HH:MM:SS' when it is a date and time
// that exists, else NULL.
inline constexpr const char* kDateTimeFunction = "kvet_datetime";
// kvet_month(x): the month of kvet_datetime(x) as 'YYYYMM', else NULL (one
// call where a year's view would take strftime of kvet_datetime per row).
inline constexpr const char* kMonthFunction = "kvet_month";
// kvet_money(x): x as money, a whole number of ten-thousandths (rounded to
// the nearest, halves away from zero); NULL stays NULL.
inline constexpr const char* kMoneyFunction = "kvet_money";
// kvet_money_text(n): ten-thousandths as decimal text with four decimals.
inline constexpr const char* kMoneyTextFunction = "kvet_money_text";
// kvet_money_div(a, b), kvet_money_mul(a, b): money arithmetic on two values
// taken as money, giving decimal text; NULL when either is NULL.
inline constexpr const char* kMoneyDivideFunction = "kvet_money_div";
inline constexpr const char* kMoneyMultiplyFunction = "kvet_money_mul";
// COLLATE kvet_ci: letter case and trailing blanks do not count.
inline constexpr const char* kTextCollation = "kvet_ci";

// Registers all of the above on db.
void registerServerRules(sqlite3* db);

namespace money {
// Decimal text ("-12.5", "25000.50", "3") as ten-thousandths, rounded at the
// fifth decimal, halves away from zero; empty for anything else or outside
// the range of money.
std::optional<std::int64_t> fromText(const QString& text);
std::optional<std::int64_t> fromDouble(double value);
QString toText(std::int64_t tenThousandths);
// Four decimals, cut toward zero. Empty when b is 0 or the result overflows.
std::optional<std::int64_t> divide(std::int64_t a, std::int64_t b);
// Four decimals, rounded, halves away from zero. Empty on overflow.
std::optional<std::int64_t> multiply(std::int64_t a, std::int64_t b);
} // namespace money

// The collation's order: <0, 0 or >0.
// Code points between these two (the CJK Unified Ideographs) have no case, so
// the collation takes them as they are without looking them up.
inline constexpr char32_t kFirstIdeograph = 0x4E00;
inline constexpr char32_t kLastIdeograph = 0x9FFF;
int compareTexts(const QByteArray& a, const QByteArray& b);

} // namespace kvet::sqlite
