#pragma once
// The four reporting views the dashboard reads, and the CREATE VIEW texts the
// view repair executes when one is missing (the window's hidden memos Memo1 to
// Memo4). The texts are T-SQL for SQL Server; they are kept line by line as
// stored, with line breaks and blank runs only between tokens.
#include <QString>
#include <QStringList>
#include <array>

namespace kvet {

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
