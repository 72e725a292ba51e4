#pragma once
// Lookups in a Windows private-profile (INI) file, as GetPrivateProfileStringW
// answers them: section and key names match without regard to letter case,
// blanks around keys and values do not count, a value wrapped in matching
// single or double quotes loses them, lines starting with ';' or '#' are
// comments, and the first section and the first key of a name win. Anything
// missing (file, section, key) reads as empty text. A value comes back cut to
// 2047 UTF-16 units, the room a 2048-unit buffer leaves beside its terminator.
#include <QString>

namespace kvet {

// Longest value a lookup returns, in UTF-16 units.
inline constexpr qsizetype kProfileValueMaxLength = 2047;

// Reads one value from the file at `path` (on Windows through the system's
// own private-profile reader).
QString readProfileString(const QString& path, const QString& section, const QString& key);

// The same lookup in text already read from a file; `text` is the whole file
// after decoding.
QString profileValue(const QString& text, const QString& section, const QString& key);

// Decodes the bytes of a settings file: UTF-16LE or UTF-16BE with a byte-order
// mark; otherwise UTF-8 when the bytes are valid UTF-8 (a UTF-8 byte-order mark
// is dropped), else GB18030, so that a file a Chinese Windows PC saved in its
// ANSI code page (936) reads as it was written there.
QString decodeProfileBytes(const QByteArray& bytes);

// True when `bytes` is well-formed UTF-8 (ASCII included).
bool isValidUtf8(const QByteArray& bytes);

} // namespace kvet
