#include "check/check_settings.h"

#include "app/ini_file.h"
#include "app/password_codec.h"
#include "data/failure.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

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

    const QString stored = readProfileString(path, QStringLiteral("option"), QStringLiteral("password"));
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
        report.error(QStringLiteral("密码（password）：已设置，但解码后不是 UTF-8 文本：") + messageOf(e) +
                     QStringLiteral("；kvet 启动时会弹出错误框，之后连不上数据库"));
        report.hint(QStringLiteral("password= 要写密码 UTF-8 字节的 Base64，不是明文；用 kvet-check --encode-password 生成"));
        report.info(QStringLiteral("连接串：（未设置：密码不能解码）"));
        return result;
    }

    reportPlainValue(report, QStringLiteral("数据库（mydata）"), result.settings.database);
    reportPlainValue(report, QStringLiteral("服务器（my）"), result.settings.server);
    reportPlainValue(report, QStringLiteral("用户（user）"), result.settings.user);
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
