// The File menu's commands for vocabulary files, the save prompt and the close query.

#include "app/main_window.h"
#include "dialogs/help.h"
#include "files/vok_file.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

namespace {

// Offered in the name field: it shows the vocabulary files and proposes no name.
FilePath VocabularyPattern() {
    return FilePath("*.vok");
}

// A name typed without an extension gets ".vok", so the Open dialog's filter shows the file.
FilePath WithVocabularyExtension(const FilePath& path) {
    return path.Extension().empty() ? path.WithExtension(".vok") : path;
}

platform::FileDialogData VocabularyDialog(unsigned flags) {
    platform::FileDialogData data;
    data.flags = flags;
    data.filter = StringResource(ids::kStrVocabularyFilter);
    return data;
}

}  // namespace

bool tHauptFenster::SavePrompt() {
    if (!changed_) {
        return true;
    }
    char question[80];
    LoadString(ids::kStrSaveChanges, question);
    switch (MessageBox(question, "", platform::MessageButtons::YesNo)) {
        case platform::DialogResult::Yes:
            return SaveFile();
        case platform::DialogResult::No:
            return true;
        case platform::DialogResult::Ok:
        case platform::DialogResult::Cancel:
            break;
    }
    return false;
}

bool tHauptFenster::CanClose() {
    return SavePrompt();
}

void tHauptFenster::CmExit() {
    if (!CanClose()) {
        return;
    }
    ShowHelp(*this, platform::HelpCommand::Quit);
    GetBackend().PostQuit(0);
}

void tHauptFenster::CmNew() {
    char warning[80];
    LoadString(ids::kStrEraseAll, warning);
    if (MessageBox(warning, "", platform::MessageButtons::OkCancel,
                   platform::MessageIcon::Question) != platform::DialogResult::Ok) {
        return;
    }
    box_->ClearAll();
    Refresh();
}

void tHauptFenster::CmOpen() {
    if (!openSettings_) {
        openSettings_ = VocabularyDialog(platform::kOfnPathMustExist | platform::kOfnFileMustExist);
    }
    if (!SavePrompt()) {
        return;
    }
    openSettings_->fileName = VocabularyPattern();
    if (!RunFileDialog(platform::FileDialogKind::Open, *openSettings_)) {
        return;
    }
    const FilePath path = openSettings_->fileName;
    // The file is read into a box of its own first: the cards on view go only for a file
    // that could be read.
    tCardBox loaded;
    const LoadResult result = LoadVokFile(path, loaded);
    if (!result.opened) {
        ReportLoadFailure(result, path);
        return;
    }
    box_->ClearAll();
    box_->TakeCardsFrom(loaded);
    fileName_ = path;
    changed_ = false;
    Refresh();
    ReportLoad(result, path);
}

bool tHauptFenster::SaveFile() {
    if (fileName_.IsEmpty()) {
        return SaveFileAs();
    }
    if (!SaveVokFile(fileName_, *box_)) {
        ReportFileProblem(ids::kStrCannotSave, fileName_);
        return false;
    }
    changed_ = false;
    return true;
}

bool tHauptFenster::SaveFileAs() {
    if (!saveAsSettings_) {
        saveAsSettings_ = VocabularyDialog(platform::kOfnPathMustExist);
    }
    saveAsSettings_->fileName = VocabularyPattern();
    if (!RunFileDialog(platform::FileDialogKind::Save, *saveAsSettings_)) {
        return false;
    }
    const FilePath path = WithVocabularyExtension(saveAsSettings_->fileName);
    if (!SaveVokFile(path, *box_)) {
        ReportFileProblem(ids::kStrCannotSave, path);
        return false;
    }
    fileName_ = path;
    changed_ = false;
    return true;
}

}  // namespace tallyfold
