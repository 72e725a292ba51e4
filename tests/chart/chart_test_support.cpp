#include "chart_test_support.h"

#include <QFont>
#include <algorithm>
#include <cmath>

namespace kvet::chart::test {

void useDashboardFonts()
{
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("黑体"), QStringLiteral("WenQuanYi Micro Hei"));
        return true;
    }();
    (void)done;
}

int colorDistance(const QColor& a, const QColor& b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

QColor pixelAt(const QImage& image, QPointF at)
{
    const double dpr = image.devicePixelRatio();
    const int x = int(std::floor(at.x() * dpr)), y = int(std::floor(at.y() * dpr));
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return {};
    return image.pixelColor(x, y);
}

void fillRealistic(Chart& chart, int number)
{
    auto month = [](int m) { return QStringLiteral("%1月").arg(m, 2, 10, QLatin1Char('0')); };
    switch (number) {
    case 1: {
        chart.setTitle(QStringLiteral("近30天缴费渠道占比"));
        Series& s = chart.series(0);
        s.clear();
        const QStringList labels{"微信", "柜台", "支付宝", "银行代扣", "自助终端", "网上营业厅"};
        const double values[] = {8120, 5230, 3410, 1520, 410, 260};
        for (int i = 0; i < 6; ++i)
            s.add(values[i], labels[i], kAutoColor);
        break;
    }
    case 2: {
        chart.setTitle(QStringLiteral("2024年度收费情况(单位:万元)"));
        Series& s = chart.series(0);
        s.clear();
        const double values[] = {245, 231, 268, 252, 281, 307, 334, 329, 296, 271, 258, 262};
        for (int i = 0; i < 12; ++i)
            s.add(values[i], month(i + 1), QColor(0xFF, 0xFF, 0x00));
        break;
    }
    case 3: {
        chart.setTitle(QStringLiteral("每日抄表工作量"));
        Series& s = chart.series(0);
        s.clear();
        const double values[] = {312, 845, 903, 760, 88,  0,   655, 720, 811, 640, 590, 120, 35,
                                 702, 688, 931, 874, 702, 150, 20,  610, 733, 802, 799, 540};
        for (int i = 0; i < 25; ++i)
            s.add(values[i], QStringLiteral("%1日").arg(i + 1), QColor(0xFF, 0x82, 0x00));
        break;
    }
    case 4: {
        chart.setTitle(QStringLiteral("2024年度水费回收情况(单位:万元)"));
        Series& collected = chart.series(0);
        Series& unpaid = chart.series(1);
        collected.clear();
        unpaid.clear();
        const double sf[] = {238, 226, 251, 244, 262, 281, 298, 290, 240};
        const double tq[] = {4, 6, 9, 12, 15, 22, 31, 48, 76};
        for (int i = 0; i < 9; ++i) {
            collected.add(sf[i], month(i + 1), QColor(0xFF, 0x82, 0x00));
            unpaid.add(tq[i], QStringLiteral("未交\r") + month(i + 1), QColor(0xFF, 0xFF, 0x00));
        }
        break;
    }
    case 5: {
        chart.setTitle(QStringLiteral("用水类别占比"));
        Series& s = chart.series(0);
        s.clear();
        const QStringList labels{"居民生活用水", "非居民用水", "行政事业用水", "特种行业用水", "消防用水"};
        const double values[] = {45210, 3820, 620, 150, 130};
        for (int i = 0; i < 5; ++i)
            s.add(values[i], labels[i], kAutoColor);
        break;
    }
    case 6: {
        chart.setTitle(QStringLiteral("抄录状态统计"));
        Series& s = chart.series(0);
        s.clear();
        s.add(32840, QStringLiteral("已录入"), kAutoColor);
        s.add(12160, QStringLiteral("未录入"), kAutoColor);
        break;
    }
    default:
        break;
    }
}

} // namespace kvet::chart::test
