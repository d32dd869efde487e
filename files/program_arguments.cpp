#include "files/program_arguments.h"

#if defined(_WIN32)
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "table/wide_text.h"
#endif

namespace tallyfold {

#if defined(_WIN32)

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Utf8FromWide(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

#endif

}  // namespace tallyfold
