#pragma once

// The whole program on the headless window system: a box, the application started on it, and
// short names for what a test reads off the main window.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "document/document.h"
#include "files/vok_file.h"
#include "resources/resource_ids.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"
#include "tests/support/headless.h"

namespace tallyfold::testing {

class AppTest : public HeadlessTest {
  protected:
    /// The user's folders (backups, locks, journals) are the test's own.
    AppTest() {
        UseUserFoldersIn(FilePath(dir.Path()));
        std::filesystem::create_directories(journals.Bytes());
        document.SetJournalFolder(journals);
    }

    /// Starts the program as if `fileName` had been given on the command line.
    void Start(const FilePath& fileName = FilePath()) {
        app = std::make_unique<TMyApp>(backend, document, fileName);
        app->Start();
        frame = backend.MainWindow();
        view = app->Client();
    }

    /// Saves `cards` into a vocabulary file in the scratch folder and returns its path.
    FilePath SaveBox(tCardBox& cards, const std::string& name = "words.vok") {
        const FilePath path = dir.File(name);
        EXPECT_TRUE(SaveVokFile(path, cards));
        return path;
    }

    /// Changes the box as the user does: Look, then Unknown.
    void ChangeTheBox() {
        frame->TypeChar('k');
        frame->TypeChar('u');
        ASSERT_TRUE(view->Changed());
    }

    std::string Question() const { return frame->Text(ids::kQuestionStatic); }
    std::string Answer() const { return frame->Text(ids::kAnswerStatic); }
    std::string PartitionNumber() const { return frame->Text(ids::kPartitionStatic); }
    std::string Counters() const { return frame->StatusText(ids::kCountsGadget); }
    std::string Counts() const { return frame->StatusText(0); }
    bool LookEnabled() const { return frame->IsEnabled(ids::kLookButton); }
    bool KnownEnabled() const { return frame->IsEnabled(ids::kKnownButton); }
    bool UnknownEnabled() const { return frame->IsEnabled(ids::kUnknownButton); }
    /// The texts of the message boxes shown so far, each with the file it names on a line of
    /// its own, as the box shows it.
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& record : backend.MessageBoxes()) {
            const FilePath& file = record.request.file;
            texts.push_back(record.request.text + (file.IsEmpty() ? "" : "\n" + file.Bytes()));
        }
        return texts;
    }

    TempDir dir;
    FilePath journals = dir.File("journals");
    tCardBox box;
    Document document{box};
    std::unique_ptr<TMyApp> app;
    platform::headless::HeadlessFrame* frame = nullptr;
    tHauptFenster* view = nullptr;
};

}  // namespace tallyfold::testing
