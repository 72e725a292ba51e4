#pragma once
// The cells the ticker panel writes its rows into, so that it never knows the
// grid widget.
#include <QString>

namespace kvet {

class CellWriter {
public:
    virtual ~CellWriter() = default;
    virtual void setCell(int column, int row, const QString& text) = 0;
    virtual QString cell(int column, int row) const = 0;
    virtual int rowCount() const = 0;
};

} // namespace kvet
