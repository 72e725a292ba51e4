#pragma once
// Month and day labels: the panels name a point by the last two characters
// of a yyyymm or yymmdd text, and a yearly chart's title by the first four.
#include <QString>
#include <cstdint>

namespace kvet::panels {

// The last two characters of a yyyymm / yymmdd text (the whole text if shorter).
inline QString lastTwo(const QString& text) { return text.right(2); }
// The first four characters (the year), the whole text if shorter.
inline QString firstFour(const QString& text) { return text.left(4); }

// The day of a yymmdd text, its last two characters read as a text field's
// whole number: "05" gives 5, and a day that is no number throws the
// DatabaseError a text column gives.
std::int64_t dayOfMonth(const QString& yymmdd);

} // namespace kvet::panels
