// One entry point for every test program: a QApplication exists for the whole
// run (widgets, fonts, QLocale), rendered offscreen unless a display is asked for.
#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // unixODBC converts wide strings through the C locale for drivers without
    // wide entry points; under plain "C" Chinese text would be cut to bytes.
    if (!std::setlocale(LC_CTYPE, "") || std::string(std::setlocale(LC_CTYPE, nullptr)) == "C")
        std::setlocale(LC_CTYPE, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
