#pragma once
// kvet-check's command line.
#include "check/check_run.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kvet::check {

struct CommandLine {
    CheckOptions check;
    bool encodePassword = false; // print the Base64 of a password typed at a prompt
    bool help = false;
};

// Parses the arguments after the program name; nullopt with `error` set (in
// Chinese) for an unknown option, a second file or options that do not go
// together.
std::optional<CommandLine> parseCommandLine(const QStringList& arguments, QString& error);

QString usage();

} // namespace kvet::check
