#include "screen/appearance.h"

namespace kvet::appearance {

QFont heiti(int pixelSize)
{
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(pixelSize);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    return f;
}

void registerFontSubstitutes()
{
    // Windows knows both faces by these names (SimHei, SimSun); elsewhere the
    // first installed face of each list stands in. fontconfig alone maps the
    // Chinese names to a Latin face, which would draw boxes.
    QFont::insertSubstitutions(QStringLiteral("黑体"),
                               {QStringLiteral("SimHei"), QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei")});
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
}

} // namespace kvet::appearance
