#pragma once
// A scripted database, one connection and the charts the panels fill, with no window.
#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/query.h"
#include "panels/cell_writer.h"
#include "panels/panel_table.h"
#include "panels/status_cell.h"
#include "support/scripted_backend.h"

#include <gtest/gtest.h>

namespace kvet::testing {

struct FakeGrid : StatusCell, CellWriter {
    QString cells[7][15];
    void showStatus(const QString& m) override { cells[0][0] = m; }
    void setCell(int c, int r, const QString& t) override { cells[c][r] = t; }
    QString cell(int c, int r) const override { return cells[c][r]; }
    int rowCount() const override { return 15; }
};

struct PanelFixture : ::testing::Test {
    std::shared_ptr<Script> script = std::make_shared<Script>();
    Connection connection{std::make_unique<ScriptedBackend>(script)};
    Query query{QStringLiteral("ADOQuery1"), connection};
    FakeGrid grid;

    // Runs the table's routine `routineName` on `chart`, with this fixture's
    // query and grid, as the window runs it.
    void refresh(const char* routineName, chart::Chart& chart, const QString& viewDefinition = {})
    {
        const auto& entry = panels::panelByRoutine(panels::dashboardPanels(), QString::fromLatin1(routineName));
        panels::PanelRun run{&chart, query, connection, grid, &grid, &viewDefinition};
        entry.refresh(entry, run);
    }

    static QStringList labels(const chart::Series& s)
    {
        QStringList out;
        for (const auto& p : s.points())
            out << p.label;
        return out;
    }
    static std::vector<double> values(const chart::Series& s)
    {
        std::vector<double> out;
        for (const auto& p : s.points())
            out.push_back(p.value);
        return out;
    }
    void failEveryRun(const QString& message)
    {
        script->onRun = [message](const QString&) -> ResultSet { throw DatabaseError(message); };
    }
};

} // namespace kvet::testing
