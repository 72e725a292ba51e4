#pragma once
// The two number formats the charts draw: values as "#,##0.###" (thousands
// separated by commas, at most three decimals, no trailing zeros) and pie shares
// as "##0.## %" (a fraction shown in percent with at most two decimals).
#include <QString>

namespace kvet::chart {

// 1234.5 -> "1,234.5"; 0.0004 -> "0"; -1234567 -> "-1,234,567". Not finite -> "".
QString formatValue(double value);

// 0.4567 -> "45.67 %"; 1 -> "100 %". Not finite -> "".
QString formatPercent(double fraction);

} // namespace kvet::chart
