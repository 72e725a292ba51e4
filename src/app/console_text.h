#pragma once
// Text for the window a program was started from: kvet-check's report and
// kvet-demo's usage and reasons for its exit codes.
#include <QString>
#include <cstdio>

namespace kvet {

// On a Windows console as UTF-16 (whatever the console's code page, Chinese
// reads right). Redirected on Windows (a file or a pipe) in the console's
// code page, or the OEM code page without a console: what cmd's own commands
// write, and what `type`, `more`, `findstr` and Notepad on a Chinese Windows
// read right; a character the code page lacks becomes "?". Elsewhere UTF-8.
void writeText(std::FILE* stream, const QString& text);

// For a windowed (GUI-subsystem) program on Windows: one started from a
// console window has no standard output at all, so --help and the reasons
// for its exit codes would print nowhere. When its output is not
// redirected, this attaches it to the console of the program that started
// it (cmd), if any. Nothing elsewhere.
void attachParentConsole();

} // namespace kvet
