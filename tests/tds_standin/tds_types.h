#pragma once
// Column types on the wire: which SQL Server type each result column of the
// billing schema has, its COLMETADATA entry, and each value's ROW bytes.
#include "data/value.h"
#include "tds_standin/tds_wire.h"

#include <QSet>

namespace kvet::tds {

enum class WireType { Int, Float, Money, Decimal, Varchar, NVarchar, DateTime };

struct WireColumn {
    QString name;
    WireType type = WireType::Varchar;
    int precision = 18; // Decimal only
    int scale = 2;      // Decimal only
};

struct TypeChoice {
    // Amounts (je, sf and what is computed from them) as decimal(18,2) rather than money.
    bool amountsAsDecimal = false;
    // Text columns sent as nvarchar; the rest go as varchar in code page 936.
    QSet<QString> nvarcharColumns{QStringLiteral("hm")};
};

// The SQL Server type of each column of result, as the statement computes it:
// an amount divided by 10000 stays money (four decimals), or in decimal becomes
// decimal(38,6) by SQL Server's precision and scale rules.
std::vector<WireColumn> wireColumns(const ResultSet& result, const QString& statement, const TypeChoice& choice);

void colMetadata(ByteWriter& w, const std::vector<WireColumn>& columns);
// One ROW token. Throws kvet::Failure for a value the type cannot hold.
void row(ByteWriter& w, const std::vector<WireColumn>& columns, const std::vector<Value>& values);

// Text in code page 936 (GBK) and back.
QByteArray toCp936(const QString& text);
QString fromCp936(const QByteArray& bytes);

} // namespace kvet::tds
