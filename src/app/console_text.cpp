#include "app/console_text.h"

#include <QByteArray>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kvet {

#ifdef Q_OS_WIN
namespace {

bool isUsable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Output sent to a file or a pipe by whoever started the program. A console
// handle a windowed program may have been handed is not that: the program is
// not attached to that console, so it cannot write there.
bool isRedirected(HANDLE handle)
{
    if (!isUsable(handle))
        return false;
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

QByteArray inCodePage(const QString& text, UINT codePage)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    if (length == 0)
        return {};
    // UTF-7/UTF-8 take no default character.
    const bool unicodePage = codePage == CP_UTF8 || codePage == CP_UTF7;
    const char* fallback = unicodePage ? nullptr : "?";
    const int size = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, fallback, nullptr);
    if (size <= 0)
        return text.toUtf8();
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(codePage, 0, wide, length, bytes.data(), size, fallback, nullptr);
    return bytes;
}

} // namespace
#endif

void writeText(std::FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (isUsable(handle) && GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()), &written, nullptr);
        return;
    }
    const UINT consolePage = GetConsoleOutputCP();
    const QByteArray bytes = inCodePage(text, consolePage != 0 ? consolePage : GetOEMCP());
#else
    const QByteArray bytes = text.toUtf8();
#endif
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

void attachParentConsole()
{
#ifdef Q_OS_WIN
    if (isRedirected(GetStdHandle(STD_OUTPUT_HANDLE)) || isRedirected(GetStdHandle(STD_ERROR_HANDLE)))
        return; // redirected: write there
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return; // started from Explorer or the autostart: nobody to tell
    for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE)
            SetStdHandle(which, console);
    }
    // The C streams too, for anything printed past writeText.
    std::FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
#endif
}

} // namespace kvet
