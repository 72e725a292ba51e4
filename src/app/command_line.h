#pragma once
// The program's arguments before any application object exists, so that a
// command that needs no window (a usage text, writing a file) never asks for
// a display.
#include <QStringList>

namespace kvet {

// The arguments after the program name. On Windows they come from the wide
// command line, so that file names outside the ANSI code page survive; `argv`
// is used elsewhere.
QStringList commandLineArguments(int argc, char** argv);

} // namespace kvet
