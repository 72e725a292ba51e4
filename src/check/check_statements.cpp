#include "check/check_statements.h"

#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/field.h"
#include "data/query.h"

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
        Field(field.asString().right(2), ColumnKind::Text).asInteger();
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

const std::vector<DashboardStatement>& dashboardStatements()
{
    using R = ReadAs;
    static const std::vector<DashboardStatement> all{
        {QStringLiteral("启动探测"), QStringLiteral("ADOQuery1"), utf8(statements::kProbe), {},
         {{QStringLiteral("zls"), R::Text}}, std::nullopt, {QStringLiteral("zls"), QStringLiteral("help")}},
        {QStringLiteral("近30天缴费渠道占比"), QStringLiteral("ADOQuery1"), utf8(statements::kPaymentChannels),
         {{QStringLiteral("hj"), R::Integer}, {QStringLiteral("ren"), R::Text}}, {}, ReportingView::Jfqd,
         {QStringLiteral("hj"), QStringLiteral("ren")}},
        {QStringLiteral("每日抄表工作量"), QStringLiteral("ADOQuery8"), utf8(statements::kDailyWorkload),
         {{QStringLiteral("hj"), R::Integer}, {QStringLiteral("cbrq1"), R::DayOfMonth}}, {}, std::nullopt,
         {QStringLiteral("cbrq1"), QStringLiteral("hj")}},
        {QStringLiteral("年度收费情况"), QStringLiteral("ADOQuery3"), utf8(statements::kYearlyCharges),
         {{QStringLiteral("je"), R::Integer}, {QStringLiteral("rq"), R::Text}}, {{QStringLiteral("rq"), R::Text}},
         ReportingView::Jd1, {QStringLiteral("rq"), QStringLiteral("je")}},
        {QStringLiteral("用水类别占比"), QStringLiteral("ADOQuery6"), utf8(statements::kWaterUseCategories),
         {{QStringLiteral("数量"), R::Integer}, {QStringLiteral("用水类别"), R::Text}}, {}, ReportingView::Yslb,
         {QStringLiteral("用水类别"), QStringLiteral("数量")}},
        {QStringLiteral("最近缴费"), QStringLiteral("ADOQuery5"), statements::tickerStatement(),
         {{QStringLiteral("lsh"), R::Text},
          {QStringLiteral("tzh"), R::Text},
          {QStringLiteral("hm"), R::Text},
          {QStringLiteral("dz"), R::Text},
          {QStringLiteral("je"), R::Float},
          {QStringLiteral("rq"), R::Text},
          {QStringLiteral("ren"), R::Text}},
         {}, std::nullopt,
         {QStringLiteral("lsh"), QStringLiteral("tzh"), QStringLiteral("hm"), QStringLiteral("dz"), QStringLiteral("je"),
          QStringLiteral("ren"), QStringLiteral("rq")}},
        {QStringLiteral("抄录状态统计"), QStringLiteral("ADOQuery7"), utf8(statements::kReadingStatus),
         {{QStringLiteral("lr"), R::Integer}, {QStringLiteral("zt"), R::Text}}, {}, std::nullopt,
         {QStringLiteral("zt"), QStringLiteral("lr")}},
        {QStringLiteral("水费回收情况"), QStringLiteral("ADOQuery4"), utf8(statements::kFeeRecovery),
         {{QStringLiteral("jfsj"), R::Text}, {QStringLiteral("sf"), R::Integer}, {QStringLiteral("tq"), R::Integer}},
         {{QStringLiteral("jfsj"), R::Text}}, ReportingView::Jd2,
         {QStringLiteral("jfsj"), QStringLiteral("yf"), QStringLiteral("sf"), QStringLiteral("tq"), QStringLiteral("bl")}},
    };
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

int checkStatements(Connection& connection, const QSet<ReportingView>& missingViews, Report& report)
{
    int failed = 0;
    for (const DashboardStatement& s : dashboardStatements()) {
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
