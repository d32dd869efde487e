// Import and Export of the File menu: the dialogs and messages around the text files.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "document/text_import.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "text/graphemes.h"

namespace tallyfold {

namespace {

// A refused line as its message shows it: its number, and no more of it than a person reads
// at a glance (a line may be megabytes long).
std::string RefusedLine(int number, std::string_view line) {
    // Sixty characters as a person counts them: a line is never cut inside one.
    constexpr std::size_t kShown = 60;
    std::string text = FormatString(ids::kStrImportLine, {number});
    const std::size_t shown = unicode::BytesOfGraphemes(line, kShown);
    text += line.substr(0, shown);
    if (shown < line.size()) {
        text += "...";
    }
    return text;
}

// How many refused lines the summary lists by number; of a file of millions of refused lines
// only these are kept.
constexpr std::size_t kLinesListed = 40;

// The numbers of refused lines as the summary lists them: the first ones, then how many more.
std::string LineNumbers(const std::vector<int>& listed, std::size_t refused) {
    std::string text;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(listed[i]);
    }
    if (refused > listed.size()) {
        text += FormatTexts(StringResource(ids::kStrImportMoreLines),
                            {std::to_string(refused - listed.size())});
    }
    return text;
}

// The Import dialog's file types beside the program's own (All, Text Files), and their places.
constexpr std::string_view kImportFormatFilters = "Tab-separated (*.tsv)|*.tsv|CSV (*.csv)|*.csv|";
constexpr int kImportTsvFilter = 3;
constexpr int kImportCsvFilter = 4;

// The Export dialog's file types, and the places of the two that choose a format.
constexpr std::string_view kExportFilter =
    "Text Files (*.txt)|*.txt|Tab-separated, UTF-8 (*.tsv)|*.tsv|CSV, UTF-8 (*.csv)|*.csv|All "
    "(*.*)|*.*|";
constexpr int kExportTsvFilter = 2;
constexpr int kExportCsvFilter = 3;

}  // namespace

void tHauptFenster::CmImport() {
    if (!importSettings_) {
        importSettings_.emplace();
        importSettings_->flags = platform::kOfnPathMustExist | platform::kOfnFileMustExist;
        // The lists other trainers export come beside the program's own text files.
        importSettings_->filter =
            std::string(StringResource(ids::kStrTextFilter)) + std::string(kImportFormatFilters);
        importSettings_->title = StringResource(ids::kStrImportTitle);
    }
    importSettings_->fileName = FilePath();
    if (!RunFileDialog(platform::FileDialogKind::Open, *importSettings_)) {
        return;
    }
    // The tab-separated and CSV filters read any file so; the others go by the extension.
    const int filter = importSettings_->filterIndex;
    ImportFrom(importSettings_->fileName, filter == kImportTsvFilter ? ImportFormat::TabSeparated
                                          : filter == kImportCsvFilter
                                              ? ImportFormat::Csv
                                              : ImportFormatOf(importSettings_->fileName));
}

void tHauptFenster::ImportFrom(const FilePath& path, ImportFormat format) {
    ImportFile file;
    if (!file.Open(path)) {
        ReportFileProblem(ids::kStrCannotOpenText, path);
        Refresh();
        return;
    }
    if (!file.IsText()) {
        ReportFileProblem(ids::kStrNotText, path);
        Refresh();
        return;
    }
    // Refused before the first card: the box and the journal stay as they were.
    if (!file.FitsInMemory()) {
        MessageBoxAbout(FormatNumbers(StringResource(ids::kStrTooManyCards),
                                      {static_cast<std::int64_t>(file.LineCount())}, 119),
                        path);
        Refresh();
        return;
    }
    // The whole import is one step, whatever the messages on the way.
    const Document::Step step(*document_, StepName::Import);
    ImportTarget target(document_->Box(), file.LineCount(),
                        [this](const tVokabel& card) { return document_->AddCard(card); });
    std::vector<int> listedLines;
    std::size_t refusedCount = 0;
    std::set<int> kindsAsked;
    int stoppedAt = 0;
    const auto refused = [&](const RefusedImportLine& line) {
        ++refusedCount;
        if (listedLines.size() < kLinesListed) {
            listedLines.push_back(line.number);
        }
        // The first line of each kind of problem asks; Ok goes on without asking again for
        // that kind, and the summary lists every refused line.
        if (!kindsAsked.insert(line.code).second) {
            return true;
        }
        // While the message is up, the window shows the box with every card taken so far.
        target.Flush();
        // The reason goes into the text as well: window managers cut long captions.
        char caption[80];
        LoadString(ImportMessageId(line.code), caption);
        const bool goOn =
            MessageBox(std::string(caption) + "\n" + RefusedLine(line.number, line.text), caption,
                       platform::MessageButtons::OkCancel) != platform::DialogResult::Cancel;
        stoppedAt = goOn ? 0 : line.number;
        return goOn;
    };
    const bool tabsFound = ImportLines(file, format, target, refused);
    target.Flush();
    Refresh();
    if (file.ReadFailed()) {
        MessageBoxAbout(FormatNumbers(StringResource(ids::kStrImportCut), {target.Added()}, 119),
                        path);
        return;
    }
    std::string summary =
        FormatTexts(StringResource(ids::kStrImportSummary),
                    {path.FileName(), CountOf(target.Added(), ids::kStrOneCard, ids::kStrCards),
                     std::to_string(target.Duplicates()), std::to_string(refusedCount)});
    if (refusedCount > 0) {
        summary += "\n" + FormatTexts(StringResource(ids::kStrImportRefusedLines),
                                      {LineNumbers(listedLines, refusedCount)});
    }
    if (stoppedAt != 0) {
        summary += "\n" + FormatString(ids::kStrImportStopped, {stoppedAt});
    }
    if (tabsFound) {
        summary += "\n" + std::string(StringResource(ids::kStrImportReadAsTabs));
    }
    MessageBox(summary, StringResource(ids::kStrImportTitle), platform::MessageButtons::Ok);
}

void tHauptFenster::CmExport() {
    if (!exportSettings_) {
        exportSettings_.emplace();
        exportSettings_->title = StringResource(ids::kStrExportTitle);
        exportSettings_->filter = std::string(kExportFilter);
    }
    exportSettings_->fileName = FilePath();
    if (!RunFileDialog(platform::FileDialogKind::Save, *exportSettings_)) {
        return;
    }
    // The format by the name's extension, as Import reads it back; a name without one takes
    // that of the tab-separated or CSV filter chosen.
    FilePath path = exportSettings_->fileName;
    if (path.Extension().empty() && exportSettings_->filterIndex == kExportTsvFilter) {
        path = path.WithExtension(".tsv");
    } else if (path.Extension().empty() && exportSettings_->filterIndex == kExportCsvFilter) {
        path = path.WithExtension(".csv");
    }
    if (!ExportText(path, document_->Box(), ImportFormatOf(path))) {
        ReportFileProblem(ids::kStrCannotWriteText, path);
    }
}

}  // namespace tallyfold
