#pragma once

#include <optional>
#include <string>

#include "box/card_box.h"
#include "files/vok_file.h"
#include "platform/controls.h"
#include "platform/frame_window.h"
#include "platform/window.h"

namespace tallyfold {

/// The main window's client: the learning view (question, answer, partition number, Look,
/// Known and Unknown), and the handler of every menu command and key of the program.
///
/// The box is not owned; it lives for the whole run. `currentCard` points into the box and is
/// valid only until the next change of the box; every command that changes the box ends with
/// `Refresh`, which chooses the card anew.
class tHauptFenster : public platform::Window {
  public:
    /// `fileName` is the vocabulary file to open when the window is set up (may be empty).
    tHauptFenster(platform::Backend& backend, tCardBox& box, FilePath fileName);

    /// The status bar areas the view writes: the message area and the counts area.
    void SetStatusAreas(platform::StatusBarArea messageArea, platform::StatusBarArea countsGadget);

    void SetupWindow() override;
    void EvSize(int width, int height) override;
    /// Puts the save prompt when the box holds unsaved changes.
    bool CanClose() override;

    /// Chooses the next card and shows it; writes both status texts.
    void Refresh();
    /// Sets texts and buttons for the current card and whether its other side is on view.
    void ShowCard();
    virtual void CmLookOrKnown();
    virtual void CmLook();
    virtual void CmKnown();
    virtual void CmUnknown();

    /// Saves to the current file, or asks for one. False when nothing was saved.
    [[nodiscard]] bool SaveFile();
    /// Asks for a file and saves to it. False when cancelled or when saving failed.
    [[nodiscard]] bool SaveFileAs();

    const FilePath& FileName() const { return fileName_; }
    bool Changed() const { return changed_; }
    bool AnswerShown() const { return answerShown_; }
    const tVokabel* CurrentCard() const { return currentCard_; }
    int CurrentPartition() const { return currentPartition_; }

  private:
    // Commands of the File menu.
    void CmNew();
    void CmOpen();
    // A failed save has told the user already; the command has nothing more to do.
    void CmSave() { static_cast<void>(SaveFile()); }
    void CmSaveAs() { static_cast<void>(SaveFileAs()); }
    void CmImport();
    void CmExport();
    void CmExit();
    // The Card and Partition menus.
    void CmCardNew();
    void CmCardChange();
    void CmCardDelete();
    void CmAllToInput();
    void CmPartitionChange();
    void CmDeleteLast();
    void CmMixAll();
    void CmMixThis();
    // Options and help.
    void CmSwitch();
    void CmUnknownToInput();
    void CmEmptyToEnd();
    void CmHelpIndex();
    void CmHelpSearch();
    void CmHelpOnHelp();
    void CmHelpInfo();
    // Command enablers.
    void CeNeedsCard(platform::CommandState& state);
    void CeSwitch(platform::CommandState& state);
    void CeUnknownToInput(platform::CommandState& state);
    void CeEmptyToEnd(platform::CommandState& state);

    /// The save prompt: true when the command may go on (no changes, No, or a Yes whose save
    /// succeeded).
    bool SavePrompt();
    /// Loads `path` at start-up, telling the user what could not be loaded.
    void LoadStartFile();
    /// Tells why a file was not loaded: it could not be read, or holds too many cards.
    void ReportLoadFailure(const LoadResult& result, const FilePath& path);
    /// Tells what a load could not take as it was: a damaged file, misplaced cards.
    void ReportLoad(const LoadResult& result, const FilePath& path);
    /// A message box with a string-table text, the file's path on its own line.
    void ReportFileProblem(int messageId, const FilePath& path);
    std::string AskedSide(const tVokabel& card) const;
    std::string OtherSide(const tVokabel& card) const;

    tCardBox* box_;
    FilePath fileName_;
    bool answerShown_ = false;
    platform::StatusBarArea MessageArea;
    platform::StatusBarArea CountsGadget;
    int currentPartition_ = 0;
    tVokabel* currentCard_ = nullptr;
    bool switched_ = false;
    bool emptyToEnd_ = false;
    bool changed_ = false;
    platform::Static QuestionStatic;
    platform::Static AnswerStatic;
    platform::Static PartitionStatic;
    platform::Button LookButton;
    platform::Button KnownButton;
    platform::Button UnknownButton;
    // File dialog settings, created at first use and kept for the run.
    std::optional<platform::FileDialogData> openSettings_;
    std::optional<platform::FileDialogData> saveAsSettings_;
    std::optional<platform::FileDialogData> importSettings_;
    std::optional<platform::FileDialogData> exportSettings_;
};

}  // namespace tallyfold
