#pragma once
// Small helpers shared by the fuzz targets: turning raw input into texts, and
// stopping with a readable message when a property does not hold (libFuzzer
// then keeps the input as a crash file).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kvet::fuzz {

// Any bytes as UTF-16 code units, two bytes each (lone surrogates included).
inline QString utf16Units(const std::uint8_t* data, std::size_t size)
{
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    return text;
}

// Splits the input at byte 0x00 into at most `count` pieces, each read as UTF-8
// (ill-formed sequences become U+FFFD); missing pieces are empty.
inline QStringList pieces(const std::uint8_t* data, std::size_t size, int count)
{
    QStringList out;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype from = 0;
    while (out.size() < count - 1) {
        const qsizetype zero = bytes.indexOf('\0', from);
        if (zero < 0)
            break;
        out << QString::fromUtf8(bytes.mid(from, zero - from));
        from = zero + 1;
    }
    out << QString::fromUtf8(bytes.mid(from));
    while (out.size() < count)
        out << QString();
    return out;
}

[[noreturn]] inline void fail(const char* property, const QString& detail = {})
{
    std::fprintf(stderr, "property broken: %s\n%s\n", property, detail.toUtf8().constData());
    std::abort();
}

inline void check(bool holds, const char* property, const QString& detail = {})
{
    if (!holds)
        fail(property, detail);
}

} // namespace kvet::fuzz
