#include "panels/recent_payments.h"

#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/query.h"
#include "data/regional_format.h"
#include "panels/cell_writer.h"
#include "panels/panel_table.h"
#include "panels/status_cell.h"

namespace kvet::panels {

void refillRecentPayments(Query& query, Connection& connection, CellWriter& cells, StatusCell& status)
{
    try {
        query.close();
        // Assembled in the query's own text: each piece is appended to the text
        // read back, which ends with a line break.
        query.setSql(QString::fromUtf8(statements::kTickerPiece1));
        query.setSql(query.sql() + QString::fromUtf8(statements::kTickerPiece2));
        query.setSql(query.sql() + QString::fromUtf8(statements::kTickerPiece3));
        query.open();
        // Each cell is written as soon as its column is read: a value that
        // fails half-way through a row leaves the cells before it written,
        // and the status cell says what failed. A server that ignores
        // "top 15" must not write past the grid's rows.
        for (int row = 0; !query.eof() && row < cells.rowCount(); ++row) {
            auto text = [&](const char* column) { return query.fieldByName(QString::fromUtf8(column)).asString(); };
            cells.setCell(0, row, text("lsh"));
            cells.setCell(1, row, text("tzh"));
            cells.setCell(2, row, text("hm"));
            cells.setCell(3, row, QStringLiteral("  ") + text("dz"));
            cells.setCell(4, row, QStringLiteral("     ") +
                                      formatFixed(query.fieldByName(QStringLiteral("je")).asFloat(), 10, 2));
            cells.setCell(5, row, text("rq"));
            cells.setCell(6, row, text("ren"));
            query.next();
        }
    } catch (const std::exception& e) {
        status.showStatus(messageOf(e));
        connection.close();
    }
}

void refillTicker(const PanelEntry&, PanelRun& run)
{
    refillRecentPayments(run.query, run.connection, *run.cells, run.status);
}

void scrollRecentPayments(TickerBand& band, const std::function<void()>& refill)
{
    if (band.gridTop() + band.gridHeight() > 50) {
        band.setGridTop(band.gridTop() - 1);
        return;
    }
    band.setGridTop(band.bandHeight() - 10);
    refill();
}

} // namespace kvet::panels
