#include "check/check_settings.h"

#include "settings/ini_file.h"
#include "settings/password_codec.h"
#include "data/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <iterator>

namespace kvet::check {
namespace {

void reportPlainValue(Report& report, const QString& label, const QString& value)
{
    if (value.isEmpty())
        report.error(label + QStringLiteral("：空"));
    else
        report.info(label + QStringLiteral("：") + value);
}

bool hasControlCharacters(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool hasNonAscii(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7f; });
}

struct Key {
    const char* name;  // as in kvet.ini
    const char* label; // as the report names it
    bool secret;       // never shown
};

constexpr Key kKeys[] = {
    {"mydata", "数据库（mydata）", false},
    {"my", "服务器（my）", false},
    {"user", "用户（user）", false},
    {"password", "密码（password）", true},
};

// Windows' profile reader takes a file without a UTF-16LE byte-order mark in
// the PC's ANSI code page; on a Chinese PC that is code page 936, of which
// GB18030 is a superset. What a value of a UTF-8 file turns into there.
void reportWindowsReading(const QByteArray& bytes, Report& report)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return; // UTF-16 with a byte-order mark: read as Unicode everywhere
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom) {
        report.warning(QStringLiteral("kvet.ini 以 UTF-8 字节顺序标记（BOM）开头：Windows 不认识它，把它当作第一行的一部分，"
                                      "第一行若是 [option]，这一节就找不到，所有值都读成空"));
        report.hint(QStringLiteral("用记事本“另存为”，编码选 ANSI 或 UTF-16 LE（Unicode）；"
                                   "或者在 [option] 前面留一个空行或一行注释"));
    }
    const QByteArray body = bom ? bytes.mid(3) : bytes;
    const bool nonAscii = std::any_of(body.begin(), body.end(), [](char c) { return uchar(c) > 0x7f; });
    if (!nonAscii)
        return;
    if (!isValidUtf8(body)) {
        report.info(QStringLiteral("kvet.ini 不是 UTF-8，按 ANSI 代码页读取（GB18030，含中文 Windows 的代码页 936）："
                                   "只在 ANSI 代码页为 936 的 Windows 上读得和写的一样"));
        return;
    }
    report.warning(QStringLiteral("kvet.ini 按 UTF-8 保存，并含有非 ASCII 字符：Windows 按 ANSI 代码页读取它（不认识 UTF-8），"
                                  "这些字符在 Windows 上会读错"));
    QStringDecoder ansi("GB18030");
    if (!ansi.isValid())
        return;
    const QString asWindowsReads = ansi.decode(body);
    const QString asWritten = QString::fromUtf8(body);
    for (const Key& key : kKeys) {
        const QString section = QStringLiteral("option");
        const QString name = QString::fromLatin1(key.name);
        const QString meant = profileValue(asWritten, section, name);
        if (!hasNonAscii(meant))
            continue;
        if (key.secret)
            report.info(QString::fromUtf8(key.label) + QStringLiteral("含有非 ASCII 字符：Base64 只有 ASCII 字符，是否写成了明文？"));
        else
            report.info(QString::fromUtf8(key.label) + QStringLiteral("在中文 Windows 上会读成：") +
                        profileValue(asWindowsReads, section, name));
    }
    report.hint(QStringLiteral("用记事本“另存为”，编码选 UTF-16 LE（Unicode），或在中文 Windows 上选 ANSI"));
}

// Only a ';' at the start of a line begins a comment; one after a value is
// part of it.
void reportInlineComment(const Key& key, const QString& value, Report& report)
{
    if (!value.contains(QStringLiteral(" ;")) && !value.contains(QStringLiteral("\t;")))
        return;
    report.warning(QString::fromUtf8(key.label) + QStringLiteral("的值里有“ ;”：同一行里分号后面的文字也算作值"
                                                                 "（只有行首的 ; 才开始注释）；把注释写到单独一行"));
}

} // namespace

QString maskedConnectionString(const ConnectionSettings& settings)
{
    ConnectionSettings masked = settings;
    if (!masked.password.isEmpty())
        masked.password = QString::fromLatin1(kMaskedPassword);
    return connectionStringFor(masked);
}

bool isCanonicalPasswordValue(const QString& stored)
{
    QString stripped;
    for (QChar c : stored) {
        if (c == QLatin1Char('=') || c.isSpace())
            continue;
        stripped += c;
    }
    const QByteArray bytes = decodeBase64Leniently(stored);
    const QString again = QString::fromLatin1(bytes.toBase64(QByteArray::OmitTrailingEquals));
    return again == stripped;
}

SettingsCheck checkSettings(const QString& path, Report& report)
{
    SettingsCheck result;
    const QFileInfo file(path);
    const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
    if (file.isFile())
        report.info(QStringLiteral("设置文件：") + shown);
    else
        report.error(QStringLiteral("设置文件不存在：") + shown +
                     QStringLiteral("（kvet 只读取它自己所在文件夹里的 kvet.ini）"));

    QFile bytes(path);
    if (bytes.open(QIODevice::ReadOnly))
        reportWindowsReading(bytes.readAll(), report);

    const QString stored = readProfileString(path, QStringLiteral("option"), QStringLiteral("password"));
    auto reportInlineComments = [&] {
        const QString values[] = {result.settings.database, result.settings.server, result.settings.user, stored};
        for (std::size_t i = 0; i < std::size(kKeys); ++i)
            reportInlineComment(kKeys[i], values[i], report);
    };
    try {
        readConnectionSettings(path, result.settings);
    } catch (const std::exception& e) {
        // kvet shows this in its one error box at start and leaves the
        // connection string unset, so every database attempt fails.
        result.passwordDecodes = false;
        result.settings.password.clear();
        reportPlainValue(report, QStringLiteral("数据库（mydata）"), result.settings.database);
        reportPlainValue(report, QStringLiteral("服务器（my）"), result.settings.server);
        reportPlainValue(report, QStringLiteral("用户（user）"), result.settings.user);
        reportInlineComments();
        report.error(QStringLiteral("密码（password）：已设置，但解码后不是 UTF-8 文本：") + messageOf(e) +
                     QStringLiteral("；kvet 启动时会弹出错误框，之后连不上数据库"));
        report.hint(QStringLiteral("password= 要写密码 UTF-8 字节的 Base64，不是明文；用 kvet-check --encode-password 生成"));
        report.info(QStringLiteral("连接串：（未设置：密码不能解码）"));
        return result;
    }

    reportPlainValue(report, QStringLiteral("数据库（mydata）"), result.settings.database);
    reportPlainValue(report, QStringLiteral("服务器（my）"), result.settings.server);
    reportPlainValue(report, QStringLiteral("用户（user）"), result.settings.user);
    reportInlineComments();
    if (stored.trimmed().isEmpty()) {
        report.warning(QStringLiteral("密码（password）：空"));
    } else if (!isCanonicalPasswordValue(stored)) {
        report.warning(QStringLiteral("密码（password）：已设置，可以解码，但它不是规范的 Base64（含有 Base64 以外的字符或多余的位），"
                                      "解码时这些都被跳过；是否写成了明文？"));
        report.hint(QStringLiteral("用 kvet-check --encode-password 生成 password= 的值"));
    } else if (hasControlCharacters(result.settings.password)) {
        report.warning(QStringLiteral("密码（password）：已设置，可以解码，但解码后含有控制字符（如换行），"
                                      "生成 Base64 时是否把换行也算进去了？"));
    } else {
        report.ok(QStringLiteral("密码（password）：已设置，可以解码"));
    }
    result.connectionString = connectionStringFor(result.settings);
    report.info(QStringLiteral("连接串：") + maskedConnectionString(result.settings));
    return result;
}

} // namespace kvet::check
