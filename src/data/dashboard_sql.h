#pragma once
// The dashboard's SQL, all of it T-SQL for SQL Server: every statement the
// panels send, and the four reporting views they read with the CREATE VIEW
// texts the view repair executes when one is missing. The demo database's
// SQLite equivalents are keyed on these texts. UTF-8 source text.
#include <QString>
#include <QStringList>
#include <array>

namespace kvet {

// The reporting views and their definitions (the window's hidden memos Memo1
// to Memo4), kept line by line as stored, with line breaks and blank runs only
// between tokens.
enum class ReportingView {
    Jfqd, // V_W_dsj_jfqd, Memo1: payments of the last 30 days by channel
    Jd1,  // V_W_dsj_jd1,  Memo2: payments per month of the current year
    Jd2,  // V_W_dsj_jd2,  Memo3: billed, paid and unpaid water fee per month
    Yslb, // V_W_dsj_yslb, Memo4: metered accounts per water-use category
};

inline constexpr std::array<ReportingView, 4> kAllReportingViews{
    ReportingView::Jfqd, ReportingView::Jd1, ReportingView::Jd2, ReportingView::Yslb};

// "V_W_dsj_jfqd" and so on, as the panels' statements name them.
QString viewName(ReportingView view);

// The stored lines of the definition, without line ends.
QStringList viewDefinitionLines(ReportingView view);

// The text executed: the stored lines joined by CR LF.
QString viewDefinitionText(ReportingView view);

} // namespace kvet

// Every statement the panels send, exactly as the server receives it (double
// blanks, tabs and the trailing blank included).
namespace kvet::statements {

// Start-up probe: the utility's name for the banner.
inline constexpr const char* kProbe = "select zls,help from sf_sb_";

inline constexpr const char* kPaymentChannels = "select  * from V_W_dsj_jfqd order by hj desc";
inline constexpr const char* kWaterUseCategories =
    "select  * from V_W_dsj_yslb where 数量>100 order by 数量 desc";
inline constexpr const char* kReadingStatus =
    "select '已录入' zt, count(*) lr from sf_yh where lrzt=1 and cbch>0 UNION select  '未录入', "
    "count(*)  from sf_yh where not lrzt=1 and cbch>0 ";
inline constexpr const char* kYearlyCharges = "select rq,je/10000 je from V_W_dsj_jd1 order by rq";
inline constexpr const char* kFeeRecovery =
    "select jfsj,yf/10000 yf,sf/10000 sf,tq/10000 tq,bl*100 bl from V_W_dsj_jd2 order by jfsj";
inline constexpr const char* kDailyWorkload =
    "select cbrq1,COUNT(*) hj from (select CONVERT(varchar(100), lrrq1, 12) as cbrq1 ,tzh from sf_yh "
    "where lrzt=1 and CBCH>0 ) a group by cbrq1 order by cbrq1";

// The ticker's statement is assembled in its query's text from three pieces,
// each appended to the text read back, so the sent text is the three pieces
// each followed by CR LF.
inline constexpr const char* kTickerPiece1 =
    "select top 15 lsh,a.tzh,hm,dz,je, case ren when '006' then  '建行渠道'  when 'GDYH' THEN "
    "'光大渠道'   when 'ZFB' then   '支付宝'  ";
inline constexpr const char* kTickerPiece2 =
    "  when '006' then   '建行'   when '006YNT' then   '裕农通' when'nyyh' then   '农行' "
    "when'gsyh' then   '工行' ";
inline constexpr const char* kTickerPiece3 =
    "when'xys' then   '信用社'when'ycyh' then   '邮储渠道'when'wx' then   '公众号'     else  "
    "'营业厅'\t end  ren ,rq from sf_sr a,sf_yh b where a.tzh=b.tzh and je<>0 order by lsh desc";

// The ticker statement as it reaches the server.
inline QString tickerStatement()
{
    return QString::fromUtf8(kTickerPiece1) + "\r\n" + QString::fromUtf8(kTickerPiece2) + "\r\n" +
           QString::fromUtf8(kTickerPiece3) + "\r\n";
}

// Not a panel's: kvet-check's export asks the server's clock with it, so that
// a preview of the exported file reads the 30-day window and the current
// year as the hall did.
inline constexpr const char* kServerClock = "select getdate() now";

} // namespace kvet::statements
