#include "data/dashboard_sql.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using kvet::ReportingView;

namespace {

QString folded(const QString& text)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    return QString(text).replace(whiteSpace, QStringLiteral(" ")).trimmed();
}

// The definitions as the server's documentation writes them, on one line.
const char* const kJfqdOneLine =
    "CREATE VIEW [dbo]. [V_W_dsj_jfqd] AS select count(*) hj,ren from (select case ren when "
    "'006' then '建行渠道' when 'GDYH' THEN '光大渠道' when 'ZFB' then '支付宝' when '006' then '建行' when "
    "'006YNT' then '裕农通' when 'nyyh' then '农行' when 'gsyh' then '工行' when 'xys' then '信用社' when "
    "'ycyh' then '邮储渠道' when 'wx' then '公众号' else '营业厅' end ren from sf_sr where "
    "rq>=getdate()-30 and rq< getdate()+1 and je<>0) sf_sr group by ren";

const char* const kJd1OneLine =
    "CREATE VIEW [dbo]. [V_W_dsj_jd1] AS Select rq,sum(je) je from (select CONVERT (varchar(6), "
    "rq, 112) rq ,je from sf_sr where rq>=CONVERT (varchar(4), getdate (), 112)+'0101' and "
    "rq<CONVERT(varchar (4),DATEADD(year, 1 ,getdate()), 112)+'0101') a group by rq";

const char* const kJd2Header = "CREATE VIEW [dbo]. [V_W_dsj_jd2] AS";
const char* const kJd2JanuaryBlock =
    "select a.jfsj,a.sf yf,b.sf sf,c.sf tq,c.sf/a.sf bl from (select jfsj,sum(sf) sf from "
    "sf_yhsf where jfsj=CONVERT(varchar (4), getdate(), 112)+'01'and cbch>0 and sf>0 and yhls=2 "
    "and not fph='拖欠' group by jfsj) a left join (select jfsj,sum(sf) sf from sf_yhsf where "
    "jfsj=CONVERT(varchar (4), getdate(), 112)+'01'and cbch>0 and sf>0 and yhls=2 and jfzt='已缴' "
    "group by jfsj) b on (a.jfsj=b.jfsj) left join (select jfsj,sum(sf) sf from sf_yhsf where "
    "jfsj=CONVERT(varchar (4), getdate(), 112)+'01'and cbch>0 and sf>0 and yhls=2 and jfzt='未缴' "
    "group by jfsj) c on( b.jfsj=c.jfsj)";

const char* const kYslbOneLine =
    "CREATE VIEW [dbo]. [V_W_dsj_yslb] AS SELECT TOP (100) PERCENT YSLB 用水类别, COUNT(*) AS 数量 "
    "FROM dbo.Sf_yh WHERE (CBCH > 0) GROUP BY YSLB";

QString jd2OneLine()
{
    QStringList blocks;
    for (int month = 1; month <= 12; ++month) {
        const QString mm = QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
        blocks << QString::fromUtf8(kJd2JanuaryBlock)
                      .replace(QStringLiteral("+'01'"), QStringLiteral("+'%1'").arg(mm));
    }
    return QString::fromUtf8(kJd2Header) + ' ' + blocks.join(QStringLiteral(" union "));
}

QString oneLineForm(ReportingView view)
{
    switch (view) {
    case ReportingView::Jfqd: return QString::fromUtf8(kJfqdOneLine);
    case ReportingView::Jd1: return QString::fromUtf8(kJd1OneLine);
    case ReportingView::Jd2: return jd2OneLine();
    case ReportingView::Yslb: return QString::fromUtf8(kYslbOneLine);
    }
    return {};
}

class ViewDefinitionTest : public ::testing::TestWithParam<ReportingView> {};

} // namespace

TEST_P(ViewDefinitionTest, FoldsToTheDocumentedStatement)
{
    EXPECT_EQ(folded(kvet::viewDefinitionText(GetParam())).toStdString(),
              oneLineForm(GetParam()).toStdString());
}

TEST_P(ViewDefinitionTest, IsStoredOnSeveralLinesJoinedByCrLf)
{
    const QStringList lines = kvet::viewDefinitionLines(GetParam());
    ASSERT_GT(lines.size(), 1);
    EXPECT_EQ(kvet::viewDefinitionText(GetParam()), lines.join(QStringLiteral("\r\n")));
    EXPECT_TRUE(kvet::viewDefinitionText(GetParam()).startsWith(QStringLiteral("CREATE VIEW ")));
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << line.toStdString();
}

TEST_P(ViewDefinitionTest, NoWhiteSpaceRunInsideAStringLiteral)
{
    const QString text = kvet::viewDefinitionText(GetParam());
    bool inLiteral = false;
    int literals = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '\'') {
            inLiteral = !inLiteral;
            literals += inLiteral ? 1 : 0;
            continue;
        }
        if (!inLiteral)
            continue;
        EXPECT_FALSE(c == '\r' || c == '\n' || c == '\t') << "line break in literal " << literals;
        EXPECT_FALSE(c == ' ' && i + 1 < text.size() && text.at(i + 1) == ' ')
            << "blank run in literal " << literals;
    }
    EXPECT_FALSE(inLiteral) << "unterminated literal";
}

INSTANTIATE_TEST_SUITE_P(AllViews, ViewDefinitionTest, ::testing::ValuesIn(kvet::kAllReportingViews),
                         [](const ::testing::TestParamInfo<ReportingView>& test) {
                             return kvet::viewName(test.param).toStdString();
                         });

TEST(ViewDefinitions, Jd2HasTwelveMonthBlocksInOrder)
{
    const QStringList blocks =
        folded(kvet::viewDefinitionText(ReportingView::Jd2)).split(QStringLiteral(" union "));
    ASSERT_EQ(blocks.size(), 12);
    for (int month = 1; month <= 12; ++month) {
        const QString term = QStringLiteral("+'%1'and").arg(month, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(blocks.at(month - 1).count(term), 3) << month;
    }
}
