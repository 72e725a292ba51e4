// Date-times read as text in the machine's regional formats: short date and
// long time without a time zone, and a Chinese (PRC) Windows PC's defaults on a
// machine without regional settings.
#include "data/regional_format.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace kvet {
namespace {

const QDateTime kMorning(QDate(2025, 3, 7), QTime(9, 5, 3));
const QDateTime kEvening(QDate(2025, 3, 7), QTime(21, 5, 3));

struct LocaleCase {
    const char* name;
    const char* morning;
    const char* evening;
};

class DateTimeInLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(DateTimeInLocale, ReadsAsItsOwnLongTimeWithoutAZone)
{
    const QLocale locale(QString::fromLatin1(GetParam().name));
    EXPECT_EQ(formatDateTime(kMorning, locale), QString::fromUtf8(GetParam().morning));
    EXPECT_EQ(formatDateTime(kEvening, locale), QString::fromUtf8(GetParam().evening));
    EXPECT_EQ(formatDateTime(QDateTime(kMorning.date(), QTime(0, 0)), locale),
              QString::fromUtf8(GetParam().morning).section(QLatin1Char(' '), 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Locales, DateTimeInLocale,
                         ::testing::Values(LocaleCase{"zh_CN", "2025/3/7 09:05:03", "2025/3/7 21:05:03"},
                                         LocaleCase{"zh_TW", "2025/3/7 上午9:05:03", "2025/3/7 下午9:05:03"},
                                         LocaleCase{"en_US", "3/7/25 9:05:03 AM", "3/7/25 9:05:03 PM"},
                                         LocaleCase{"de_DE", "07.03.25 09:05:03", "07.03.25 21:05:03"},
                                         // no regional settings: a Chinese Windows PC
                                         LocaleCase{"C", "2025/3/7 9:05:03", "2025/3/7 21:05:03"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(LongTimeWithoutZone, TakesOutTheZoneWithWhatOnlySetsItApart)
{
    EXPECT_EQ(longTimeWithoutZone("t HH:mm:ss"), QString("HH:mm:ss"));
    EXPECT_EQ(longTimeWithoutZone("h:mm:ss AP t"), QString("h:mm:ss AP"));
    EXPECT_EQ(longTimeWithoutZone("Bh:mm:ss [t]"), QString("APh:mm:ss"));
    EXPECT_EQ(longTimeWithoutZone("H:mm:ss (t)"), QString("H:mm:ss"));
    EXPECT_EQ(longTimeWithoutZone("h:mm:ss AP, t"), QString("h:mm:ss AP"));
    EXPECT_EQ(longTimeWithoutZone("HH:mm t ss"), QString("HH:mm ss"));
    EXPECT_EQ(longTimeWithoutZone("tttt HH:mm:ss"), QString("HH:mm:ss"));
    // quoted text is no pattern letter, zone or day period
    EXPECT_EQ(longTimeWithoutZone("'kl'. HH:mm:ss t"), QString("'kl'. HH:mm:ss"));
    EXPECT_EQ(longTimeWithoutZone("HH 'h' mm 'Bt' ss 's' t"), QString("HH 'h' mm 'Bt' ss 's'"));
    EXPECT_EQ(longTimeWithoutZone("H:mm:ss"), QString("H:mm:ss"));
}

// Every locale Qt knows: the long time keeps its digits and loses its zone.
TEST(LongTimeWithoutZone, EveryKnownLocaleReadsWithoutAZoneOrStrayLetters)
{
    const QLocale c = QLocale::c();
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        const DateTimeFormats formats = dateTimeFormatsOf(locale);
        const QString text = formats.locale.toString(QTime(9, 5, 3), formats.longTime);
        SCOPED_TRACE(locale.name().toStdString() + " " + formats.longTime.toStdString());
        EXPECT_EQ(text, text.trimmed());
        for (const char* stray : {"UTC", "GMT", "[", "]", "()"})
            EXPECT_FALSE(text.contains(QLatin1String(stray))) << text.toStdString();
        QString unquoted = formats.longTime;
        unquoted.remove(QRegularExpression(QStringLiteral("'[^']*'")));
        EXPECT_FALSE(unquoted.contains(QLatin1Char('t')) || unquoted.contains(QLatin1Char('B')));
        EXPECT_FALSE(text.endsWith(QLatin1Char(','))) << text.toStdString();
    }
    EXPECT_EQ(dateTimeFormatsOf(c).shortDate, QString("yyyy/M/d"));
}

} // namespace
} // namespace kvet
