#pragma once
// The status cell (column 0, row 0) panels write their failure messages into,
// so that they never know the grid widget.
#include <QString>

namespace kvet {

class StatusCell {
public:
    virtual ~StatusCell() = default;
    virtual void showStatus(const QString& message) = 0;
};

} // namespace kvet
