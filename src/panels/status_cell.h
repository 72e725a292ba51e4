#pragma once
// The two small surfaces panels write text through, so that they never know
// the grid widget: the status cell (column 0, row 0) and the ticker's cells.
#include <QString>

namespace kvet {

class StatusCell {
public:
    virtual ~StatusCell() = default;
    virtual void showStatus(const QString& message) = 0;
};

class CellWriter {
public:
    virtual ~CellWriter() = default;
    virtual void setCell(int column, int row, const QString& text) = 0;
    virtual QString cell(int column, int row) const = 0;
};

} // namespace kvet
