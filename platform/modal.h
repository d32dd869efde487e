#pragma once

// What the program asks of the window system besides its own windows: message boxes, file
// dialogs and the help engine.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallyfold::platform {

/// Results of dialogs and message boxes.
enum DialogResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

/// Buttons and icon of a message box.
enum MessageBoxFlags : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNo = 0x4,
    kMbIconQuestion = 0x20,
};
inline constexpr unsigned kMbButtonMask = 0xF;

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    unsigned flags = kMbOk;
};

enum class FileDialogKind { Open, Save };

enum FileDialogFlags : unsigned {
    kOfnOverwritePrompt = 0x2,
    kOfnPathMustExist = 0x800,
    kOfnFileMustExist = 0x1000,
};

/// The settings of a file dialog. A command may keep one between uses, so the next run starts
/// from the folder and filter chosen last.
struct FileDialogData {
    unsigned flags = 0;
    /// "description|pattern|description|pattern|"; blanks around the parts belong to them.
    std::string filter;
    int filterIndex = 0;
    /// In: the name offered; out: the chosen path.
    std::string fileName;
    std::string initialDir;
    std::string defaultExt;
    /// Empty for the window system's own title.
    std::string title;
};

struct FileFilter {
    std::string description;
    std::string pattern;
};

/// Splits a filter text into its description and pattern pairs. A missing last "|" is forgiven.
std::vector<FileFilter> ParseFileFilter(std::string_view filter);

enum class HelpCommand : unsigned {
    Context = 0x1,
    Quit = 0x2,
    Contents = 0x3,
    HelpOnHelp = 0x4,
    Key = 0x101,
    PartialKey = 0x105,
};

struct HelpRequest {
    std::string file;
    HelpCommand command = HelpCommand::Contents;
    unsigned long context = 0;
    std::string keyword;

    friend bool operator==(const HelpRequest&, const HelpRequest&) = default;
};

}  // namespace tallyfold::platform
