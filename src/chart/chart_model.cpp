#include "chart/chart_model.h"

namespace kvet::chart {

void Series::clear()
{
    points_.clear();
    changed();
}

void Series::add(double value, const QString& label, const QColor& color)
{
    points_.push_back({value, label, color});
    changed();
}

void Series::setStyle(const SeriesStyle& style)
{
    style_ = style;
    changed();
}

void Chart::setStyle(const ChartStyle& style)
{
    style_ = style;
    changed();
}

void Chart::setTitle(const QString& oneLine)
{
    title_ = QStringList{oneLine};
    changed();
}

void Chart::clearTitle()
{
    title_.clear();
    changed();
}

void Chart::addTitleLine(const QString& line)
{
    title_.append(line);
    changed();
}

Series& Chart::addSeries(const QString& name)
{
    series_.push_back(std::make_unique<Series>(name));
    series_.back()->setOnChanged([this] { changed(); });
    changed();
    return *series_.back();
}

Series& Chart::addSeries(const QString& name, const SeriesStyle& style)
{
    Series& added = addSeries(name);
    added.setStyle(style);
    return added;
}

void Chart::setOnChanged(std::function<void()> cb)
{
    onChanged_ = std::move(cb);
}

} // namespace kvet::chart
