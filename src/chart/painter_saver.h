#pragma once
// Restores the painter's pen, brush, transform and clip when a painter leaves.
#include <QPainter>

namespace kvet::chart {

class PainterSaver {
public:
    explicit PainterSaver(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~PainterSaver() { painter_.restore(); }
    PainterSaver(const PainterSaver&) = delete;
    PainterSaver& operator=(const PainterSaver&) = delete;

private:
    QPainter& painter_;
};

} // namespace kvet::chart
