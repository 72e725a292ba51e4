#pragma once
// benchmark_main owns main(): one QApplication for every benchmark, made on
// first use and rendered offscreen unless a display is asked for.
#include "app/application.h"
#include "screen/appearance.h"

#include <QApplication>

namespace kvet::bench {

inline void ensureApplication()
{
    // Never destroyed: at exit Qt's own globals may already be gone, and a
    // QApplication torn down after them crashes the run after its report.
    [[maybe_unused]] static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        kvet::prepareProcess();
        static int argc = 1;
        static char name[] = "kvet_bench";
        static char* argv[] = {name, nullptr};
        auto* created = new QApplication(argc, argv);
        kvet::appearance::registerFontSubstitutes();
        return created;
    }();
}

} // namespace kvet::bench
