#pragma once
// The settings file keeps the login's password as Base64 text of its UTF-8
// bytes. Decoding is lenient in the first stage (any text gives bytes) and
// strict in the second (bytes that are not well-formed UTF-8 fail).
#include <QByteArray>
#include <QString>

namespace kvet {

// Text of the failure for bytes that are not well-formed UTF-8.
inline constexpr char kNoUnicodeMappingMessage[] =
    "No mapping for the Unicode character exists in the target multi-byte code page";

// Base64 with the RFC 4648 alphabet. Every other character (the pad '=',
// blanks and line breaks included) is skipped wherever it stands; bits that
// do not fill a byte at the end are dropped. Never fails.
QByteArray decodeBase64Leniently(const QString& text);

// Strict UTF-8: overlong forms, surrogates, code points above U+10FFFF,
// truncated sequences and stray continuation bytes throw kvet::Failure with
// kNoUnicodeMappingMessage.
QString decodeUtf8Strictly(const QByteArray& bytes);

// Both stages: the password as the settings file holds it → the password.
QString decodePassword(const QString& stored);

// The inverse, for writing a settings file: Base64 (padded) of the UTF-8 bytes.
QString encodePassword(const QString& password);

} // namespace kvet
