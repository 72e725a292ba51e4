#include "app/command_line.h"

#include <QString>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h> // CommandLineToArgvW; left out by WIN32_LEAN_AND_MEAN
#endif

namespace kvet {

QStringList commandLineArguments(int argc, char** argv)
{
    QStringList arguments;
#ifdef Q_OS_WIN
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        // wchar_t is UTF-16 on Windows with MSVC and mingw alike.
        for (int i = 1; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]));
        LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
#endif
    return arguments;
}

} // namespace kvet
