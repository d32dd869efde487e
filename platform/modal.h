#pragma once

// What the program asks of the window system besides its own windows: message boxes, file
// dialogs and the help engine.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "table/file_path.h"

namespace tallyfold::platform {

/// How a dialog or a message box was closed.
enum class DialogResult { Ok, Cancel, Yes, No };

/// The commands every dialog knows: Ok (the default button, Enter) and Cancel (Escape, the
/// close box). Their buttons carry these ids in the dialog templates.
inline constexpr int kOkCommand = 1;
inline constexpr int kCancelCommand = 2;

/// The buttons a message box offers.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, SaveCancel };
enum class MessageIcon { None, Question };

/// A message box: `text` and `caption` are UTF-8 like every text of the program. A
/// message about a file names it in `file`, which the box shows on a line of its own after the
/// text, as the file system spells it (a name in any script shows as it is).
struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    FilePath file;
};

enum class FileDialogKind { Open, Save };

enum FileDialogFlags : unsigned {
    kOfnOverwritePrompt = 0x2,
    kOfnPathMustExist = 0x800,
    kOfnFileMustExist = 0x1000,
};

/// The settings of a file dialog. A command may keep one between uses, so the next run starts
/// from the folder and filter chosen last. Texts the user reads (`filter`, `title`) are
/// UTF-8 like every text of the program; names of files are `FilePath`s.
struct FileDialogData {
    unsigned flags = 0;
    /// "description|pattern|description|pattern|"; blanks around the parts belong to them.
    std::string filter;
    int filterIndex = 0;
    /// In: the name offered (a pattern such as "*.vok" offers none); out: the chosen file.
    FilePath fileName;
    FilePath initialDir;
    std::string defaultExt;
    /// Empty for the window system's own title.
    std::string title;
};

/// True when a file name holds "*" or "?": a pattern for the file dialog, not a name to
/// offer in it.
bool HasWildcard(const FilePath& name);

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
    HelpCommand command = HelpCommand::Contents;
    unsigned long context = 0;
    std::string keyword;
    /// For `Context`: the page that the program's help shows for `context`;
    /// empty opens the contents.
    std::string page;

    friend bool operator==(const HelpRequest&, const HelpRequest&) = default;
};

}  // namespace tallyfold::platform
