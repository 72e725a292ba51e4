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

class ViewDefinitionTest : public ::testing::TestWithParam<ReportingView> {};

} // namespace

// The repair must create the very view the failed statement reads; what the
// views return is checked by running them (view_semantics_test, the stand-in).
TEST_P(ViewDefinitionTest, CreatesTheViewOfItsName)
{
    const QString head = QStringLiteral("CREATE VIEW [dbo]. [%1] AS ").arg(kvet::viewName(GetParam()));
    EXPECT_TRUE(folded(kvet::viewDefinitionText(GetParam())).startsWith(head)) << head.toStdString();
    EXPECT_EQ(folded(kvet::viewDefinitionText(GetParam())).count(QStringLiteral("CREATE VIEW")), 1);
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
