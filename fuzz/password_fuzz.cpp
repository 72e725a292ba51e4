// The two-stage password decoder on any input.
// - Stage one (lenient Base64) never fails and agrees with Qt's own decoder
//   fed only the alphabet's characters, with a lone last character dropped.
// - Stage two (strict UTF-8) accepts exactly the well-formed sequences of
//   RFC 3629 and fails with the one message otherwise.
// - Any text survives encode → decode unchanged, also with pad characters,
//   blanks and line breaks strewn into the stored value.
#include "settings/password_codec.h"
#include "data/failure.h"
#include "fuzz_support.h"

#include <QStringDecoder>

using namespace kvet;

namespace {

// UTF-8 as the password decoder reads it: a leading U+FEFF is part of the
// password, where QString::fromUtf8 would drop it as a byte order mark.
QString utf8KeepingBom(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool isAlphabet(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'+' ||
           c == u'/';
}

// RFC 3629, table 3-7 of the Unicode standard: the well-formed byte sequences.
bool wellFormedUtf8(const QByteArray& b)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = b.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned c = p[i];
        auto in = [&](qsizetype k, unsigned lo, unsigned hi) { return i + k < n && p[i + k] >= lo && p[i + k] <= hi; };
        if (c <= 0x7F) { i += 1; continue; }
        if (c >= 0xC2 && c <= 0xDF && in(1, 0x80, 0xBF)) { i += 2; continue; }
        if (c == 0xE0 && in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF)) { i += 3; continue; }
        if (((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) && in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF)) { i += 3; continue; }
        if (c == 0xED && in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF)) { i += 3; continue; }
        if (c == 0xF0 && in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF)) { i += 4; continue; }
        if (c >= 0xF1 && c <= 0xF3 && in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF)) { i += 4; continue; }
        if (c == 0xF4 && in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF)) { i += 4; continue; }
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));

    // Stage one on the input as text.
    const QString stored = QString::fromUtf8(raw);
    QByteArray digits;
    for (const QChar c : stored) {
        if (isAlphabet(c.unicode()))
            digits.append(char(c.unicode()));
    }
    if (digits.size() % 4 == 1)
        digits.chop(1); // six bits make no byte
    QByteArray bytes;
    try {
        bytes = decodeBase64Leniently(stored);
    } catch (...) {
        fuzz::fail("stage one never fails");
    }
    fuzz::check(bytes == QByteArray::fromBase64(digits), "stage one is Base64 of the alphabet's characters", stored);

    // Stage two on the input as bytes.
    const bool valid = wellFormedUtf8(raw);
    try {
        const QString text = decodeUtf8Strictly(raw);
        fuzz::check(valid, "ill-formed UTF-8 is refused");
        fuzz::check(text == utf8KeepingBom(raw), "well-formed UTF-8 decodes as Qt decodes it", text);
    } catch (const Failure& e) {
        fuzz::check(!valid, "well-formed UTF-8 is accepted");
        fuzz::check(e.message() == QLatin1String(kNoUnicodeMappingMessage), "the one message", e.message());
    } catch (...) {
        fuzz::fail("only kvet::Failure leaves the decoder");
    }

    // Round trip of any text, with noise in the stored value.
    const QString password = fuzz::utf16Units(data, size);
    const QString clean = utf8KeepingBom(password.toUtf8()); // lone surrogates have no UTF-8 form
    QString encoded = encodePassword(clean);
    const char* noise[] = {"=", " ", "\r\n", "\t", "==", "\n"};
    for (std::size_t i = 0; i < size && i < 16; ++i)
        encoded.insert((data[i] * 7 + qsizetype(i)) % (encoded.size() + 1), QLatin1String(noise[data[i] % 6]));
    try {
        fuzz::check(decodePassword(encoded) == clean, "encode then decode gives the password back", clean);
    } catch (...) {
        fuzz::fail("a password written by encodePassword decodes", encoded);
    }
    return 0;
}
