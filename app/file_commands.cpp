// The File menu's commands for vocabulary files, the save prompt and the close query.

#include <filesystem>
#include <string>
#include <string_view>

#include "app/main_window.h"
#include "dialogs/help.h"
#include "files/file_identity.h"
#include "files/vok_file.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "table/native_path.h"

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
    if (!document_->Changed()) {
        return true;
    }
    char question[80];
    LoadString(ids::kStrSaveChanges, question);
    switch (MessageBox(question, "", platform::MessageButtons::YesNoCancel)) {
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
    if (!SavePrompt()) {
        return false;
    }
    // The run ends normally: what was not saved was not wanted.
    document_->Close();
    return true;
}

void tHauptFenster::CmExit() {
    // As the close button does: after the close query the window closes, and its size and
    // place are kept for the next start.
    if (frame_ != nullptr ? !frame_->Close() : !CanClose()) {
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
    const Document::Step step(*document_, StepName::New);
    document_->ClearAll();
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
    OpenFile(openSettings_->fileName);
}

void tHauptFenster::OpenFile(const FilePath& path) {
    if (!MayOpenHere(path)) {
        return;
    }
    // The file is read into a box of its own first: the cards on view go only for a file
    // that could be read.
    const LoadResult result = document_->Open(path);
    if (!result.opened) {
        ReportLoadFailure(result, path);
        return;
    }
    NoteRecentFile();
    Refresh();
    ReportLoad(result, path);
}

// A vocabulary file dropped on the window opens as File > Open does after its dialog; any
// other file is imported as File > Import does.
void tHauptFenster::EvDropFile(const FilePath& path) {
    if (path.HasExtension(".vok")) {
        if (SavePrompt()) {
            OpenFile(path);
        }
    } else {
        ImportFrom(path, ImportFormatOf(path));
    }
}

bool tHauptFenster::MayReplace(const FilePath& path) {
    const SaveCheck check = document_->CheckSave(path);
    const FilePath& target = path.IsEmpty() ? document_->Path() : path;
    const std::string name(target.FileName());
    if (check.changedOnDisk &&
        MessageBox(FormatTexts(StringResource(ids::kStrChangedOnDisk), {name}), "",
                   platform::MessageButtons::YesNo,
                   platform::MessageIcon::Question) != platform::DialogResult::Yes) {
        return false;
    }
    if (check.becomesUnicode &&
        MessageBox(FormatTexts(StringResource(ids::kStrBecomesUnicode), {name}), "",
                   platform::MessageButtons::SaveCancel,
                   platform::MessageIcon::Question) != platform::DialogResult::Ok) {
        return false;
    }
    if (check.replacesOtherCards) {
        const std::string question =
            FormatTexts(StringResource(ids::kStrReplaceCards),
                        {name, CountOf(check.cards, ids::kStrOneCard, ids::kStrCards),
                         CountOf(document_->Box().TotalCards(), ids::kStrOneCard, ids::kStrCards)});
        if (MessageBox(question, "", platform::MessageButtons::YesNo,
                       platform::MessageIcon::Question) != platform::DialogResult::Yes) {
            return false;
        }
    }
    return true;
}

bool tHauptFenster::SaveFile() {
    if (document_->Path().IsEmpty()) {
        return SaveFileAs();
    }
    if (!MayReplace(FilePath())) {
        return false;
    }
    if (!document_->Save()) {
        ReportSaveFailure(document_->Path());
        return false;
    }
    NoteRecentFile();
    ReportSafetyNet();
    ReportHistorySave();
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
    if (!MayReplace(path)) {
        return false;
    }
    if (!document_->Save(path)) {
        ReportSaveFailure(path);
        return false;
    }
    NoteRecentFile();
    ReportSafetyNet();
    ReportHistorySave();
    return true;
}

// --- Recent files ----------------------------------------------------------------------------

namespace {

constexpr std::string_view kRecentFilesKey = "recentFiles";

}  // namespace

void tHauptFenster::LoadRecentFiles() {
    recent_ = RecentFiles::Parse(GetBackend().ReadSetting(kRecentFilesKey));
    for (int place = 0; place < ids::kRecentFiles; ++place) {
        OnCommand(ids::kCmRecentFile + place, [this, place] { CmRecentFile(place); });
        OnEnable(ids::kCmRecentFile + place,
                 [this, place](platform::CommandState& state) { CeRecentFile(place, state); });
    }
}

void tHauptFenster::NoteRecentFile() {
    // Kept by the one name of the file, whatever way it was given; written only when the list
    // changed (a start on the last file changes nothing).
    const std::string before = recent_.Serialized();
    recent_.Add(FilePath(CanonicalName(document_->Path())));
    const std::string after = recent_.Serialized();
    if (after != before) {
        GetBackend().WriteSetting(kRecentFilesKey, after);
    }
}

void tHauptFenster::CeRecentFile(int place, platform::CommandState& state) {
    const auto index = static_cast<std::size_t>(place);
    state.visible = index < recent_.Files().size();
    if (state.visible) {
        state.text = "&" + std::to_string(place + 1) + " ";
        state.file = recent_.Files()[index];
    }
}

void tHauptFenster::CmRecentFile(int place) {
    const auto index = static_cast<std::size_t>(place);
    if (index >= recent_.Files().size() || !SavePrompt()) {
        return;
    }
    const FilePath path = recent_.Files()[index];
    OpenFile(path);
    // A file that is gone leaves the list; one that could not be read now stays.
    std::error_code error;
    if (!std::filesystem::exists(NativePath(path), error) && !error) {
        recent_.Remove(path);
        GetBackend().WriteSetting(kRecentFilesKey, recent_.Serialized());
    }
}

}  // namespace tallyfold
