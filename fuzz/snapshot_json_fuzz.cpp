// The snapshot writer's JSON. Any text (control characters and lone
// surrogates included) becomes a JSON string that is valid UTF-8 and that a
// JSON reader reads back as the same text; a lone surrogate, which JSON can
// only carry as an escape, reads back as that same code unit or, where the
// reader replaces it, as U+FFFD. A whole snapshot with such texts and any
// point values is one valid JSON document with the same content.
#include "app/snapshot.h"
#include "chart/colors.h"
#include "fuzz_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <cmath>
#include <cstring>

using namespace kvet;

namespace {

bool validUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

// What a JSON reader may give back for `text`: lone surrogates as themselves
// or as the replacement character.
bool sameOrReplaced(const QString& read, const QString& text)
{
    if (read == text)
        return true;
    if (read.size() != text.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool lone = text[i].isSurrogate() &&
                          !(text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) &&
                          !(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        if (read[i] != text[i] && !(lone && read[i] == QChar(0xFFFD)))
            return false;
    }
    return true;
}

QJsonValue parseOne(const QByteArray& json, bool* ok)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson("[" + json + "]", &error);
    *ok = error.error == QJsonParseError::NoError && doc.isArray() && doc.array().size() == 1;
    return *ok ? doc.array().at(0) : QJsonValue();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = fuzz::utf16Units(data, size);
    const QByteArray json = jsonString(text);
    fuzz::check(validUtf8(json), "the JSON string is valid UTF-8", text);
    bool ok = false;
    const QJsonValue value = parseOne(json, &ok);
    fuzz::check(ok && value.isString(), "the JSON string parses", QString::fromUtf8(json));
    fuzz::check(sameOrReplaced(value.toString(), text), "the JSON string reads back as the text",
                QString::fromUtf8(json));

    // A whole snapshot: the texts in every place, the input's bytes as values.
    ScreenState state;
    state.banner = text;
    state.status = text.left(7);
    ChartState chart;
    chart.name = QStringLiteral("Chart1");
    chart.title = text.mid(3);
    std::vector<chart::ChartPoint> points;
    for (std::size_t i = 0; i + 8 <= size && points.size() < 8; i += 8) {
        double d;
        std::memcpy(&d, data + i, sizeof d);
        points.push_back({d, text.mid(qsizetype(i / 2), 5), data[i] & 1 ? chart::kAutoColor : chart::colorFromBgr(data[i])});
    }
    chart.series.emplace_back(QStringLiteral("PieSeries1"), points);
    state.charts.push_back(chart);
    state.grid.push_back({text, text.left(1), {}, {}, {}, {}, text.right(2)});

    const QByteArray doc = snapshotJson(state);
    fuzz::check(validUtf8(doc), "the snapshot is valid UTF-8");
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(doc, &error).object();
    fuzz::check(error.error == QJsonParseError::NoError, "the snapshot parses", QString::fromUtf8(doc));
    fuzz::check(sameOrReplaced(root[QStringLiteral("banner")].toString(), state.banner), "banner");
    fuzz::check(sameOrReplaced(root[QStringLiteral("grid")][0][6].toString(), state.grid[0][6]), "grid cell");
    const QJsonArray read = root[QStringLiteral("charts")][QStringLiteral("Chart1")][QStringLiteral("series")]
                                [QStringLiteral("PieSeries1")].toArray();
    fuzz::check(read.size() == qsizetype(points.size()), "every point");
    for (qsizetype i = 0; i < read.size(); ++i) {
        const double want = points[std::size_t(i)].value;
        const QJsonValue got = read[i][QStringLiteral("value")];
        if (std::isfinite(want))
            fuzz::check(got.isDouble() && got.toDouble() == want, "a finite value reads back exactly",
                        QString::number(want, 'g', 17));
        else
            fuzz::check(got.isNull(), "NaN and infinity are written as null");
        fuzz::check(sameOrReplaced(read[i][QStringLiteral("label")].toString(), points[std::size_t(i)].label),
                    "label");
    }
    return 0;
}
