#include "panels/recent_payments.h"

#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/query.h"
#include "data/regional_format.h"
#include "panels/cell_writer.h"
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
        // The grid has 15 rows; a server that ignores "top 15" must not write past them.
        for (int row = 0; !query.eof() && row < kTickerRows; ++row) {
            auto text = [&](const char* column) { return query.fieldByName(QString::fromUtf8(column)).asString(); };
            const QString serial = text("lsh");
            const QString account = text("tzh");
            const QString holder = text("hm");
            const QString address = QStringLiteral("  ") + text("dz");
            const QString amount =
                QStringLiteral("     ") + formatFixed(query.fieldByName(QStringLiteral("je")).asFloat(), 10, 2);
            const QString paidAt = text("rq");
            const QString channel = text("ren");
            const QString row7[kTickerColumns] = {serial, account, holder, address, amount, paidAt, channel};
            for (int column = 0; column < kTickerColumns; ++column)
                cells.setCell(column, row, row7[column]);
            query.next();
        }
    } catch (const std::exception& e) {
        status.showStatus(messageOf(e));
        connection.close();
    }
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
