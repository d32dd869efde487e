// Tallyfold on Windows: the program entry with the native window system. The first argument
// that is no option names the vocabulary file to open.

#include <windows.h>

#include <string>
#include <vector>

#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "document/document.h"
#include "files/program_arguments.h"
#include "files/user_folders.h"
#include "platform/win32/win32_backend.h"

namespace {

constexpr const wchar_t* kUsage =
    L"tallyfold [FILE.vok]\n\n"
    L"Learn vocabulary with a card box. FILE.vok is the vocabulary file to open (a new name "
    L"starts a new box); -- ends the options.\n\n"
    L"-h, --help\tShow this text.\n-v, --version\tShow the version.";

}  // namespace

int main(int argc, char** argv) {
    // A program of the Windows subsystem has no console to print to: what the options ask
    // for is shown in a message box.
    std::string file;
    bool options = true;
    for (const std::string& argument : tallyfold::ProgramArguments(argc, argv)) {
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "-h" || argument == "--help" || argument == "/?")) {
            ::MessageBoxW(nullptr, kUsage, L"Tallyfold", MB_OK);
            return 0;
        } else if (options && (argument == "-v" || argument == "--version")) {
            ::MessageBoxW(nullptr, L"Tallyfold " TALLYFOLD_VERSION_WIDE, L"Tallyfold", MB_OK);
            return 0;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            const std::wstring text = L"Unknown option: " +
                                      std::wstring(argument.begin(), argument.end()) + L"\n\n" +
                                      kUsage;
            ::MessageBoxW(nullptr, text.c_str(), L"Tallyfold", MB_OK | MB_ICONERROR);
            return 2;
        } else if (file.empty()) {
            file = argument;
        }
    }
    const tallyfold::FilePath fileName(file);
    // The one box of the run and its document: they outlive the application and every window.
    tallyfold::tCardBox box;
    tallyfold::Document document(box);
    document.SetJournalFolder(tallyfold::JournalFolder());
    if (!fileName.IsEmpty()) {
        document.ReadAhead(fileName);
    }
    tallyfold::platform::win32::Win32Backend backend(::GetModuleHandleW(nullptr));
    tallyfold::TMyApp tallyfoldApp(backend, document, fileName);
    return tallyfoldApp.Run();
}
