#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/resource_ids.h"

namespace tallyfold {

namespace {

// The program's texts, as users see them. The oldest keep their spelling, slips included:
// users know them so.
constexpr auto kStrings = std::to_array<std::pair<int, std::string_view>>({
    {ids::kStrLook, "Look"},
    {ids::kStrKnown, "Known"},
    {ids::kStrUnknown, "Unknown"},
    {ids::kStrTitle, "Tallyfold"},
    {ids::kStrEraseAll, "All Data will be erased!"},
    {ids::kStrSeparatorMissing, "Seperator missing"},
    {ids::kStrQuestionMissing, "Question is missing"},
    {ids::kStrAnswerMissing, "Answer is missing"},
    {ids::kStrSaveChanges, "Save existing changes?"},
    {ids::kStrCardCounters, "known: %d unknown: %d"},
    {ids::kStrPartitionCounts, "Partition: %d Box: %d"},
    {ids::kStrDeleteLast, "Shure to delete tray?"},
    {ids::kStrAllToInput, "All words will be put in the first partition"},
    {ids::kStrFieldsEmpty, "At least on of the fields are empty!"},
    {ids::kStrCancel, "Cancel"},
    {ids::kStrReallyDelete, "Really delete?"},
    {ids::kStrInput, "Input"},
    {ids::kStrTextTooLong, "Text too long"},
    {ids::kStrCharacterNotSupported, "Character not supported"},
    {ids::kStrCannotRead, "This file could not be read as a vocabulary file:"},
    {ids::kStrMisplacedCards,
     "%d cards named no valid partition and were put into the input stack."},
    {ids::kStrCannotSave, "The vocabulary file could not be saved:"},
    {ids::kStrCannotOpenText, "This file could not be opened:"},
    {ids::kStrCannotWriteText, "This file could not be written completely:"},
    {ids::kStrImportTitle, "Import"},
    {ids::kStrExportTitle, "Export"},
    {ids::kStrTextFilter, "All (*.*)|*.*|Text Files (*.txt)|*.txt|"},
    {ids::kStrVocabularyFilter, "Vokabeln (*.vok) | *.vok |"},
    {ids::kStrOk, "Ok"},
    {ids::kStrNoCard, " --- "},
    {ids::kStrNotText, "This file is no text file; nothing was imported:"},
    {ids::kStrImportLine, "Line %d: "},
    {ids::kStrTooManyCards, "This file holds more cards (%d) than the memory can take:"},
    {ids::kStrImportCut, "This file could not be read to its end; %d cards came in:"},
    {ids::kStrFileDamaged,
     "The file was damaged. Its header counts %d cards; the %d found were loaded:"},
    {ids::kStrUndo, "&Undo"},
    {ids::kStrRedo, "&Redo"},
    {ids::kStrStepKnown, "Known"},
    {ids::kStrStepKnown + 1, "Unknown"},
    {ids::kStrStepKnown + 2, "New card"},
    {ids::kStrStepKnown + 3, "Change card"},
    {ids::kStrStepKnown + 4, "Delete card"},
    {ids::kStrStepKnown + 5, "All to input stack"},
    {ids::kStrStepKnown + 6, "Correct card"},
    {ids::kStrStepKnown + 7, "Move cards"},
    {ids::kStrStepKnown + 8, "Delete cards"},
    {ids::kStrStepKnown + 9, "Delete last"},
    {ids::kStrStepKnown + 10, "Mix all"},
    {ids::kStrStepKnown + 11, "Mix this"},
    {ids::kStrStepKnown + 12, "Import"},
    {ids::kStrStepKnown + 13, "New"},
    {ids::kStrRestore, "%s has unsaved changes from %s (%s). Restore them?"},
    {ids::kStrReplaceCards, "%s holds %s. Replace them with the %s of this box?"},
    {ids::kStrOneCard, "%d card"},
    {ids::kStrCards, "%d cards"},
    {ids::kStrOpenElsewhere, "%s is open in another Tallyfold window. Open it anyway?"},
    {ids::kStrChangedOnDisk,
     "%s was changed by another program since it was opened here. Replace it anyway?"},
    {ids::kStrOneChange, "%d change"},
    {ids::kStrChanges, "%d changes"},
    {ids::kStrRestoreIncomplete,
     "Only the changes before the damage came back. The journal is kept as"},
    {ids::kStrRestorePart,
     "%s has unsaved changes from %s, partly damaged. Restore the first %s of %s?"},
    {ids::kStrJournalTooLarge,
     "The unsaved changes of %s add more cards (%s) than the memory can take. Kept as"},
    {ids::kStrNetJournalOff,
     "Crash protection is off (%s): a crash would lose what was not saved."},
    {ids::kStrNetLockOff, "The file cannot be marked as open here (%s): other windows won't know."},
    {ids::kStrNetBackupsOff, "The file was saved, but no backup of the old one was kept (%s)."},
    {ids::kStrFolderMissing, "there is no folder for it: %s"},
    {ids::kStrFolderNotAFolder, "%s is not a folder"},
    {ids::kStrFolderReadOnly, "the folder %s is read-only"},
    {ids::kStrFolderFull, "the disk of %s is full"},
    {ids::kStrFolderUnwritable, "%s takes no files"},
    {ids::kStrNetJournalShort, "No crash protection"},
    {ids::kStrNetLockShort, "Not marked open"},
    {ids::kStrNetBackupsShort, "No backups"},
    {ids::kStrCannotSaveBecause, "The vocabulary file could not be saved (%s):"},
    {ids::kStrNotUtf8, "Bytes that are no UTF-8 text"},
    {ids::kStrControlCharacter, "Control character in the text"},
    {ids::kStrNotUtf8File, "Record %d holds bytes that are no UTF-8 text. Not read:"},
    {ids::kStrOtherCodePage, "Its .cpg file names the code page \"%s\", not UTF-8. Not read:"},
    {ids::kStrTextsCut, "%d texts were longer than a card holds and were cut to fit:"},
    {ids::kStrBecomesUnicode,
     "%s will be saved as a Unicode file, which Tallyfold 0.1.0 cannot open."},
    {ids::kStrCardsPutIn, "%s put in"},
    {ids::kStrEmptyBox, "The box is empty: Card > New (Ctrl+Shift+N) or File > Import adds cards"},
    {ids::kStrImportSummary, "%s: %s added, %s already in the box, %s refused."},
    {ids::kStrImportRefusedLines, "Refused lines: %s."},
    {ids::kStrImportMoreLines, " and %s more"},
    {ids::kStrImportStopped, "Stopped at line %d."},
    {ids::kStrImportReadAsTabs, "Its lines hold tabs: they were read as tab-separated."},
    {ids::kStrQuestionFont, "Question font"},
    {ids::kStrAnswerFont, "Answer font"},
    {ids::kStrQuestionName, "Question: %s"},
    {ids::kStrAnswerName, "Answer: %s"},
    {ids::kStrAnswerHidden, "Answer: hidden"},
    {ids::kStrPartitionName, "Partition %s"},
    {ids::kStrNoPartition, "No card asked"},
    {ids::kStrInputStackShort, "Input"},
    {ids::kStrCardsShown, "%s of %s"},
    {ids::kStrColumnQuestion, "Question"},
    {ids::kStrColumnAnswer, "Answer"},
    {ids::kStrColumnPartition, "Partition"},
    {ids::kStrColumnKnown, "Known"},
    {ids::kStrColumnUnknown, "Unknown"},
    {ids::kStrAllPartitions, "All"},
    {ids::kStrDeleteCards, "Delete %s?"},
    {ids::kStrStepResetCounters, "Reset counters"},
    {ids::kStrResetCounters, "Set the known and unknown counts of %s to 0?"},
    {ids::kStrStepMoveCount, "Move %s"},
    {ids::kStrStepDeleteCount, "Delete %s"},
    {ids::kStrStepResetCount, "Reset counters of %s"},
    {ids::kStrAnswerRight, "Right"},
    {ids::kStrAnswerRightBut, "Right, but for %s"},
    {ids::kStrAnswerNotRight, "Not right"},
    {ids::kStrSlipCapitals, "the capital letters"},
    {ids::kStrSlipAccents, "the accents"},
    {ids::kStrSlipPunctuation, "the punctuation"},
    {ids::kStrSlipsAnd, "%s and %s"},
    {ids::kStrAnswerTyped, "typed: %s, expected: %s"},
    {ids::kStrOneLetterWrong, "%d letter wrong"},
    {ids::kStrLettersWrong, "%d letters wrong"},
    {ids::kStrOneLetterMissing, "%d letter missing"},
    {ids::kStrLettersMissing, "%d letters missing"},
    {ids::kStrOneLetterExtra, "%d letter too many"},
    {ids::kStrLettersExtra, "%d letters too many"},
    {ids::kStrAnswerOneOfSeveral, "%s (one of the answers)"},
    {ids::kStrTypedAnswerName, "Your answer"},
    {ids::kStrHistoryDamaged,
     "The learning history of this box could not be read. It was kept aside, and counting "
     "starts again:"},
    {ids::kStrHistoryDamagedKept,
     "The learning history of this box could not be read, nor moved aside. It is left as it is, "
     "and Tallyfold counts without it:"},
    {ids::kStrTodayStrip, "Today: %d, streak: %d"},
    {ids::kStrStatsTotals, "%s in the box, %s waiting in the input stack, %s learnt"},
    {ids::kStrStatsRight, "Answered right: %s of %s answers"},
    {ids::kStrStatsNoAnswers, "No answers yet"},
    {ids::kStrStatsStreak, "%s with answers in the last year; streak: %s, longest: %s"},
    {ids::kStrStatsBoxName, "Cards in each partition: %s"},
    {ids::kStrStatsPartition, "partition %s: %s of %s"},
    {ids::kStrStatsPartitionOver, "partition %s: %s of %s, over"},
    {ids::kStrStatsUnlimited, "partition %s: %s"},
    {ids::kStrStatsDaysName,
     "Answers in the last 30 days: %s known, %s not known; today %s known, %s not known"},
    {ids::kStrStatsCalendarName, "Answers day by day in the last year: %s"},
    {ids::kStrStatsDaysAgo, "30 days ago"},
    {ids::kStrStatsToday, "today"},
    {ids::kStrOneDay, "1 day"},
    {ids::kStrDays, "%d days"},
    {ids::kStrStatsColumnNotKnown, "Not known"},
    {ids::kStrStatsYearAgo, "a year ago"},
    {ids::kStrHistoryUnsaved,
     "The cards were saved, but the learning history could not be written beside them:"},
});

}  // namespace

std::string_view StringResource(int id) {
    for (const auto& [key, text] : kStrings) {
        if (key == id) {
            return text;
        }
    }
    return {};
}

int LoadString(int id, std::span<char> buffer) {
    if (buffer.empty()) {
        return 0;
    }
    const std::string_view text = StringResource(id);
    const std::size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.data(), length, buffer.data());
    buffer[length] = '\0';
    return static_cast<int>(length);
}

std::string FormatNumbers(std::string_view format, std::initializer_list<std::int64_t> numbers,
                          std::size_t limit) {
    std::string text;
    const std::int64_t* next = numbers.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const bool directive = format[i] == '%' && i + 1 < format.size();
        if (directive && format[i + 1] == '%') {
            text += '%';
            ++i;
        } else if (directive && format[i + 1] == 'd' && next != numbers.end()) {
            text += std::to_string(*next++);
            ++i;
        } else {
            text += format[i];
        }
    }
    if (text.size() > limit) {
        text.resize(limit);
    }
    return text;
}

std::string FormatTexts(std::string_view format, std::initializer_list<std::string_view> texts) {
    std::string text;
    const std::string_view* next = texts.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' &&
            next != texts.end()) {
            text += *next++;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

std::string CountOf(std::int64_t count, int oneId, int manyId) {
    return FormatNumbers(StringResource(count == 1 ? oneId : manyId), {count}, 79);
}

std::string FormatString(int id, std::initializer_list<std::int64_t> numbers) {
    constexpr std::size_t kTextBuffer = 80;
    return FormatNumbers(StringResource(id), numbers, kTextBuffer - 1);
}

}  // namespace tallyfold
