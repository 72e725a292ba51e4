#pragma once
// Decimal text such as "-1234.5678" taken apart, for the readers that convert
// it exactly instead of through a double.
#include <QStringView>
#include <optional>

namespace kvet {

struct DecimalText {
    bool negative = false;
    QStringView whole;    // the digits before the point, maybe none
    QStringView fraction; // the digits after it, maybe none
};

// Surrounding white space, an optional sign, digits, optionally a point and
// more digits. Nothing when there are no digits at all or anything else
// stands between them. The views point into `text`.
std::optional<DecimalText> splitDecimalText(QStringView text);

} // namespace kvet
