#pragma once
// A column of a query's current row, read by name. The readers follow the
// provider's conversions: whole numbers round half to even, NULL reads as 0,
// 0.0 or empty text, and text that is no number fails with its own message.
#include "data/value.h"
#include <cstdint>

namespace kvet {

class Field {
public:
    Field(Value value, ColumnKind kind) : value_(std::move(value)), kind_(kind) {}

    bool isNull() const { return kvet::isNull(value_); }
    std::int64_t asInteger() const;
    double asFloat() const;
    QString asString() const; // regional decimal separator and date formats
    const Value& value() const { return value_; }

private:
    Value value_;
    ColumnKind kind_;
};

} // namespace kvet
