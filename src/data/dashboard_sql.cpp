#include "data/dashboard_sql.h"

namespace kvet {

namespace {

// The stored texts break lines wherever the server's editor left them: after
// "[dbo].", before a "when", between CONVERT or varchar and its parenthesis.
// Blank runs and the tab in Memo1 are white space to the server too.

const char* const kJfqdLines[] = {
    "CREATE VIEW [dbo].",
    "[V_W_dsj_jfqd] AS select count(*) hj,ren from (select case ren",
    "  when '006' then '建行渠道' when 'GDYH' THEN '光大渠道'",
    "  when 'ZFB' then '支付宝' when '006' then '建行'",
    "  when '006YNT' then '裕农通' when 'nyyh' then '农行'",
    "  when 'gsyh' then '工行' when 'xys' then '信用社'",
    "  when 'ycyh' then '邮储渠道' when 'wx' then '公众号'\telse '营业厅' end ren",
    "from sf_sr where rq>=getdate()-30 and rq< getdate()+1 and je<>0) sf_sr group by ren",
};

const char* const kJd1Lines[] = {
    "CREATE VIEW [dbo].",
    "[V_W_dsj_jd1] AS",
    "Select rq,sum(je) je from (select CONVERT",
    "(varchar(6), rq, 112) rq ,je from sf_sr",
    "where rq>=CONVERT (varchar(4), getdate (), 112)+'0101' and rq<CONVERT(varchar",
    "(4),DATEADD(year, 1 ,getdate()), 112)+'0101') a group by rq",
};

const char* const kJd2HeaderLines[] = {
    "CREATE VIEW [dbo].",
    "[V_W_dsj_jd2] AS",
};

// The block for January; every other month is the same text with its two
// digits in the three month terms +'01'.
const char* const kJd2JanuaryBlockLines[] = {
    "select a.jfsj,a.sf yf,b.sf sf,c.sf tq,c.sf/a.sf bl from (select jfsj,sum(sf) sf from sf_yhsf",
    "where jfsj=CONVERT(varchar (4), getdate(), 112)+'01'and cbch>0 and sf>0 and yhls=2 and "
    "not fph='拖欠' group by jfsj) a",
    "left join (select jfsj,sum(sf) sf from sf_yhsf",
    "where jfsj=CONVERT(varchar (4), getdate(), 112)+'01'and cbch>0 and sf>0 and yhls=2 and "
    "jfzt='已缴' group by jfsj) b on (a.jfsj=b.jfsj)",
    "left join (select jfsj,sum(sf) sf from sf_yhsf",
    "where jfsj=CONVERT(varchar (4), getdate(), 112)+'01'and cbch>0 and sf>0 and yhls=2 and "
    "jfzt='未缴' group by jfsj) c on( b.jfsj=c.jfsj)",
};

const char* const kYslbLines[] = {
    "CREATE VIEW [dbo].",
    "[V_W_dsj_yslb] AS",
    "SELECT     TOP (100) PERCENT YSLB 用水类别, COUNT(*) AS 数量",
    "FROM         dbo.Sf_yh",
    "WHERE     (CBCH > 0)",
    "GROUP BY YSLB",
};

template <std::size_t N>
void append(QStringList& lines, const char* const (&source)[N])
{
    for (const char* line : source)
        lines << QString::fromUtf8(line);
}

QStringList jd2Lines()
{
    QStringList lines;
    append(lines, kJd2HeaderLines);
    QStringList january;
    append(january, kJd2JanuaryBlockLines);
    const QString januaryTerm = QStringLiteral("+'01'");
    for (int month = 1; month <= 12; ++month) {
        if (month > 1)
            lines << QStringLiteral("union");
        const QString term = QStringLiteral("+'%1'").arg(month, 2, 10, QLatin1Char('0'));
        for (const QString& line : january)
            lines << QString(line).replace(januaryTerm, term);
    }
    return lines;
}

} // namespace

QString viewName(ReportingView view)
{
    switch (view) {
    case ReportingView::Jfqd: return QStringLiteral("V_W_dsj_jfqd");
    case ReportingView::Jd1: return QStringLiteral("V_W_dsj_jd1");
    case ReportingView::Jd2: return QStringLiteral("V_W_dsj_jd2");
    case ReportingView::Yslb: return QStringLiteral("V_W_dsj_yslb");
    }
    return {};
}

QStringList viewDefinitionLines(ReportingView view)
{
    QStringList lines;
    switch (view) {
    case ReportingView::Jfqd: append(lines, kJfqdLines); break;
    case ReportingView::Jd1: append(lines, kJd1Lines); break;
    case ReportingView::Jd2: lines = jd2Lines(); break;
    case ReportingView::Yslb: append(lines, kYslbLines); break;
    }
    return lines;
}

QString viewDefinitionText(ReportingView view)
{
    return viewDefinitionLines(view).join(QStringLiteral("\r\n"));
}

} // namespace kvet
