#include "settings/password_codec.h"

#include "data/failure.h"

namespace kvet {
namespace {

int base64Digit(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    return -1;
}

[[noreturn]] void failNoMapping()
{
    throw Failure(QString::fromLatin1(kNoUnicodeMappingMessage));
}

} // namespace

QByteArray decodeBase64Leniently(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 3 / 4 + 1);
    quint32 bits = 0;
    int bitCount = 0;
    for (const QChar ch : text) {
        const int digit = base64Digit(ch.unicode());
        if (digit < 0)
            continue;
        bits = (bits << 6) | quint32(digit);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes.append(char((bits >> bitCount) & 0xFF));
        }
    }
    return bytes;
}

QString decodeUtf8Strictly(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text;
    text.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            text.append(QChar(char16_t(lead)));
            ++i;
            continue;
        }
        int length;
        char32_t code;
        char32_t minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            // Stray continuation byte, the overlong leads C0/C1, or F5..FF.
            failNoMapping();
        }
        if (n - i < length)
            failNoMapping();
        for (int k = 1; k < length; ++k) {
            const unsigned char next = p[i + k];
            if ((next & 0xC0) != 0x80)
                failNoMapping();
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            failNoMapping();
        // Not QString::fromUcs4: it takes U+FEFF for a byte-order mark and drops it.
        if (QChar::requiresSurrogates(code)) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(char16_t(code)));
        }
        i += length;
    }
    return text;
}

QString decodePassword(const QString& stored)
{
    return decodeUtf8Strictly(decodeBase64Leniently(stored));
}

QString encodePassword(const QString& password)
{
    return QString::fromLatin1(password.toUtf8().toBase64());
}

} // namespace kvet
