#pragma once

#include <QStringList>

#include <functional>

class QTextStream;

// One subcommand of quillmark-cli: its name, its usage line and what it does,
// and more that its own --help tells. run gets the arguments after the name
// and returns the exit code; results go to out, reasons to err.
struct CliCommand {
    const char* name;
    const char* usage;
    const char* summary;
    std::function<int(const QStringList& arguments, QTextStream& out, QTextStream& err)> run;
    const char* details = "";
};

// The exit codes.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
