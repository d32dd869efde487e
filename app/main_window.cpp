#include "app/main_window.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "dialogs/help.h"
#include "document/day_history_file.h"
#include "files/vok_file.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "table/local_time.h"
#include "table/native_path.h"

namespace tallyfold {

using platform::ControlKind;
namespace style = platform::style;

namespace {

constexpr std::string_view kQuestionFontKey = "questionFont";
constexpr std::string_view kAnswerFontKey = "answerFont";
constexpr std::string_view kTypeAnswerKey = "typeAnswer";
constexpr std::string_view kIgnoreCapitalsKey = "ignoreCapitals";
constexpr std::string_view kIgnoreAccentsKey = "ignoreAccents";
constexpr std::string_view kIgnorePunctuationKey = "ignorePunctuation";
constexpr std::string_view kAcceptAlternativesKey = "acceptAlternatives";
// What the field for a typed answer takes: more than any card's side holds, so that a long
// wrong answer is still shown whole against the right one.
constexpr std::size_t kTypedCharacters = 100;
constexpr std::size_t kTypedBytes = 400;

std::string Loaded(int id) {
    char text[80];
    LoadString(id, text);
    return text;
}

}  // namespace

tHauptFenster::tHauptFenster(platform::Backend& backend, Document& document, FilePath fileName)
    : Window(backend),
      document_(&document),
      session_(document, *this),
      startFile_(std::move(fileName)),
      QuestionStatic(*this, ids::kQuestionStatic),
      AnswerStatic(*this, ids::kAnswerStatic),
      PartitionStatic(*this, ids::kPartitionStatic),
      TypedAnswerEdit(*this, ids::kTypedAnswerEdit),
      TypedMarks(*this, ids::kTypedMarks),
      VerdictStatic(*this, ids::kVerdictStatic),
      LookButton(*this, ids::kLookButton),
      KnownButton(*this, ids::kKnownButton),
      UnknownButton(*this, ids::kUnknownButton) {
    constexpr unsigned kPushButton = style::kDefaultButton | style::kTabStop;
    AddControl({ids::kQuestionStatic,
                ControlKind::Static,
                " ",
                {20, 20, 560, 20},
                style::kCenter | style::kBorder});
    AddControl({ids::kAnswerStatic,
                ControlKind::Static,
                " ",
                {20, 90, 560, 20},
                style::kCenter | style::kBorder});
    AddControl({ids::kPartitionStatic,
                ControlKind::Static,
                " ",
                {20, 120, 560, 20},
                style::kCenter | style::kTextBackground});
    // While answers are typed: the field for the answer where the answer shows, and once it is
    // checked, what was typed marked under the answer, the verdict where Look was.
    AddControl({ids::kTypedAnswerEdit,
                ControlKind::Edit,
                "",
                {20, 90, 560, 24},
                style::kBorder | style::kTabStop});
    AddControl({ids::kTypedMarks, ControlKind::MarkedText, "", {20, 110, 560, 20}, style::kBorder});
    AddControl({ids::kVerdictStatic, ControlKind::Static, "", {20, 50, 560, 30}, style::kCenter});
    AddControl({ids::kLookButton,
                ControlKind::Button,
                Loaded(ids::kStrLook),
                {245, 50, 100, 30},
                kPushButton});
    AddControl({ids::kUnknownButton,
                ControlKind::Button,
                Loaded(ids::kStrUnknown),
                {20, 160, 100, 30},
                kPushButton});
    AddControl({ids::kKnownButton,
                ControlKind::Button,
                Loaded(ids::kStrKnown),
                {470, 160, 100, 30},
                kPushButton});

    OnCommand(ids::kCmFileNew, &tHauptFenster::CmNew);
    OnCommand(ids::kCmFileOpen, &tHauptFenster::CmOpen);
    OnCommand(ids::kCmFileSave, &tHauptFenster::CmSave);
    OnCommand(ids::kCmFileSaveAs, &tHauptFenster::CmSaveAs);
    OnCommand(ids::kCmFileImport, &tHauptFenster::CmImport);
    OnCommand(ids::kCmFileExport, &tHauptFenster::CmExport);
    OnCommand(ids::kCmFileExit, &tHauptFenster::CmExit);
    OnCommand(ids::kCmEditUndo, &tHauptFenster::CmUndo);
    OnCommand(ids::kCmEditRedo, &tHauptFenster::CmRedo);
    OnCommand(ids::kCmCardNew, &tHauptFenster::CmCardNew);
    OnCommand(ids::kCmCardChange, &tHauptFenster::CmCardChange);
    OnCommand(ids::kCmCardDelete, &tHauptFenster::CmCardDelete);
    OnCommand(ids::kCmFindCards, &tHauptFenster::CmFindCards);
    OnCommand(ids::kCmStatistics, &tHauptFenster::CmStatistics);
    OnCommand(ids::kCmAllToInput, &tHauptFenster::CmAllToInput);
    OnCommand(ids::kCmPartitionChange, &tHauptFenster::CmPartitionChange);
    OnCommand(ids::kCmDeleteLast, &tHauptFenster::CmDeleteLast);
    OnCommand(ids::kCmMixAll, &tHauptFenster::CmMixAll);
    OnCommand(ids::kCmMixThis, &tHauptFenster::CmMixThis);
    OnCommand(ids::kCmSwitch, &tHauptFenster::CmSwitch);
    OnCommand(ids::kCmEmptyToEnd, &tHauptFenster::CmEmptyToEnd);
    OnCommand(ids::kCmUnknownToInput, &tHauptFenster::CmUnknownToInput);
    OnCommand(ids::kCmTypeAnswer, &tHauptFenster::CmTypeAnswer);
    OnCommand(ids::kCmIgnoreCapitals,
              [this] { ToggleTolerance(&AnswerTolerances::capitals, kIgnoreCapitalsKey); });
    OnCommand(ids::kCmIgnoreAccents,
              [this] { ToggleTolerance(&AnswerTolerances::accents, kIgnoreAccentsKey); });
    OnCommand(ids::kCmIgnorePunctuation,
              [this] { ToggleTolerance(&AnswerTolerances::punctuation, kIgnorePunctuationKey); });
    OnCommand(ids::kCmAcceptAlternatives,
              [this] { ToggleTolerance(&AnswerTolerances::alternatives, kAcceptAlternativesKey); });
    OnCommand(ids::kCmQuestionFont, &tHauptFenster::CmQuestionFont);
    OnCommand(ids::kCmAnswerFont, &tHauptFenster::CmAnswerFont);
    OnCommand(ids::kCmHelpIndex, &tHauptFenster::CmHelpIndex);
    OnCommand(ids::kCmHelpSearch, &tHauptFenster::CmHelpSearch);
    OnCommand(ids::kCmHelpOnHelp, &tHauptFenster::CmHelpOnHelp);
    OnCommand(ids::kCmHelpInfo, &tHauptFenster::CmHelpInfo);
    OnCommand(ids::kLookButton, &tHauptFenster::CmLook);
    OnCommand(ids::kKnownButton, &tHauptFenster::CmKnown);
    OnCommand(ids::kUnknownButton, &tHauptFenster::CmUnknown);
    OnCommand(ids::kCmUnknown, &tHauptFenster::CmUnknown);
    OnCommand(ids::kCmLookOrKnown, &tHauptFenster::CmLookOrKnown);
    OnCommand(ids::kCmLookOrProposed, &tHauptFenster::CmLookOrProposed);

    OnEnable(ids::kCmEditUndo, &tHauptFenster::CeUndo);
    OnEnable(ids::kCmEditRedo, &tHauptFenster::CeRedo);
    OnEnable(ids::kCmCardChange, &tHauptFenster::CeNeedsCard);
    OnEnable(ids::kCmCardDelete, &tHauptFenster::CeNeedsCard);
    OnEnable(ids::kCmSwitch, &tHauptFenster::CeSwitch);
    OnEnable(ids::kCmUnknownToInput, &tHauptFenster::CeUnknownToInput);
    OnEnable(ids::kCmEmptyToEnd, &tHauptFenster::CeEmptyToEnd);
    OnEnable(ids::kCmTypeAnswer, &tHauptFenster::CeTypeAnswer);
    OnEnable(ids::kCmIgnoreCapitals, [this](platform::CommandState& state) {
        CeTolerance(state, &AnswerTolerances::capitals);
    });
    OnEnable(ids::kCmIgnoreAccents, [this](platform::CommandState& state) {
        CeTolerance(state, &AnswerTolerances::accents);
    });
    OnEnable(ids::kCmIgnorePunctuation, [this](platform::CommandState& state) {
        CeTolerance(state, &AnswerTolerances::punctuation);
    });
    OnEnable(ids::kCmAcceptAlternatives, [this](platform::CommandState& state) {
        CeTolerance(state, &AnswerTolerances::alternatives);
    });
}

void tHauptFenster::SetStatusAreas(platform::StatusBarArea messageArea,
                                   platform::StatusBarArea countsGadget,
                                   platform::StatusBarArea safetyGadget,
                                   platform::StatusBarArea todayGadget) {
    MessageArea = messageArea;
    CountsGadget = countsGadget;
    SafetyGadget = safetyGadget;
    TodayGadget = todayGadget;
}

void tHauptFenster::SetupWindow() {
    questionFont_ = CardFontOfSetting(GetBackend().ReadSetting(kQuestionFontKey));
    answerFont_ = CardFontOfSetting(GetBackend().ReadSetting(kAnswerFontKey));
    TypedAnswerEdit.LimitText(kTypedCharacters, kTypedBytes);
    TypedAnswerEdit.SetAccessibleName(StringResource(ids::kStrTypedAnswerName));
    ShowTypingStep(TypingStep::Off);
    ReadTypingSettings();
    ShowCardFonts();
    LoadRecentFiles();
}

namespace {

bool IsOn(std::string_view setting) {
    return setting == "1";
}

}  // namespace

// Unlike Switch and the other learning options, typing and what its check overlooks are kept
// between runs: a learner who types answers does so every time.
void tHauptFenster::ReadTypingSettings() {
    const platform::Backend& settings = GetBackend();
    AnswerTolerances tolerances;
    tolerances.capitals = IsOn(settings.ReadSetting(kIgnoreCapitalsKey));
    tolerances.accents = IsOn(settings.ReadSetting(kIgnoreAccentsKey));
    tolerances.punctuation = IsOn(settings.ReadSetting(kIgnorePunctuationKey));
    tolerances.alternatives = IsOn(settings.ReadSetting(kAcceptAlternativesKey));
    session_.SetTolerances(tolerances);
    session_.SetTyping(IsOn(settings.ReadSetting(kTypeAnswerKey)));
}

void tHauptFenster::CmTypeAnswer() {
    session_.SetTyping(!session_.Typing());
    GetBackend().WriteSetting(kTypeAnswerKey, session_.Typing() ? "1" : "0");
}

void tHauptFenster::ToggleTolerance(bool AnswerTolerances::*tolerance, std::string_view key) {
    AnswerTolerances tolerances = session_.Tolerances();
    tolerances.*tolerance = !(tolerances.*tolerance);
    session_.SetTolerances(tolerances);
    GetBackend().WriteSetting(key, tolerances.*tolerance ? "1" : "0");
}

void tHauptFenster::CeTypeAnswer(platform::CommandState& state) {
    state.checked = session_.Typing();
}

// The tolerances stay at hand while answers are looked at, greyed: they belong to typing.
void tHauptFenster::CeTolerance(platform::CommandState& state, bool AnswerTolerances::*tolerance) {
    state.enabled = session_.Typing();
    state.checked = session_.Tolerances().*tolerance;
}

// The start file is opened once the window is on screen: every question and message about it
// then comes up over the window, owned by it, not alone on an empty screen.
void tHauptFenster::EvShown() {
    if (started_) {
        return;
    }
    started_ = true;
    if (!startFile_.IsEmpty()) {
        LoadStartFile();
    }
    OfferRecovery();
    // No file or recovery brought a card: the start shows the way as an empty box does.
    if (session_.CurrentCard() == nullptr) {
        ShowQuestion(session_.NoCardText());
        ShowAnswer(" ");
        ShowPartition(" ");
    }
}

void tHauptFenster::LoadStartFile() {
    if (!MayOpenHere(startFile_)) {
        document_->DropReadAhead();
        return;
    }
    const LoadResult result = document_->Open(startFile_);
    Refresh();
    if (!result.opened) {
        // A name that names nothing yet is kept: Save creates the file. A file that is there
        // but unreadable must not be replaced by an empty box behind the user's back.
        std::error_code error;
        if (std::filesystem::exists(NativePath(startFile_), error) || error) {
            ReportLoadFailure(result, startFile_);
        } else {
            document_->SetPath(startFile_);
        }
        return;
    }
    NoteRecentFile();
    ReportLoad(result, startFile_);
}

void tHauptFenster::OfferRecovery() {
    const std::optional<Recovery> recovery = document_->FindRecovery(document_->Path());
    if (!recovery) {
        return;
    }
    char when[32] = "?";
    const auto written = static_cast<std::time_t>(recovery->written);
    if (const std::optional<std::tm> local = LocalTime(written)) {
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &*local);
    }
    const std::string name = document_->Path().IsEmpty()
                                 ? std::string(StringResource(ids::kStrTitle))
                                 : std::string(document_->Path().FileName());
    const ChangeCount& count = recovery->count;
    if (!FitsInMemory(*recovery)) {
        Document::SetAside(*recovery);
        MessageBoxAbout(FormatTexts(StringResource(ids::kStrJournalTooLarge),
                                    {name, std::to_string(count.cards)}),
                        DamagedJournalPath(recovery->journal));
        return;
    }
    const std::string changes = CountOf(count.changes, ids::kStrOneChange, ids::kStrChanges);
    const std::string question =
        count.whole ? FormatTexts(StringResource(ids::kStrRestore), {name, when, changes})
                    : FormatTexts(StringResource(ids::kStrRestorePart),
                                  {name, when, changes, std::to_string(count.recorded)});
    if (MessageBox(question, "", platform::MessageButtons::YesNo,
                   platform::MessageIcon::Question) != platform::DialogResult::Yes) {
        Document::Discard(*recovery);
        return;
    }
    const bool whole = document_->Restore(*recovery);
    session_.ShowRestored();
    if (!whole) {
        MessageBoxAbout(StringResource(ids::kStrRestoreIncomplete),
                        DamagedJournalPath(recovery->journal));
    }
}

bool tHauptFenster::MayOpenHere(const FilePath& path) {
    if (!Document::OpenElsewhere(path)) {
        return true;
    }
    const std::string question =
        FormatTexts(StringResource(ids::kStrOpenElsewhere), {path.FileName()});
    return MessageBox(question, "", platform::MessageButtons::YesNo,
                      platform::MessageIcon::Question) == platform::DialogResult::Yes;
}

void tHauptFenster::ReportHistorySave() {
    if (!document_->HistoryUnsaved()) {
        historyUnsavedTold_ = false;
        return;
    }
    // Told once until a save writes it again: the cards, which matter most, were saved.
    if (!historyUnsavedTold_) {
        historyUnsavedTold_ = true;
        MessageBoxAbout(StringResource(ids::kStrHistoryUnsaved),
                        DayHistoryFileName(document_->Path()));
    }
}

void tHauptFenster::ReportLoad(const LoadResult& result, const FilePath& path) {
    if (const std::optional<FilePath> aside = document_->TakeDamagedHistory()) {
        if (aside->IsEmpty()) {
            MessageBoxAbout(StringResource(ids::kStrHistoryDamagedKept), DayHistoryFileName(path));
        } else {
            MessageBoxAbout(StringResource(ids::kStrHistoryDamaged), *aside);
        }
    }
    if (result.Damaged()) {
        const std::string text = FormatNumbers(StringResource(ids::kStrFileDamaged),
                                               {result.counted, result.loaded}, 119);
        MessageBoxAbout(text, path);
    }
    if (result.misplaced > 0) {
        MessageBox(FormatNumbers(StringResource(ids::kStrMisplacedCards), {result.misplaced}, 119),
                   "");
    }
    if (result.cut > 0) {
        MessageBoxAbout(FormatNumbers(StringResource(ids::kStrTextsCut), {result.cut}, 119), path);
    }
}

void tHauptFenster::ReportLoadFailure(const LoadResult& result, const FilePath& path) {
    switch (result.refused) {
        case LoadRefusal::TooLarge:
            MessageBoxAbout(
                FormatNumbers(StringResource(ids::kStrTooManyCards), {result.counted}, 119), path);
            return;
        case LoadRefusal::NotUtf8:
            MessageBoxAbout(
                FormatNumbers(StringResource(ids::kStrNotUtf8File), {result.badRecord}, 119), path);
            return;
        case LoadRefusal::OtherCodePage:
            MessageBoxAbout(FormatTexts(StringResource(ids::kStrOtherCodePage), {result.codePage}),
                            path);
            return;
        case LoadRefusal::None:
        case LoadRefusal::NoCardFields:
            break;
    }
    ReportFileProblem(ids::kStrCannotRead, path);
}

void tHauptFenster::ReportFileProblem(int messageId, const FilePath& path) {
    MessageBoxAbout(StringResource(messageId), path);
}

namespace {

// Why a folder takes no files, in words, naming it.
std::string FolderReason(const FilePath& folder, FolderProblem problem) {
    return FormatTexts(StringResource(ids::kStrFolderMissing + static_cast<int>(problem)),
                       {folder.Bytes()});
}

}  // namespace

void tHauptFenster::ReportSafetyNet() {
    static constexpr int kLost[] = {ids::kStrNetJournalOff, ids::kStrNetLockOff,
                                    ids::kStrNetBackupsOff};
    static constexpr int kShort[] = {ids::kStrNetJournalShort, ids::kStrNetLockShort,
                                     ids::kStrNetBackupsShort};
    std::string status;
    std::vector<std::string> untold;
    for (const Document::NetGap& gap : document_->NetGaps()) {
        const auto part = static_cast<std::size_t>(gap.part);
        status += (status.empty() ? "" : ", ") + std::string(StringResource(kShort[part]));
        if (!netLossTold_[part]) {
            netLossTold_[part] = true;
            untold.push_back(
                FormatTexts(StringResource(kLost[part]), {FolderReason(gap.folder, gap.problem)}));
        }
    }
    SafetyGadget.SetText(status);
    for (const std::string& text : untold) {
        MessageBox(text, "");
    }
}

void tHauptFenster::ReportSaveFailure(const FilePath& path) {
    const Document::NetGap problem = document_->ProblemOfSaving(path);
    if (problem.problem == FolderProblem::Unwritable) {
        ReportFileProblem(ids::kStrCannotSave, path);
        return;
    }
    MessageBoxAbout(FormatTexts(StringResource(ids::kStrCannotSaveBecause),
                                {FolderReason(problem.folder, problem.problem)}),
                    path);
}

void tHauptFenster::EvSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    LayOut();
    if (Peer() != nullptr) {
        Peer()->Invalidate();
    }
}

void tHauptFenster::LayOut() {
    // Until the window system tells the client's size, the fields stay where they were made.
    if (Peer() == nullptr || (clientWidth_ == 0 && clientHeight_ == 0)) {
        return;
    }
    const int width = clientWidth_;
    const int row = clientHeight_ - 50;
    KnownButton.Move({width - 120, row, 100, 30});
    UnknownButton.Move({20, row, 100, 30});
    PartitionStatic.Move({121, row, width - 236, 30});
    LookButton.Move({width / 2 - 50, row / 2 - 15, 100, 30});
    // The card fields keep their places around Look and grow with the window, up to the room
    // Look leaves between them.
    cardFieldHeight_ = std::max(20, row / 2 - 36);
    const platform::Rect answer{20, (3 * row) / 4 - cardFieldHeight_ / 2, width - 40,
                                cardFieldHeight_};
    QuestionStatic.Move({20, row / 4 - cardFieldHeight_ / 2, width - 40, cardFieldHeight_});
    switch (typingStep_) {
        case TypingStep::Off:
            AnswerStatic.Move(answer);
            break;
        case TypingStep::Asking: {
            // A field of a line's height amid the answer's place, its text as large as the
            // answer's would be there.
            AnswerStatic.Move(answer);
            const int height = std::clamp(cardFieldHeight_, 24, 48);
            TypedAnswerEdit.Move(
                {answer.x, answer.y + (answer.height - height) / 2, answer.width, height});
            break;
        }
        case TypingStep::Checked: {
            // The answer above, what was typed under it, the verdict where Look was.
            const int half = answer.height / 2;
            AnswerStatic.Move({answer.x, answer.y, answer.width, half});
            TypedMarks.Move({answer.x, answer.y + half, answer.width, answer.height - half});
            VerdictStatic.Move({20, row / 2 - 15, width - 40, 30});
            break;
        }
    }
    ShowCardFonts();
}

void tHauptFenster::CeNeedsCard(platform::CommandState& state) {
    state.enabled = session_.CurrentCard() != nullptr;
}

void tHauptFenster::CeSwitch(platform::CommandState& state) {
    state.checked = session_.Switched();
}

void tHauptFenster::CeUnknownToInput(platform::CommandState& state) {
    state.checked = document_->Box().UnknownToInput();
}

void tHauptFenster::CeEmptyToEnd(platform::CommandState& state) {
    state.checked = session_.EmptyToEnd();
}

void tHauptFenster::CeUndo(platform::CommandState& state) {
    state.enabled = document_->CanUndo();
    state.text = std::string(StringResource(ids::kStrUndo));
    if (state.enabled) {
        state.text += " " + document_->UndoTitle();
    }
}

void tHauptFenster::CeRedo(platform::CommandState& state) {
    state.enabled = document_->CanRedo();
    state.text = std::string(StringResource(ids::kStrRedo));
    if (state.enabled) {
        state.text += " " + document_->RedoTitle();
    }
}

void tHauptFenster::CmUndo() {
    if (document_->Undo()) {
        session_.ShowRestored();
    }
}

void tHauptFenster::CmRedo() {
    if (document_->Redo()) {
        session_.ShowRestored();
    }
}

void tHauptFenster::CmSwitch() {
    session_.ToggleSwitched();
    ShowCardFonts();
}

void tHauptFenster::CmUnknownToInput() {
    document_->SetUnknownToInput(!document_->Box().UnknownToInput());
}

void tHauptFenster::CmEmptyToEnd() {
    session_.ToggleEmptyToEnd();
}

void tHauptFenster::CmQuestionFont() {
    ChooseCardFont(questionFont_, ids::kStrQuestionFont, kQuestionFontKey);
}

void tHauptFenster::CmAnswerFont() {
    ChooseCardFont(answerFont_, ids::kStrAnswerFont, kAnswerFontKey);
}

void tHauptFenster::CmHelpIndex() {
    ShowHelp(*this, platform::HelpCommand::Contents);
}

void tHauptFenster::CmHelpSearch() {
    ShowHelp(*this, platform::HelpCommand::PartialKey);
}

void tHauptFenster::CmHelpOnHelp() {
    ShowHelp(*this, platform::HelpCommand::HelpOnHelp);
}

void tHauptFenster::CmHelpInfo() {
    ShowHelp(*this, platform::HelpCommand::Key, 0, "Copyright");
}

}  // namespace tallyfold
