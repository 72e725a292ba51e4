#pragma once
// The chart model the panels fill: title lines and series of points, plus the
// style values fixed when the screen is built. It knows nothing of painting; the
// widget observes it through the change callback and repaints.
#include "chart/chart_style.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kvet::chart {

// No colour of its own (an invalid QColor): a pie slice takes the palette
// colour at its index.
inline const QColor kAutoColor;

struct ChartPoint {
    double value = 0.0;
    QString label; // a CR (code 13) breaks the line wherever the label is drawn
    QColor color = kAutoColor;
    bool operator==(const ChartPoint&) const = default;
};

class Series {
public:
    explicit Series(QString name) : name_(std::move(name)) {}
    const QString& name() const { return name_; }

    void clear();
    void add(double value, const QString& label, const QColor& color);
    const std::vector<ChartPoint>& points() const { return points_; }

    void setStyle(const SeriesStyle& style);
    const SeriesStyle& style() const { return style_; }

    // Set by the owning chart so that every change reaches its observer.
    void setOnChanged(std::function<void()> cb) { onChanged_ = std::move(cb); }

private:
    void changed() { if (onChanged_) onChanged_(); }
    QString name_;
    std::vector<ChartPoint> points_;
    SeriesStyle style_;
    std::function<void()> onChanged_;
};

class Chart {
public:
    explicit Chart(QString name) : name_(std::move(name)) {}
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    const QString& name() const { return name_; }

    // Title: a list of lines; the panels replace it with one line.
    void setTitle(const QString& oneLine);
    void clearTitle();
    void addTitleLine(const QString& line);
    const QStringList& titleLines() const { return title_; }

    void setStyle(const ChartStyle& style);
    const ChartStyle& style() const { return style_; }

    Series& addSeries(const QString& name);
    Series& addSeries(const QString& name, const SeriesStyle& style);
    Series& series(std::size_t index) { return *series_.at(index); }
    const Series& series(std::size_t index) const { return *series_.at(index); }
    std::size_t seriesCount() const { return series_.size(); }

    // One observer (the widget). Called after every change of title or points.
    void setOnChanged(std::function<void()> cb);

private:
    void changed() { if (onChanged_) onChanged_(); }
    QString name_;
    QStringList title_;
    ChartStyle style_;
    std::vector<std::unique_ptr<Series>> series_;
    std::function<void()> onChanged_;
};

} // namespace kvet::chart
