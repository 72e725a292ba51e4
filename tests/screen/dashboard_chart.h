#pragma once
// Chart<number> as the window builds it, from the panels table.
#include "panels/panel_table.h"

namespace kvet {

inline std::unique_ptr<chart::ChartWidget> makeDashboardChart(int number, double dpiScale, QWidget* parent)
{
    const auto& entry = panels::panelByChart(panels::dashboardPanels(), QStringLiteral("Chart%1").arg(number));
    return panels::makePanelChart(entry, dpiScale, parent);
}

} // namespace kvet
