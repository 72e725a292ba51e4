// The settings-file reader on any file content. Whatever the bytes, a lookup
// answers (at most 2047 UTF-16 units, never an exception), and a value written
// on its own line under [option] reads back as the reader's rules say: blanks
// around it dropped, one pair of matching quotes removed, cut to 2047 units.
#include "settings/ini_file.h"
#include "fuzz_support.h"

#include <QRegularExpression>

using namespace kvet;

namespace {

QString expectedValue(QString v)
{
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (!v.isEmpty() && blank(v.front()))
        v.remove(0, 1);
    while (!v.isEmpty() && blank(v.back()))
        v.chop(1);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.left(kProfileValueMaxLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString text;
    try {
        text = decodeProfileBytes(bytes);
        for (const char* key : {"mydata", "my", "user", "password"}) {
            const QString value = profileValue(text, QStringLiteral("option"), QString::fromLatin1(key));
            fuzz::check(value.size() <= kProfileValueMaxLength, "a value is at most 2047 units");
        }
    } catch (...) {
        fuzz::fail("the reader never throws");
    }

    // The first line of the input as the value of "user".
    QString value = QString::fromUtf8(bytes);
    const qsizetype lineEnd = value.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0)
        value.truncate(lineEnd);
    const QString file = QStringLiteral("[other]\nuser=no\n[Option]\n; comment\nmy=x\nuser=") + value +
                         QStringLiteral("\nuser=second\n");
    const QString read = profileValue(file, QStringLiteral("option"), QStringLiteral("USER"));
    fuzz::check(read == expectedValue(value), "a value reads back", value);
    return 0;
}
