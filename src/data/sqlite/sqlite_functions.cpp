#include "data/sqlite/sqlite_functions.h"

#include "data/decimal_text.h"
#include "data/sqlite/sqlite_handles.h"

#include <QChar>
#include <cmath>
#include <cstring>
#include <limits>

namespace kvet::sqlite {

namespace {

constexpr std::int64_t kScale = 10000; // money has four decimals
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

const char* const kNotMoney = "Cannot convert a char value to money. The char value has incorrect syntax";
const char* const kMoneyOverflow = "Arithmetic overflow error converting expression to data type money";
const char* const kDivideByZero = "Divide by zero error encountered";

// SQLite's own bit for its Bloom-filter optimisation (SQLITE_BloomFilter,
// the same from 3.38 on); the test-control call takes the set of
// optimisations to leave out. Registering the collation turns it off: see
// registerServerRules.
constexpr unsigned kBloomFilterOptimisation = 0x00080000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

unsigned char foldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// The blanks QByteArray::trimmed() takes off: ASCII space, \t, \n, \v, \f, \r.
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Digits at text[at, at + count) as a number, or -1.
int digitsAt(const char* text, int size, int at, int count)
{
    if (at + count > size)
        return -1;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (!isDigit(text[at + i]))
            return -1;
        n = n * 10 + (text[at + i] - '0');
    }
    return n;
}

// The proleptic Gregorian calendar from year 1 on, as QDate has it: there is
// no year 0.
bool dateExists(int year, int month, int day)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

void putTwoDigits(char* at, int n)
{
    at[0] = char('0' + n / 10);
    at[1] = char('0' + n % 10);
}

// 'YYYY-MM-DD', optionally ' ' or 'T' and HH:MM, HH:MM:SS or HH:MM:SS.fff...,
// blanks around allowed: the same texts the backend reads as date-times.
// Written to out as 'YYYY-MM-DD HH:MM:SS'. Runs once per row of a year's
// payments, so it works on the bytes SQLite hands over and allocates nothing;
// text already in that form comes out as it went in.
bool normalisedDateTime(const char* text, int size, char (&out)[19])
{
    while (size > 0 && isBlank(*text)) {
        ++text;
        --size;
    }
    while (size > 0 && isBlank(text[size - 1]))
        --size;
    const int year = digitsAt(text, size, 0, 4), month = digitsAt(text, size, 5, 2),
              day = digitsAt(text, size, 8, 2);
    if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-')
        return false;
    int hour = 0, minute = 0, second = 0;
    if (size > 10) {
        if ((text[10] != ' ' && text[10] != 'T') || size < 16 || text[13] != ':')
            return false;
        hour = digitsAt(text, size, 11, 2);
        minute = digitsAt(text, size, 14, 2);
        int end = 16;
        if (size > 16) {
            if (text[16] != ':' || (second = digitsAt(text, size, 17, 2)) < 0)
                return false;
            end = 19;
            if (size > 19) {
                if (text[19] != '.' || size == 20)
                    return false;
                for (end = 20; end < size && isDigit(text[end]); ++end) {
                }
            }
        }
        if (end != size || hour < 0 || minute < 0 || hour > 23 || minute > 59 || second > 59)
            return false;
    }
    if (!dateExists(year, month, day))
        return false;
    std::memcpy(out, text, 10); // the date's digits and dashes, checked above
    out[10] = ' ';
    putTwoDigits(out + 11, hour);
    out[13] = ':';
    putTwoDigits(out + 14, minute);
    out[16] = ':';
    putTwoDigits(out + 17, second);
    return true;
}

QByteArray textOf(sqlite3_value* value)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QByteArray(bytes ? bytes : "", sqlite3_value_bytes(value));
}

// The value as 'YYYY-MM-DD HH:MM:SS' when it is a text of a date and time
// that exists; numbers are no date text, and NULL is none.
bool momentOf(sqlite3_value* value, char (&moment)[19])
{
    if (sqlite3_value_type(value) != SQLITE_TEXT)
        return false;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text && normalisedDateTime(text, sqlite3_value_bytes(value), moment);
}

void dateTimeFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    char moment[19];
    if (momentOf(argv[0], moment))
        sqlite3_result_text(context, moment, int(sizeof moment), SQLITE_TRANSIENT);
    else
        sqlite3_result_null(context);
}

void monthFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    char moment[19];
    if (momentOf(argv[0], moment)) {
        // 'YYYY-MM-...' gives 'YYYYMM'.
        const char month[6] = {moment[0], moment[1], moment[2], moment[3], moment[5], moment[6]};
        sqlite3_result_text(context, month, int(sizeof month), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_null(context);
    }
}

// The value as money; false with the context's error set when it is none.
bool moneyOf(sqlite3_context* context, sqlite3_value* value, std::int64_t& out)
{
    std::optional<std::int64_t> m;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: {
        const std::int64_t n = sqlite3_value_int64(value);
        if (n <= kMax / kScale && n >= -(kMax / kScale))
            m = n * kScale;
        break;
    }
    case SQLITE_FLOAT:
        m = money::fromDouble(sqlite3_value_double(value));
        break;
    default: {
        const QString text = QString::fromUtf8(textOf(value)).trimmed();
        // An empty text converts to 0, as on SQL Server.
        m = text.isEmpty() ? std::optional<std::int64_t>(0) : money::fromText(text);
        if (!m) {
            sqlite3_result_error(context, kNotMoney, -1);
            return false;
        }
    }
    }
    if (!m) {
        sqlite3_result_error(context, kMoneyOverflow, -1);
        return false;
    }
    out = *m;
    return true;
}

void resultMoneyText(sqlite3_context* context, std::int64_t tenThousandths)
{
    const QByteArray text = money::toText(tenThousandths).toLatin1();
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void moneyFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    std::int64_t m = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(context);
    else if (moneyOf(context, argv[0], m))
        sqlite3_result_int64(context, m);
}

void moneyTextFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(context);
    else
        resultMoneyText(context, sqlite3_value_int64(argv[0]));
}

template <std::optional<std::int64_t> (*Operation)(std::int64_t, std::int64_t), bool Divide>
void moneyArithmetic(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    std::int64_t a = 0, b = 0;
    if (!moneyOf(context, argv[0], a) || !moneyOf(context, argv[1], b))
        return;
    if (Divide && b == 0) {
        sqlite3_result_error(context, kDivideByZero, -1);
        return;
    }
    const std::optional<std::int64_t> r = Operation(a, b);
    if (r)
        resultMoneyText(context, *r);
    else
        sqlite3_result_error(context, kMoneyOverflow, -1);
}

// The next code point of UTF-8 text at s[i, n), case-folded; i moves past it.
// A byte that starts no valid sequence stands for itself.
char32_t nextFolded(const unsigned char* s, int n, int& i)
{
    const unsigned char lead = s[i];
    if (lead < 0x80) {
        ++i;
        return lead >= 'A' && lead <= 'Z' ? char32_t(lead - 'A' + 'a') : char32_t(lead);
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > n) {
        ++i;
        return 0x110000 + lead; // above every code point, ordered by byte
    }
    char32_t cp = lead & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k)
        cp = (cp << 6) | (s[i + k] & 0x3F);
    i += length;
    // The Chinese characters have no case: most non-ASCII text here is those.
    if (cp >= kFirstIdeograph && cp <= kLastIdeograph)
        return cp;
    return QChar::toCaseFolded(cp);
}

// Code point by code point, so that sorting a large group needs no copies.
// A filter or a group compares every row's text with one value, which it
// mostly equals byte for byte or differs from in an ASCII letter: both are
// decided without decoding.
int compareFolded(const char* p1, int n1, const char* p2, int n2)
{
    const auto* s1 = reinterpret_cast<const unsigned char*>(p1);
    const auto* s2 = reinterpret_cast<const unsigned char*>(p2);
    while (n1 > 0 && s1[n1 - 1] == ' ')
        --n1;
    while (n2 > 0 && s2[n2 - 1] == ' ')
        --n2;
    if (n1 == n2 && std::memcmp(s1, s2, std::size_t(n1)) == 0)
        return 0;
    int i = 0, j = 0;
    while (i < n1 && j < n2) {
        if (s1[i] < 0x80 && s2[j] < 0x80) {
            const unsigned char a = foldAscii(s1[i++]), b = foldAscii(s2[j++]);
            if (a != b)
                return a < b ? -1 : 1;
            continue;
        }
        const char32_t a = nextFolded(s1, n1, i);
        const char32_t b = nextFolded(s2, n2, j);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return (i < n1) - (j < n2);
}

int collate(void*, int n1, const void* p1, int n2, const void* p2)
{
    return compareFolded(static_cast<const char*>(p1), n1, static_cast<const char*>(p2), n2);
}

void registerFunction(sqlite3* db, const char* name, int argc,
                      void (*function)(sqlite3_context*, int, sqlite3_value**))
{
    int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
#ifdef SQLITE_INNOCUOUS
    flags |= SQLITE_INNOCUOUS; // views call them, also where the schema is not trusted
#endif
    const int rc = sqlite3_create_function_v2(db, name, argc, flags, nullptr, function, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwError(db, rc);
}

} // namespace

namespace money {

std::optional<std::int64_t> fromText(const QString& input)
{
    const std::optional<DecimalText> decimal = splitDecimalText(input);
    if (!decimal)
        return std::nullopt;
    std::int64_t units = 0;
    for (const QChar c : decimal->whole) {
        const int digit = c.unicode() - '0';
        if (units > (kMax / kScale - digit) / 10)
            return std::nullopt;
        units = units * 10 + digit;
    }
    const QStringView fraction = decimal->fraction;
    std::int64_t parts = 0; // the first four decimals
    for (qsizetype i = 0; i < 4; ++i)
        parts = parts * 10 + (i < fraction.size() ? fraction.at(i).unicode() - '0' : 0);
    const bool roundUp = fraction.size() > 4 && fraction.at(4) >= QLatin1Char('5');
    if (units == kMax / kScale && parts + (roundUp ? 1 : 0) > kMax % kScale)
        return std::nullopt;
    std::int64_t m = units * kScale + parts;
    if (roundUp)
        ++m; // halves away from zero: the sign comes after
    return decimal->negative ? -m : m;
}

std::optional<std::int64_t> fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // An amount of at most four decimals, as nearly all are, is the nearest
    // whole number of ten-thousandths.
    // (Rounded by hand, as the library's rounding is a call per row; where it
    // and this differ, at halves, the amount has more decimals and takes the
    // way below.)
    const double scaled = value * double(kScale);
    if (std::fabs(scaled) < 1e15) {
        const auto nearest = static_cast<std::int64_t>(scaled + (scaled < 0 ? -0.5 : 0.5));
        if (std::fabs(double(nearest)) < 1e15 && std::fabs(scaled - double(nearest)) < 1e-6)
            return nearest;
    }
    // Otherwise through its shortest decimal text, so that 2.00005 stored as a binary
    // fraction a little below still rounds as written.
    const QString text = QString::number(value, 'g', 15);
    if (!text.contains(QLatin1Char('e')))
        return fromText(text);
    const double rounded = std::round(scaled);
    if (!(std::fabs(rounded) < 9.2e18))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

QString toText(std::int64_t m)
{
    // The most negative value has no positive counterpart: split before abs.
    const bool negative = m < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(m) : static_cast<std::uint64_t>(m);
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / kScale)
        .arg(magnitude % kScale, 4, 10, QLatin1Char('0'));
}

std::optional<std::int64_t> divide(std::int64_t a, std::int64_t b)
{
    if (b == 0 || (a == std::numeric_limits<std::int64_t>::min() && b == -1))
        return std::nullopt;
    // (a / b) in ten-thousandths is a·10000 / b: long division, one decimal at
    // a time, so that nothing overflows on the way. Each partial quotient and
    // remainder carries the result's sign; C++ division cuts toward zero.
    std::int64_t q = a / b;
    std::int64_t r = a % b;
    for (int digit = 0; digit < 4; ++digit) {
        if (q > kMax / 10 || q < -(kMax / 10) || r > kMax / 10 || r < -(kMax / 10))
            return std::nullopt;
        r *= 10;
        q = q * 10 + r / b;
        r %= b;
    }
    return q;
}

std::optional<std::int64_t> multiply(std::int64_t a, std::int64_t b)
{
    if (a != 0 && (std::llabs(b) > kMax / std::llabs(a) || a == std::numeric_limits<std::int64_t>::min() ||
                   b == std::numeric_limits<std::int64_t>::min()))
        return std::nullopt;
    const std::int64_t product = a * b;
    std::int64_t q = product / kScale;
    const std::int64_t r = product % kScale;
    if (std::llabs(r) * 2 >= kScale)
        q += product < 0 ? -1 : 1;
    return q;
}

} // namespace money

int compareTexts(const QByteArray& a, const QByteArray& b)
{
    return compareFolded(a.constData(), int(a.size()), b.constData(), int(b.size()));
}

void registerServerRules(sqlite3* db)
{
    // A join on texts under kvet_ci ('1001 ' = '1001') may be answered
    // through an index SQLite builds for the statement, or through a real one
    // after ANALYZE; since 3.38 it then first asks a Bloom filter whether the
    // looked-up value can be there at all. That filter hashes a text by its
    // length, so a value with a trailing blank is declared absent before the
    // collation is ever asked, and the payment drops out of the ticker. The
    // filter only skips look-ups; without it every statement gives the same
    // rows it would give without the index.
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, kBloomFilterOptimisation);
    registerFunction(db, kDateTimeFunction, 1, &dateTimeFunction);
    registerFunction(db, kMonthFunction, 1, &monthFunction);
    registerFunction(db, kMoneyFunction, 1, &moneyFunction);
    registerFunction(db, kMoneyTextFunction, 1, &moneyTextFunction);
    registerFunction(db, kMoneyDivideFunction, 2, &moneyArithmetic<&money::divide, true>);
    registerFunction(db, kMoneyMultiplyFunction, 2, &moneyArithmetic<&money::multiply, false>);
    const int rc = sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr, &collate, nullptr);
    if (rc != SQLITE_OK)
        throwError(db, rc);
}

} // namespace kvet::sqlite
