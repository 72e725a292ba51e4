#pragma once
// benchmark_main owns main(): one QApplication for every benchmark, made on
// first use and rendered offscreen unless a display is asked for.
#include "app/application.h"
#include "screen/appearance.h"

#include <QApplication>
#include <memory>

namespace kvet::bench {

inline void ensureApplication()
{
    static std::unique_ptr<QApplication> app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        kvet::prepareProcess();
        static int argc = 1;
        static char name[] = "kvet_bench";
        static char* argv[] = {name, nullptr};
        auto created = std::make_unique<QApplication>(argc, argv);
        kvet::appearance::registerFontSubstitutes();
        return created;
    }();
}

} // namespace kvet::bench
