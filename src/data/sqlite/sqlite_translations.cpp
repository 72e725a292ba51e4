#include "data/sqlite/sqlite_translations.h"

#include "data/dashboard_sql.h"

#include <QHash>

namespace kvet::sqlite {

namespace {

// SQL Server compares the datetime column rq with its clock; in the demo
// database rq is local-time text, normalised by kvet_datetime() so that a
// value written with a 'T' or with fractions of a second still compares by
// time, and one that is no real date and time (2025-02-30) is NULL, as a
// datetime column cannot hold it.
//
// Amounts are money there: kvet_money() takes them as whole ten-thousandths,
// sums are exact and come back as decimal text, and divisions keep four
// decimals (sqlite_functions.h). Texts compare, group and join under
// COLLATE kvet_ci, without regard to letter case or trailing blanks, as under
// the server's Chinese_PRC_CI_AS; that matters for data exported from
// fixed-width char columns or typed by hand.
//
// getdate()-30 and getdate()+1 are whole days off the current moment, time
// of day kept; style 112 is yyyymmdd and style 12 is yymmdd.

// The channel label mapping, codes in the order of the stored statements:
// '006' is listed twice, and the first branch decides. 'WX' and 'wx  ' are
// 'wx' under the collation.
QString channelCase(const QString& column)
{
    return QStringLiteral("case %1 COLLATE kvet_ci when '006' then '建行渠道' when 'GDYH' then '光大渠道' "
                          "when 'ZFB' then '支付宝' when '006' then '建行' "
                          "when '006YNT' then '裕农通' when 'nyyh' then '农行' "
                          "when 'gsyh' then '工行' when 'xys' then '信用社' "
                          "when 'ycyh' then '邮储渠道' when 'wx' then '公众号' "
                          "else '营业厅' end")
        .arg(column);
}

QString now()
{
    return QStringLiteral("%1()").arg(QLatin1String(kNowFunction));
}

// The rows of sf_sr whose rq may lie from the day from up to before the day
// until, found through the index on rq (binary text order): a date-time text
// begins with its date, so it sorts from the day's text on; one written with
// blanks before it sorts before '0-' and is taken as well ('0-', not '0':
// rq is declared DATETIME, and '0' would be compared as the number 0). The
// exact test on kvet_datetime(rq) follows; this only spares it other days.
QString rqCandidates(const QString& from, const QString& until)
{
    return QStringLiteral("(sf_sr.rq < '0-' or (sf_sr.rq >= %1 and sf_sr.rq < %2))").arg(from, until);
}

QString jfqdView()
{
    return QStringLiteral("CREATE VIEW V_W_dsj_jfqd AS "
                          "select count(*) AS hj, ren from ("
                          "select %1 AS ren from sf_sr "
                          "where %3 and kvet_datetime(sf_sr.rq) >= datetime(%2, '-30 days') "
                          "and kvet_datetime(sf_sr.rq) < datetime(%2, '+1 day') and kvet_money(sf_sr.je)<>0"
                          ") AS sf_sr group by ren")
        .arg(channelCase(QStringLiteral("sf_sr.ren")), now(),
             rqCandidates(QStringLiteral("date(%1, '-30 days')").arg(now()),
                          QStringLiteral("date(%1, '+2 days')").arg(now())));
}

// This year's payments are those whose month (kvet_month: yyyymm of a date
// and time that exists) begins with this year; the month is also the group.
// A year is most of a billing table's payments: reading them in table order
// is about twice as fast as through the index on rq, so this view does not
// narrow them first.
QString jd1View()
{
    return QStringLiteral("CREATE VIEW V_W_dsj_jd1 AS "
                          "select rq, kvet_money_text(sum(kvet_money(je))) AS je from ("
                          "select kvet_month(sf_sr.rq) AS rq, sf_sr.je AS je from sf_sr "
                          "where substr(kvet_month(sf_sr.rq), 1, 4) = strftime('%Y', %1)"
                          ") AS a group by rq")
        .arg(now());
}

// One month of the fee view, read in one pass over the month's rows: the
// three sums of the stored statement (all bills; paid; unpaid) become sums
// over the rows each one takes, so a month's bills are visited once instead
// of three times (FILTER costs fewer steps per row than a CASE inside the
// sum). The sums are money and tq/yf divides as money does. As in the stored
// statement, a month appears only where the first sum has rows, and the
// unpaid sum is joined on the paid one, so it stays NULL in a month without
// paid bills (every row summed has an amount above 0, so a sum is NULL
// exactly where it has no rows).
//
// A jfsj column of numbers compares with the month text as a number, as on
// SQL Server (the collation applies to texts only); one month written
// '202401' and '202401 ' is one group, as there. A month's texts under the
// collation are its six digits followed by blanks only, all sorting between
// '202401' and '202401!': that range lets the month's rows be found through
// the index on jfsj, which the collation by itself cannot use. The month's
// jfsj is that of the first row the first sum takes, in the order the rows
// are read (the index's, or the table's where it is missing), as the grouped
// statement reports it; its own look-up also keeps the column's declared
// type TEXT.
QString jd2Block(int month)
{
    const QString monthTerm =
        QStringLiteral("strftime('%Y', %1) || '%2'").arg(now()).arg(month, 2, 10, QLatin1Char('0'));
    const QString monthRows =
        QStringLiteral("jfsj >= %1 and jfsj < %1 || '!' and jfsj COLLATE kvet_ci = %1 "
                       "and cbch>0 and kvet_money(sf)>0 and yhls=2")
            .arg(monthTerm);
    const QString billed = QStringLiteral("not fph COLLATE kvet_ci = '拖欠'");
    const QString paid = QStringLiteral("jfzt COLLATE kvet_ci = '已缴'");
    const QString unpaid = QStringLiteral("jfzt COLLATE kvet_ci = '未缴'");
    const QString sumOf = QStringLiteral("kvet_money_text(sum(kvet_money(sf)) filter (where %1))");
    return QStringLiteral("select jfsj, yf, sf, case when sf is not null then tq end AS tq, "
                          "kvet_money_div(case when sf is not null then tq end, yf) AS bl from ("
                          "select (select jfsj from sf_yhsf where %1 and %2 limit 1) AS jfsj, "
                          "%3 AS yf, %4 AS sf, %5 AS tq "
                          "from sf_yhsf where %1) where jfsj is not null")
        .arg(monthRows, billed, sumOf.arg(billed), sumOf.arg(paid), sumOf.arg(unpaid));
}

QString jd2View()
{
    QStringList blocks;
    for (int month = 1; month <= 12; ++month)
        blocks << jd2Block(month);
    return QStringLiteral("CREATE VIEW V_W_dsj_jd2 AS ") + blocks.join(QStringLiteral(" union "));
}

// TOP (100) PERCENT without ORDER BY takes every row; dbo.Sf_yh is the table
// sf_yh, as names match without regard to letter case. 'JM', 'jm' and 'JM '
// are one category.
QString yslbView()
{
    return QStringLiteral("CREATE VIEW V_W_dsj_yslb AS "
                          "SELECT YSLB AS 用水类别, COUNT(*) AS 数量 FROM Sf_yh "
                          "WHERE (CBCH > 0) GROUP BY YSLB COLLATE kvet_ci");
}

// Money divided by a whole number keeps four decimals, cut toward zero, and
// reads as exact decimals: a month of 25000.50 yuan is 2.5000, which reads as
// the whole number 2.
QString yearlyCharges()
{
    return QStringLiteral("select rq, kvet_money_div(je, 10000) AS je from V_W_dsj_jd1 order by rq");
}

QString feeRecovery()
{
    return QStringLiteral("select jfsj, kvet_money_div(yf, 10000) AS yf, kvet_money_div(sf, 10000) AS sf, "
                          "kvet_money_div(tq, 10000) AS tq, kvet_money_mul(bl, 100) AS bl "
                          "from V_W_dsj_jd2 order by jfsj");
}

QString dailyWorkload()
{
    return QStringLiteral("select cbrq1, COUNT(*) AS hj from ("
                          "select substr(strftime('%Y%m%d', kvet_datetime(lrrq1)), 3) AS cbrq1, tzh from sf_yh "
                          "where lrzt=1 and CBCH>0) AS a group by cbrq1 order by cbrq1");
}

// top 15 becomes limit 15; the columns named without a table are those of
// the documented tables (lsh, je, ren, rq of sf_sr; hm, dz of sf_yh).
QString ticker()
{
    return QStringLiteral("select a.lsh AS lsh, a.tzh AS tzh, b.hm AS hm, b.dz AS dz, a.je AS je, "
                          "%1 AS ren, a.rq AS rq from sf_sr a, sf_yh b "
                          "where a.tzh = b.tzh COLLATE kvet_ci and kvet_money(a.je)<>0 "
                          "order by a.lsh desc limit 15")
        .arg(channelCase(QStringLiteral("a.ren")));
}

// Keyed on the dashboard's own texts, so that a statement changed there
// cannot leave a stale copy of itself here.
QHash<QString, Translation> buildTable()
{
    QHash<QString, Translation> table;
    auto add = [&table](const QString& tsql, QString sql, QStringList dateTimeColumns = {},
                        QStringList decimalColumns = {}) {
        table.insert(foldWhiteSpace(tsql),
                     Translation{std::move(sql), std::move(dateTimeColumns), std::move(decimalColumns)});
    };
    add(viewDefinitionText(ReportingView::Jfqd), jfqdView());
    add(viewDefinitionText(ReportingView::Jd1), jd1View());
    add(viewDefinitionText(ReportingView::Jd2), jd2View());
    add(viewDefinitionText(ReportingView::Yslb), yslbView());
    add(QString::fromUtf8(statements::kDailyWorkload), dailyWorkload());
    add(QString::fromUtf8(statements::kYearlyCharges), yearlyCharges(), {}, {QStringLiteral("je")});
    add(QString::fromUtf8(statements::kFeeRecovery), feeRecovery(), {},
        {QStringLiteral("yf"), QStringLiteral("sf"), QStringLiteral("tq"), QStringLiteral("bl")});
    add(statements::tickerStatement(), ticker(), {QStringLiteral("rq")});
    add(QString::fromUtf8(statements::kServerClock), QStringLiteral("select %1 AS now").arg(now()),
        {QStringLiteral("now")});
    return table;
}

} // namespace

QString foldWhiteSpace(const QString& statement)
{
    QString out;
    out.reserve(statement.size());
    bool pendingBlank = false;
    for (const QChar c : statement) {
        if (c.isSpace()) {
            pendingBlank = !out.isEmpty();
            continue;
        }
        if (pendingBlank)
            out += QLatin1Char(' ');
        pendingBlank = false;
        out += c;
    }
    return out;
}

const Translation* translationFor(const QString& statement)
{
    static const QHash<QString, Translation> table = buildTable();
    const auto it = table.constFind(foldWhiteSpace(statement));
    return it == table.constEnd() ? nullptr : &it.value();
}

} // namespace kvet::sqlite
