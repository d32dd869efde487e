#pragma once

// What the top of a text file tells about its layout beyond its name: the header lines other
// trainers write before their cards, a first line that names the columns, and whether the
// lines of a ".txt" file are really tab-separated.

#include <span>
#include <string>
#include <string_view>

#include "document/text_import.h"

namespace tallyfold {

struct ImportLayout {
    ImportFormat format = ImportFormat::CardLines;
    /// The separator a header names for a CSV file; '\0' when its first card line tells.
    char separator = '\0';
    /// Lines at the top that are no cards: header lines, and a line of column names.
    int headerLines = 0;
    /// Whether a field may stand in quotes, as in CSV: in a CSV file, and in any file whose
    /// header names its separator (Anki quotes a field that holds the separator, a quote or
    /// a line break, and may break such a field over lines).
    bool quoted = false;
    /// Whether lines taken for card lines were found to be tab-separated, which no header said.
    bool tabsFound = false;
    /// Which columns hold the sides, and whether they are HTML.
    FieldLayout fields;
};

/// The layout of a file whose name (or the user's choice of type) says `format`, told by its
/// first lines:
/// - Anki's header lines ("#separator:tab", "#html:true", "#columns:Front\tBack", "#deck
///   column:3", any other "#key:value") are no cards; the separator and HTML they name hold,
///   and the columns they give to a note type, deck, tags or guid hold no side;
/// - a first line that names the columns ("Front\tBack", "Question;Answer", ...) is no card;
/// - lines read as card lines that all hold a tab, where not all of them hold the ";" of a
///   card line, are tab-separated (as Quizlet and spreadsheets write them).
ImportLayout ReadImportLayout(std::span<const std::string> firstLines, ImportFormat format);

/// A field of HTML as plain text: tags go, a line break (<br>, <div>, <p>) becomes a blank,
/// and character references are decoded ("&amp;", "&nbsp;" as a blank, "&#233;", "&#xE9;").
std::string TextOfHtml(std::string_view html);

}  // namespace tallyfold
