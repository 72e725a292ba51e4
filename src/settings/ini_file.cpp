#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QStringView>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kvet {
namespace {

bool isLineBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimmedBlanks(QStringView s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isLineBlank(s[from]))
        ++from;
    while (to > from && isLineBlank(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString decodeProfileBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                              : QStringConverter::Utf16BE);
        QString text = decoder.decode(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    // A UTF-8 byte-order mark is dropped, also in front of bytes that are not UTF-8.
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (isValidUtf8(body))
        return QString::fromUtf8(body);
    // Written on a Windows PC in its ANSI code page: GB18030 holds all of
    // code page 936 (simplified Chinese) and reads ASCII as ASCII.
    QStringDecoder gb18030("GB18030");
    return gb18030.isValid() ? QString(gb18030.decode(body)) : QString::fromUtf8(body);
}

bool isValidUtf8(const QByteArray& bytes)
{
    // Overlong forms and encoded surrogates count as not UTF-8.
    return bytes.isValidUtf8();
}

QString profileValue(const QString& text, const QString& section, const QString& key)
{
    bool inWantedSection = false;
    bool sectionSeen = false;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = trimmedBlanks(QStringView(text).mid(pos, end - pos));
        pos = end + 1;

        if (line.isEmpty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[') {
            // Only the first section of the wanted name is searched.
            if (sectionSeen)
                return {};
            const qsizetype close = line.lastIndexOf(u']');
            const QStringView name = close > 0 ? line.mid(1, close - 1) : line.mid(1);
            inWantedSection = sameName(trimmedBlanks(name), section);
            sectionSeen = inWantedSection;
            continue;
        }
        if (!inWantedSection)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QStringView name = trimmedBlanks(equals < 0 ? line : line.left(equals));
        if (!sameName(name, key))
            continue;
        if (equals < 0)
            return {};
        const QStringView value = unquoted(trimmedBlanks(line.mid(equals + 1)));
        return value.left(kProfileValueMaxLength).toString();
    }
    return {};
}

QString readProfileString(const QString& path, const QString& section, const QString& key)
{
#ifdef Q_OS_WIN
    // The same call and buffer the settings were always read with. utf16()
    // gives char16_t units, LPCWSTR wants wchar_t: the same 16-bit units on
    // Windows under MSVC and mingw-w64, but distinct types, hence the casts.
    // The profile API looks for a bare file name ("kvet.ini") in the Windows
    // folder, not the working one: the name is made a full path first.
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    wchar_t buffer[kProfileValueMaxLength + 1] = {};
    const DWORD copied = GetPrivateProfileStringW(
        reinterpret_cast<LPCWSTR>(section.utf16()), reinterpret_cast<LPCWSTR>(key.utf16()), L"",
        buffer, DWORD(kProfileValueMaxLength + 1), reinterpret_cast<LPCWSTR>(fullPath.utf16()));
    return QString::fromWCharArray(buffer, qsizetype(copied));
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return profileValue(decodeProfileBytes(file.readAll()), section, key);
#endif
}

} // namespace kvet
