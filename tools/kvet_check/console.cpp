#include "console.h"

#include <QByteArray>
#include <QStringDecoder>
#include <string>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace kvet::check {
namespace {

std::optional<QByteArray> readByteLine()
{
    QByteArray line;
    for (;;) {
        const int c = std::fgetc(stdin);
        if (c == EOF)
            return line.isEmpty() ? std::nullopt : std::optional<QByteArray>(line);
        if (c == '\n')
            return line;
        line.append(char(c));
    }
}

#ifndef Q_OS_WIN
// Echo off for as long as it lives, restored on every way out.
class EchoOff {
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff()
    {
        if (active_)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};
#endif

} // namespace

bool standardInputIsTerminal()
{
#ifdef Q_OS_WIN
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

QString decodeInputLine(QByteArray bytes)
{
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLocal8Bit(bytes) : text;
}

std::optional<QString> readSecretLine(const QString& prompt)
{
    writeText(stderr, prompt);
    if (!standardInputIsTerminal()) {
        const auto line = readByteLine();
        return line ? std::optional<QString>(decodeInputLine(*line)) : std::nullopt;
    }
#ifdef Q_OS_WIN
    // The console hands UTF-16 units directly, whatever its code page.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD saved = 0;
    GetConsoleMode(input, &saved);
    SetConsoleMode(input, (saved & ~DWORD(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT);
    QString line;
    bool ended = false;
    for (;;) {
        wchar_t unit = 0;
        DWORD read = 0;
        if (!ReadConsoleW(input, &unit, 1, &read, nullptr) || read == 0)
            break;
        if (unit == L'\r')
            continue;
        if (unit == L'\n') {
            ended = true;
            break;
        }
        line += QChar(char16_t(unit));
    }
    SetConsoleMode(input, saved);
    writeText(stderr, QStringLiteral("\n"));
    if (!ended && line.isEmpty())
        return std::nullopt;
    return line;
#else
    std::optional<QByteArray> line;
    {
        EchoOff quiet;
        line = readByteLine();
    }
    writeText(stderr, QStringLiteral("\n"));
    return line ? std::optional<QString>(decodeInputLine(*line)) : std::nullopt;
#endif
}

} // namespace kvet::check
