#pragma once

#include <QString>
#include <string>

namespace tallyfold::platform::qt {

/// What the command line asks for.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    /// The file to open, as the bytes it was given in; empty for none.
    std::string file;
    /// The text to print for help, version and refusal.
    QString text;
};

/// Reads the program's arguments (`argv[0]` first): `-h`/`--help`, `-v`/`--version`, and the
/// file to open, the first argument that is no option; `--` ends the options. An unknown
/// option is refused. `version` is the program's version.
CommandLine ReadCommandLine(int argc, const char* const* argv, const QString& version);

}  // namespace tallyfold::platform::qt
