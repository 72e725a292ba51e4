// The snapshot's JSON: shape, colours and escaping that any reader parses back.
#include "app/snapshot.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

TEST(SnapshotJson, ShapeColoursAndNumbers)
{
    ScreenState s;
    s.banner = QStringLiteral("澜川市自来水公司营业收费指标");
    s.status = QStringLiteral("Login failed for user 'sa'");
    ChartState c;
    c.name = "Chart4";
    c.title = QStringLiteral("水费回收情况");
    c.series.push_back({"Series4", {{300, "202201", QColor(0xFF, 0xFF, 0xFF)}, {12.25, "x", QColor(0xFF, 0x82, 0x00)}}});
    c.series.push_back({"Series6", {{10, QStringLiteral("未交\r01月"), chart::kAutoColor}}});
    s.charts.push_back(c);
    s.grid.push_back({"1", "2", "3", "4", "5", "6", "7"});
    const QByteArray json = snapshotJson(s);
    EXPECT_TRUE(json.contains("{\"value\": 300.0, \"label\": \"202201\", \"color\": \"#FFFFFF\"}"));
    EXPECT_TRUE(json.contains("\"color\": \"#FF8200\""));
    EXPECT_TRUE(json.contains("\"color\": \"auto\""));
    EXPECT_TRUE(json.contains("未交\\r01月"));
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(root["banner"].toString(), s.banner);
    const QJsonArray lower = root["charts"]["Chart4"]["series"]["Series4"].toArray();
    EXPECT_EQ(lower[1].toObject()["value"].toDouble(), 12.25);
    EXPECT_EQ(root["grid"].toArray()[0].toArray()[6].toString(), QStringLiteral("7"));
}

TEST(SnapshotJson, EveryTextSurvivesTheRoundTrip)
{
    const QString texts[] = {QStringLiteral("quote \" backslash \\ slash /"), QString(QChar(0)) + QStringLiteral("\x01\x1f\t\n\b\f"),
                             QStringLiteral("𝄞 emoji 😀"), QString(QChar(0xD800)) + "lone",
                             QStringLiteral("中文\r换行")};
    for (const QString& t : texts) {
        const QByteArray doc = "[" + jsonString(t) + "]";
        QJsonParseError error;
        const QJsonArray a = QJsonDocument::fromJson(doc, &error).array();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << doc.toStdString();
        if (!t.contains(QChar(0xD800))) {
            EXPECT_EQ(a[0].toString(), t);
        }
    }
}

} // namespace
