#pragma once

// The real program on the Qt backend, as `main` starts it, for the tests that drive it through
// its windows; with user folders of the test's own.

#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "document/document.h"
#include "platform/qt/qt_backend.h"
#include "tests/support/files.h"

namespace tallyfold::testing {

/// A folder for the test whose user data and state (backups, journals) the program keeps.
struct UserFolders {
    UserFolders() { UseUserFoldersIn(FilePath(dir.Path())); }
    TempDir dir;
};

/// The program started on `file` (none: an empty path).
struct RunningProgram {
    explicit RunningProgram(const FilePath& file) : program(backend, document, file) {
        program.Start();
    }
    platform::qt::QtBackend backend;
    tCardBox box;
    Document document{box};
    TMyApp program;
};

}  // namespace tallyfold::testing
