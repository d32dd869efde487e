#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/card_fonts.h"
#include "app/recent_files.h"
#include "document/document.h"
#include "document/learning_session.h"
#include "document/text_import.h"
#include "files/vok_file.h"
#include "platform/controls.h"
#include "platform/frame_window.h"
#include "platform/window.h"

namespace tallyfold {

/// The main window's client: it draws the learning view (question, answer, partition number,
/// Look, Known and Unknown) and turns every menu command and key of the program into calls of
/// the document and the learning session, asking the user what the commands need to know.
///
/// The document is not owned; it lives for the whole run.
class tHauptFenster : public platform::Window, private LearningView {
  public:
    /// `fileName` is the vocabulary file to open when the window is set up (may be empty).
    tHauptFenster(platform::Backend& backend, Document& document, FilePath fileName);

    /// The status bar areas the view writes: the message area, the counts area, the safety net's
    /// and today's.
    void SetStatusAreas(platform::StatusBarArea messageArea, platform::StatusBarArea countsGadget,
                        platform::StatusBarArea safetyGadget, platform::StatusBarArea todayGadget);
    /// The main window this view is the client of: File > Exit closes it.
    void SetFrame(platform::FrameWindow& frame) { frame_ = &frame; }

    void SetupWindow() override;
    void EvShown() override;
    void EvSize(int width, int height) override;
    /// A vocabulary file dropped on the window opens (after the save prompt), a text file is
    /// imported.
    void EvDropFile(const FilePath& path) override;
    /// Puts the save prompt when the box holds unsaved changes.
    bool CanClose() override;

    /// Chooses the next card and shows it; writes both status texts.
    void Refresh() { session_.Refresh(); }
    void CmLookOrKnown() { session_.LookOrKnown(); }
    void CmLookOrProposed() { session_.LookOrProposed(); }
    void CmLook() { session_.Look(); }
    bool Typing() const { return session_.Typing(); }
    void CmKnown() { session_.Known(); }
    void CmUnknown() { session_.Unknown(); }

    /// Saves to the current file, or asks for one. False when nothing was saved.
    [[nodiscard]] bool SaveFile();
    /// Asks for a file and saves to it. False when cancelled or when saving failed.
    [[nodiscard]] bool SaveFileAs();

    const FilePath& FileName() const { return document_->Path(); }
    bool Changed() const { return document_->Changed(); }
    bool AnswerShown() const { return session_.AnswerShown(); }
    const tVokabel* CurrentCard() const { return session_.CurrentCard(); }
    int CurrentPartition() const { return session_.CurrentPartition(); }

  private:
    // The learning view.
    void ShowQuestion(std::string_view text) override;
    void ShowAnswer(std::string_view text) override;
    void ShowPartition(std::string_view text) override;
    void EnableVerdicts(bool answerShown, Verdict proposed) override;
    void ShowCounters(std::string_view text) override;
    void ShowCounts(std::string_view text) override;
    void ShowToday(std::string_view text) override { TodayGadget.SetText(text); }
    void ShowTypingStep(TypingStep step) override;
    std::string TypedAnswer() const override;
    void ClearTypedAnswer() override;
    void ShowComparison(const AnswerComparison& comparison) override;
    /// Places the fields for the window's size and the typing step.
    void LayOut();

    // Commands of the File menu.
    void CmNew();
    void CmOpen();
    // A failed save has told the user already; the command has nothing more to do.
    void CmSave() { static_cast<void>(SaveFile()); }
    void CmSaveAs() { static_cast<void>(SaveFileAs()); }
    void CmImport();
    /// Open and Import once their file is chosen.
    void OpenFile(const FilePath& path);
    void ImportFrom(const FilePath& path, ImportFormat format);
    /// The File menu's recent files: read at start, the document's file put first after every
    /// open and save.
    void LoadRecentFiles();
    void NoteRecentFile();
    void CeRecentFile(int place, platform::CommandState& state);
    void CmRecentFile(int place);
    void CmExport();
    void CmExit();
    // The Edit menu.
    void CmUndo();
    void CmRedo();
    void CeUndo(platform::CommandState& state);
    void CeRedo(platform::CommandState& state);
    // The Card and Partition menus.
    void CmCardNew();
    void CmCardChange();
    void CmCardDelete();
    void CmFindCards();
    void CmStatistics();
    void CmAllToInput();
    void CmPartitionChange();
    void CmDeleteLast();
    void CmMixAll();
    void CmMixThis();
    // Options and help.
    void CmSwitch();
    void CmUnknownToInput();
    void CmEmptyToEnd();
    /// Typing the answer and its tolerances, each kept between runs.
    void CmTypeAnswer();
    void ToggleTolerance(bool AnswerTolerances::*tolerance, std::string_view key);
    void ReadTypingSettings();
    void CmQuestionFont();
    void CmAnswerFont();
    /// Lets the learner choose the font of a side, which is kept between runs.
    void ChooseCardFont(platform::TextFont& font, int titleId, std::string_view key);
    /// Draws the sides in their fonts, at the size for the card fields as they are now: a font
    /// follows its side of the card, also where Switch asks the answer.
    void ShowCardFonts();
    void CmHelpIndex();
    void CmHelpSearch();
    void CmHelpOnHelp();
    void CmHelpInfo();
    // Command enablers.
    void CeNeedsCard(platform::CommandState& state);
    void CeSwitch(platform::CommandState& state);
    void CeUnknownToInput(platform::CommandState& state);
    void CeEmptyToEnd(platform::CommandState& state);
    void CeTypeAnswer(platform::CommandState& state);
    void CeTolerance(platform::CommandState& state, bool AnswerTolerances::*tolerance);

    /// The save prompt: true when the command may go on (no changes, No, or a Yes whose save
    /// succeeded).
    bool SavePrompt();
    /// Loads the file named at start-up, telling the user what could not be loaded, and offers
    /// the unsaved changes a crash left.
    void LoadStartFile();
    void OfferRecovery();
    /// Asks whether to open a file that another Tallyfold has open; true to go on.
    bool MayOpenHere(const FilePath& path);
    /// Asks what a save to `path` (empty: the document's own file) would replace; true to go on.
    bool MayReplace(const FilePath& path);
    /// Tells why a file was not loaded: it could not be read, or holds too many cards.
    void ReportLoadFailure(const LoadResult& result, const FilePath& path);
    /// Tells what a load could not take as it was: a damaged file, misplaced cards.
    void ReportLoad(const LoadResult& result, const FilePath& path);
    /// A message box with a string-table text, the file's path on its own line.
    void ReportFileProblem(int messageId, const FilePath& path);
    /// Tells the learner once a session of each part of the safety net that is off, and shows
    /// the parts that are off in the status bar while they are.
    void ReportSafetyNet();
    /// A save that failed, with the folder that kept it from being made where that is known.
    void ReportSaveFailure(const FilePath& path);
    /// A save that wrote the cards but not their day history beside them.
    void ReportHistorySave();

    Document* document_;
    LearningSession session_;
    FilePath startFile_;
    platform::StatusBarArea MessageArea;
    platform::FrameWindow* frame_ = nullptr;
    platform::StatusBarArea CountsGadget;
    platform::StatusBarArea SafetyGadget;
    platform::StatusBarArea TodayGadget;
    // Parts of the safety net whose loss was told this session, by `Document::NetPart`.
    std::array<bool, 3> netLossTold_{};
    bool historyUnsavedTold_ = false;
    platform::Static QuestionStatic;
    platform::Static AnswerStatic;
    platform::Static PartitionStatic;
    platform::Edit TypedAnswerEdit;
    platform::MarkedText TypedMarks;
    platform::Static VerdictStatic;
    TypingStep typingStep_ = TypingStep::Off;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    platform::Button LookButton;
    platform::Button KnownButton;
    platform::Button UnknownButton;
    platform::TextFont questionFont_ = DefaultCardFont();
    platform::TextFont answerFont_ = DefaultCardFont();
    int cardFieldHeight_ = kCardFieldHeightAtChosenSize;
    // File dialog settings, created at first use and kept for the run.
    std::optional<platform::FileDialogData> openSettings_;
    RecentFiles recent_;
    // Whether the start file was opened (once the window first showed).
    bool started_ = false;
    std::optional<platform::FileDialogData> saveAsSettings_;
    std::optional<platform::FileDialogData> importSettings_;
    std::optional<platform::FileDialogData> exportSettings_;
};

}  // namespace tallyfold
