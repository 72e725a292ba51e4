#include "tds_standin/tds_types.h"

#include "data/failure.h"
#include "tds_standin/tds_tokens.h"

#include <QRegularExpression>
#include <cmath>
#include <cstring>
#include <iconv.h>

namespace kvet::tds {

namespace {

const QSet<QString>& amountColumns()
{
    static const QSet<QString> names{QStringLiteral("je"), QStringLiteral("sf"), QStringLiteral("yf"),
                                     QStringLiteral("tq"), QStringLiteral("bl")};
    return names;
}

bool isDivided(const QString& statement, const QString& column)
{
    // "je/10000 je": the column is named for an amount scaled by a whole number.
    const QRegularExpression divided(QStringLiteral("[/*]\\s*\\d+\\s+(?:as\\s+)?%1\\b").arg(QRegularExpression::escape(column)),
                                     QRegularExpression::CaseInsensitiveOption);
    return divided.match(statement).hasMatch();
}

QString convert(const char* to, const char* from, const QByteArray& in, bool* ok)
{
    *ok = false;
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return {};
    QByteArray out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return {};
    out.truncate(out.size() - int(dstLeft));
    *ok = true;
    return QString::fromLatin1(out.toHex());
}

// The exact decimal text of v with `scale` decimals, as a scaled whole number.
std::int64_t scaled(const Value& v, int scale)
{
    QString text;
    if (const auto* d = std::get_if<Decimal>(&v))
        text = d->text;
    else if (const auto* i = std::get_if<std::int64_t>(&v))
        text = QString::number(*i);
    else if (const auto* f = std::get_if<double>(&v))
        text = QString::number(*f, 'f', scale);
    else if (const auto* s = std::get_if<QString>(&v))
        text = s->trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    QString whole = text.section(u'.', 0, 0);
    QString fraction = text.section(u'.', 1).left(scale);
    fraction = fraction.leftJustified(scale, u'0');
    bool ok = false;
    const std::int64_t n = (whole + fraction).toLongLong(&ok);
    if (!ok)
        throw Failure(QStringLiteral("Error converting data type to numeric"));
    return negative ? -n : n;
}

} // namespace

QByteArray toCp936(const QString& text)
{
    bool ok = false;
    const QString hex = convert("CP936", "UTF-8", text.toUtf8(), &ok);
    return ok ? QByteArray::fromHex(hex.toLatin1()) : QByteArray();
}

QString fromCp936(const QByteArray& bytes)
{
    bool ok = false;
    const QString hex = convert("UTF-8", "CP936", bytes, &ok);
    return ok ? QString::fromUtf8(QByteArray::fromHex(hex.toLatin1())) : QString();
}

std::vector<WireColumn> wireColumns(const ResultSet& result, const QString& statement, const TypeChoice& choice)
{
    std::vector<WireColumn> out;
    for (std::size_t i = 0; i < result.columns.size(); ++i) {
        const Column& c = result.columns[i];
        WireColumn w{c.name};
        const QString key = c.name.toLower();
        if (amountColumns().contains(key)) {
            const bool divided = isDivided(statement, c.name) || key == QStringLiteral("bl");
            if (!choice.amountsAsDecimal)
                w.type = WireType::Money;
            else {
                w.type = WireType::Decimal;
                w.precision = divided ? 38 : 18;
                w.scale = divided ? 6 : 2;
            }
        } else {
            switch (c.kind) {
            case ColumnKind::Integer: w.type = WireType::Int; break;
            case ColumnKind::Float: w.type = WireType::Float; break;
            case ColumnKind::Decimal: w.type = WireType::Decimal; break;
            case ColumnKind::DateTime: w.type = WireType::DateTime; break;
            default:
                // Columns SQLite cannot type (a NULL-only or computed one) take
                // their type from the first value that has one.
                w.type = WireType::Varchar;
                for (const auto& r : result.rows) {
                    if (std::holds_alternative<std::int64_t>(r[i])) { w.type = WireType::Int; break; }
                    if (std::holds_alternative<double>(r[i])) { w.type = WireType::Float; break; }
                    if (std::holds_alternative<QDateTime>(r[i])) { w.type = WireType::DateTime; break; }
                    if (!isNull(r[i])) break;
                }
            }
            if (w.type == WireType::Varchar && choice.nvarcharColumns.contains(key))
                w.type = WireType::NVarchar;
        }
        out.push_back(w);
    }
    return out;
}

void colMetadata(ByteWriter& w, const std::vector<WireColumn>& columns)
{
    w.u8(0x81).u16(std::uint16_t(columns.size()));
    for (const WireColumn& c : columns) {
        w.u32(0).u16(0x0001 | 0x0008); // nullable, updatable unknown
        switch (c.type) {
        case WireType::Int: w.u8(0x26).u8(4); break;
        case WireType::Float: w.u8(0x6D).u8(8); break;
        case WireType::Money: w.u8(0x6E).u8(8); break;
        case WireType::DateTime: w.u8(0x6F).u8(8); break;
        case WireType::Decimal: w.u8(0x6A).u8(c.precision > 28 ? 17 : c.precision > 19 ? 13 : c.precision > 9 ? 9 : 5)
                                    .u8(std::uint8_t(c.precision)).u8(std::uint8_t(c.scale)); break;
        case WireType::Varchar: w.u8(0xA7).u16(8000).bytes(chineseCollation()); break;
        case WireType::NVarchar: w.u8(0xE7).u16(8000).bytes(chineseCollation()); break;
        }
        w.bVarchar(c.name);
    }
}

void row(ByteWriter& w, const std::vector<WireColumn>& columns, const std::vector<Value>& values)
{
    w.u8(0xD1);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const WireColumn& c = columns[i];
        const Value& v = values.at(i);
        const bool null = isNull(v);
        switch (c.type) {
        case WireType::Int:
            if (null) { w.u8(0); break; }
            w.u8(4).u32(std::uint32_t(std::int32_t(scaled(v, 0))));
            break;
        case WireType::Float: {
            if (null) { w.u8(0); break; }
            double d = 0;
            if (const auto* f = std::get_if<double>(&v)) d = *f;
            else if (const auto* n = std::get_if<std::int64_t>(&v)) d = double(*n);
            else d = scaled(v, 6) / 1e6;
            std::uint64_t bits = 0;
            std::memcpy(&bits, &d, 8);
            w.u8(8).u64(bits);
            break;
        }
        case WireType::Money: {
            if (null) { w.u8(0); break; }
            const std::uint64_t m = std::uint64_t(scaled(v, 4));
            w.u8(8).u32(std::uint32_t(m >> 32)).u32(std::uint32_t(m));
            break;
        }
        case WireType::Decimal: {
            if (null) { w.u8(0); break; }
            const std::int64_t n = scaled(v, c.scale);
            const int bytes = c.precision > 28 ? 16 : c.precision > 19 ? 12 : c.precision > 9 ? 8 : 4;
            w.u8(std::uint8_t(bytes + 1)).u8(n < 0 ? 0 : 1);
            const std::uint64_t magnitude = std::uint64_t(n < 0 ? -n : n);
            if (bytes == 4) w.u32(std::uint32_t(magnitude));
            else {
                w.u64(magnitude);
                for (int b = 8; b < bytes; ++b) w.u8(0);
            }
            break;
        }
        case WireType::DateTime: {
            if (null) { w.u8(0); break; }
            QDateTime t;
            if (const auto* d = std::get_if<QDateTime>(&v)) t = *d;
            else if (const auto* s = std::get_if<QString>(&v)) t = QDateTime::fromString(*s, Qt::ISODate);
            const QDate base(1900, 1, 1);
            const qint64 days = base.daysTo(t.date());
            const qint64 ms = t.time().msecsSinceStartOfDay();
            w.u8(8).u32(std::uint32_t(std::int32_t(days))).u32(std::uint32_t((ms * 300 + 500) / 1000));
            break;
        }
        case WireType::Varchar:
        case WireType::NVarchar: {
            if (null) { w.u16(0xFFFF); break; }
            QString text;
            if (const auto* s = std::get_if<QString>(&v)) text = *s;
            else if (const auto* n = std::get_if<std::int64_t>(&v)) text = QString::number(*n);
            else if (const auto* f = std::get_if<double>(&v)) text = QString::number(*f);
            else if (const auto* d = std::get_if<Decimal>(&v)) text = d->text;
            else if (const auto* t = std::get_if<QDateTime>(&v)) text = t->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (c.type == WireType::Varchar) {
                const QByteArray b = toCp936(text);
                w.u16(std::uint16_t(b.size())).bytes(b);
            } else {
                w.u16(std::uint16_t(text.size() * 2)).utf16(text);
            }
            break;
        }
        }
    }
}

} // namespace kvet::tds
