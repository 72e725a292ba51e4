#include "app/application.h"

#include "data/failure.h"
#include "screen/appearance.h"

#include <clocale>
#include <cstring>

namespace kvet {

void prepareProcess()
{
    const char* ctype = std::setlocale(LC_CTYPE, "");
    if (!ctype || std::strcmp(ctype, "C") == 0 || std::strcmp(ctype, "POSIX") == 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

KvetApplication::KvetApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kvet"));
    appearance::registerFontSubstitutes();
}

bool KvetApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (uncaught_)
            uncaught_(currentFailureMessage());
    }
    return false;
}

} // namespace kvet
