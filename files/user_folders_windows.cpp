#include "files/user_folders.h"

#include <cstdlib>
#include <string>

#include "table/wide_text.h"

// The user's folders on Windows: Tallyfold's own folder in the local application data
// (%LOCALAPPDATA%\\Tallyfold), which is not copied between machines with a roaming profile;
// the state has a folder inside it.

namespace tallyfold {

namespace {

FilePath LocalAppData() {
    if (const wchar_t* set = ::_wgetenv(L"LOCALAPPDATA"); set != nullptr && set[0] != L'\0') {
        return FilePath(Utf8FromWide(set));
    }
    if (const wchar_t* profile = ::_wgetenv(L"USERPROFILE");
        profile != nullptr && profile[0] != L'\0') {
        return FilePath(Utf8FromWide(profile)).Child("AppData").Child("Local");
    }
    return FilePath();
}

}  // namespace

FilePath DataFolder() {
    return SubFolder(LocalAppData(), "Tallyfold");
}

FilePath StateFolder() {
    return SubFolder(DataFolder(), "State");
}

}  // namespace tallyfold
