#pragma once
// kvet-check's text in and out: text out through kvet::writeText (UTF-16 to
// a Windows console, whose code page may not hold Chinese), and a password
// read from the terminal without echo.
#include "app/console_text.h"

#include <QString>
#include <cstdio>
#include <optional>

namespace kvet::check {

using kvet::writeText;

bool standardInputIsTerminal();

// Shows `prompt` on stderr and reads one line; on a terminal the typed
// characters are not echoed. nullopt at end of input.
std::optional<QString> readSecretLine(const QString& prompt);

// Bytes of a line read from a pipe: UTF-8 when they are, otherwise the
// system's 8-bit code page; a UTF-8 byte-order mark and the line end go.
QString decodeInputLine(QByteArray bytes);

} // namespace kvet::check
