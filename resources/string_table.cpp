#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/resource_ids.h"

namespace tallyfold {

namespace {

// The program's texts, as users see them. The oldest keep their spelling, slips included:
// users know them so.
constexpr std::array<std::pair<int, std::string_view>, 36> kStrings = {{
    {ids::kStrLook, "Look"},
    {ids::kStrKnown, "Known"},
    {ids::kStrUnknown, "Unknown"},
    {ids::kStrTitle, "Tallyfold"},
    {ids::kStrEraseAll, "All Data will be erased!"},
    {ids::kStrHelpFile, "tallyfold.hlp"},
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
}};

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

std::string FormatString(int id, std::initializer_list<std::int64_t> numbers) {
    constexpr std::size_t kTextBuffer = 80;
    return FormatNumbers(StringResource(id), numbers, kTextBuffer - 1);
}

}  // namespace tallyfold
