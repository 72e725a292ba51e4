#include "check/check_statements.h"

#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/field.h"
#include "data/query.h"
#include "panels/point_labels.h"

namespace kvet::check {
namespace {

// Longest cell text shown in a first row, in characters.
constexpr qsizetype kShownValueLength = 60;

QString utf8(const char* text) { return QString::fromUtf8(text); }

void read(const Query& query, const ColumnRead& r)
{
    const Field field = query.fieldByName(r.column);
    switch (r.as) {
    case ReadAs::Integer:
        field.asInteger();
        break;
    case ReadAs::Float:
        field.asFloat();
        break;
    case ReadAs::Text:
        field.asString();
        break;
    case ReadAs::DayOfMonth:
        panels::dayOfMonth(field.asString());
        break;
    }
}

QStringList statementLines(const QString& text)
{
    QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

// The current row's shown columns as text; a column the result lacks (only
// possible for one the panel does not read) is left out.
void currentRow(const Query& query, const QStringList& shown, QStringList& columns, QStringList& values)
{
    for (const QString& column : shown) {
        try {
            const Field field = query.fieldByName(column);
            values << (field.isNull() ? QStringLiteral("NULL") : field.asString());
            columns << column;
        } catch (const std::exception&) {
        }
    }
}

} // namespace

std::vector<DashboardStatement> dashboardStatements(const panels::PanelTable& table)
{
    // The probe is the banner's, not a panel's: it runs before the batches.
    std::vector<DashboardStatement> all{
        {QStringLiteral("启动探测"), QStringLiteral("ADOQuery1"), utf8(statements::kProbe), {},
         {{QStringLiteral("zls"), ReadAs::Text}}, std::nullopt, {QStringLiteral("zls"), QStringLiteral("help")}}};
    for (const panels::PanelEntry& e : table)
        all.push_back({e.title, e.queryName, e.statement, e.reads, e.firstRowReads, e.view, e.shown});
    return all;
}

QString describeRow(const QStringList& columns, const QStringList& values)
{
    QStringList parts;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        QString value = i < values.size() ? values[i] : QString();
        value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (value.size() > kShownValueLength)
            value = value.left(kShownValueLength) + QStringLiteral("…");
        if (value.isEmpty())
            value = QStringLiteral("（空）");
        parts << columns[i] + QLatin1Char('=') + value;
    }
    return parts.join(QStringLiteral("，"));
}

int checkStatements(Connection& connection, const QSet<ReportingView>& missingViews, Report& report,
                    const panels::PanelTable& table)
{
    int failed = 0;
    for (const DashboardStatement& s : dashboardStatements(table)) {
        const QString label = QStringLiteral("%1（%2）").arg(s.title, s.queryName);
        Query query(s.queryName, connection);
        std::size_t row = 0;
        bool inRows = false;
        QStringList columns, firstRow;
        try {
            query.setSql(s.text);
            query.open();
            for (const ColumnRead& r : s.firstRowReads)
                read(query, r);
            // Also with no row: a column the panel reads must exist.
            for (const ColumnRead& r : s.reads)
                query.fieldByName(r.column);
            inRows = true;
            for (; !query.eof(); query.next(), ++row) {
                if (row == 0)
                    currentRow(query, s.shown, columns, firstRow);
                for (const ColumnRead& r : s.reads)
                    read(query, r);
            }
        } catch (const std::exception& e) {
            ++failed;
            const QString where = inRows ? QStringLiteral("第 %1 行：").arg(row + 1) : QString();
            if (s.view && missingViews.contains(*s.view))
                report.info(label + QStringLiteral("：视图 %1 不存在（见上）：").arg(viewName(*s.view)) + messageOf(e));
            else
                report.error(label + QStringLiteral("：") + where + messageOf(e), statementLines(query.sql()));
            continue;
        }
        QString text = label + QStringLiteral("：%1 行").arg(row);
        if (row > 0)
            text += QStringLiteral("；第一行：") + describeRow(columns, firstRow);
        report.ok(text);
    }
    return failed;
}

} // namespace kvet::check
