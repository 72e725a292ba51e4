#include "chart/colors.h"

#include <algorithm>

namespace kvet::chart {

const std::array<QColor, 12>& slicePalette()
{
    static const std::array<QColor, 12> palette{
        QColor(0x44, 0x66, 0xA3), QColor(0xF3, 0x9C, 0x35), QColor(0xF1, 0x4C, 0x14),
        QColor(0x4E, 0x97, 0xA8), QColor(0x2B, 0x40, 0x6B), QColor(0x1D, 0x7B, 0x63),
        QColor(0xB3, 0x08, 0x0E), QColor(0xF2, 0xC0, 0x5D), QColor(0x5D, 0xB7, 0x9E),
        QColor(0x70, 0x70, 0x70), QColor(0xF3, 0xEA, 0x8D), QColor(0xB4, 0xB4, 0xB4),
    };
    return palette;
}

QColor colorFromBgr(std::uint32_t bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

QColor pointColor(const QColor& color, std::size_t index)
{
    if (!color.isValid())
        return slicePalette()[index % slicePalette().size()];
    return color;
}

QColor brighterBy(const QColor& c, int steps)
{
    auto up = [steps](int v) { return std::clamp(v + steps, 0, 255); };
    return QColor(up(c.red()), up(c.green()), up(c.blue()), c.alpha());
}

QColor shaded(const QColor& c, double factor)
{
    auto mul = [factor](int v) { return std::clamp(int(v * factor + 0.5), 0, 255); };
    return QColor(mul(c.red()), mul(c.green()), mul(c.blue()), c.alpha());
}

QColor blended(const QColor& top, double opacity, const QColor& below)
{
    auto mix = [opacity](int a, int b) { return std::clamp(int(a * opacity + b * (1 - opacity) + 0.5), 0, 255); };
    return QColor(mix(top.red(), below.red()), mix(top.green(), below.green()), mix(top.blue(), below.blue()));
}

} // namespace kvet::chart
