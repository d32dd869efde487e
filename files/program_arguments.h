#pragma once

#include <string>
#include <vector>

namespace tallyfold {

/// The program's command-line arguments after its name, as the program spells paths: bytes
/// as given on POSIX systems; on Windows the command line as UTF-16 (the `argv` of `main` is
/// in the ANSI code page, which cannot spell most names), split as Windows splits it and
/// turned into UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace tallyfold
