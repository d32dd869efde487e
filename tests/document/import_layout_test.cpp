// What the first lines of a text file tell about its layout, and HTML fields as text.

#include "document/import_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyfold {
namespace {

using Lines = std::vector<std::string>;

TEST(ImportLayout, AnkisHeaderLinesAreNoCardsAndTheirSettingsHold) {
    const ImportLayout anki = ReadImportLayout(
        Lines{"#separator:tab", "#html:true", "#notetype column:1", "#deck column:2",
              "#tags column:5", "Basic\tGerman\tder Tisch\ttable\t"},
        ImportFormat::CardLines);
    EXPECT_EQ(anki.format, ImportFormat::TabSeparated);
    EXPECT_EQ(anki.headerLines, 5);
    EXPECT_TRUE(anki.fields.html);
    EXPECT_EQ(anki.fields.question, 2);
    EXPECT_EQ(anki.fields.answer, 3);
    // Anki quotes a field that holds a quote; no header said the tabs.
    EXPECT_TRUE(anki.quoted);
    EXPECT_FALSE(anki.tabsFound);

    const ImportLayout comma = ReadImportLayout(
        Lines{"#separator:Comma", "#columns:Front,Back", "Haus,house"}, ImportFormat::CardLines);
    EXPECT_EQ(comma.format, ImportFormat::Csv);
    EXPECT_EQ(comma.separator, ',');
    EXPECT_EQ(comma.headerLines, 2);
    EXPECT_FALSE(comma.fields.html);
    EXPECT_EQ(comma.fields.question, 0);
    EXPECT_EQ(comma.fields.answer, 1);
    // An unknown key is a header line all the same; "#html:false" keeps the text.
    EXPECT_EQ(ReadImportLayout(Lines{"#html:false", "#guid column:1", "#future:x", "g\ta\tb"},
                               ImportFormat::TabSeparated)
                  .headerLines,
              3);
}

TEST(ImportLayout, TabSeparatedLinesInATxtAreFound) {
    // Quizlet: tabs, and a ";" in some lines only. Its quotes are text.
    const ImportLayout quizlet = ReadImportLayout(
        Lines{"der Tisch\tthe table", "das Bett\tthe bed; the cot", ""}, ImportFormat::CardLines);
    EXPECT_EQ(quizlet.format, ImportFormat::TabSeparated);
    EXPECT_TRUE(quizlet.tabsFound);
    EXPECT_FALSE(quizlet.quoted);
    // Card lines stay card lines, a tab in them or not.
    EXPECT_EQ(ReadImportLayout(Lines{"Haus;house", "Baum;tree"}, ImportFormat::CardLines).format,
              ImportFormat::CardLines);
    EXPECT_EQ(ReadImportLayout(Lines{"a\tb;c", "d\te;f"}, ImportFormat::CardLines).format,
              ImportFormat::CardLines);
    EXPECT_EQ(ReadImportLayout(Lines{"Haus\thouse", "Baum;tree"}, ImportFormat::CardLines).format,
              ImportFormat::CardLines);
    EXPECT_EQ(ReadImportLayout(Lines{}, ImportFormat::CardLines).format, ImportFormat::CardLines);
    // A comment line that is no header is a card line's business.
    EXPECT_EQ(ReadImportLayout(Lines{"#1;one"}, ImportFormat::CardLines).headerLines, 0);
    EXPECT_EQ(ReadImportLayout(Lines{"#1: one;eins"}, ImportFormat::CardLines).headerLines, 0);
}

TEST(ImportLayout, AFirstLineOfColumnNamesIsNoCard) {
    EXPECT_EQ(ReadImportLayout(Lines{"Front\tBack", "Haus\thouse"}, ImportFormat::TabSeparated)
                  .headerLines,
              1);
    EXPECT_EQ(
        ReadImportLayout(Lines{"question;answer", "Haus;house"}, ImportFormat::Csv).headerLines, 1);
    EXPECT_EQ(
        ReadImportLayout(Lines{"Term,Definition,Notes", "a,b,c"}, ImportFormat::Csv).headerLines,
        1);
    // A card that happens to begin so is a card; card lines have no header.
    EXPECT_EQ(
        ReadImportLayout(Lines{"Front\tthe front", "Back\tthe back"}, ImportFormat::TabSeparated)
            .headerLines,
        0);
    EXPECT_EQ(ReadImportLayout(Lines{"Frage;Antwort"}, ImportFormat::CardLines).headerLines, 0);
}

TEST(ImportLayout, HtmlFieldsBecomeText) {
    EXPECT_EQ(TextOfHtml("<b>der</b> Tisch"), "der Tisch");
    EXPECT_EQ(TextOfHtml("the&nbsp;bed; the cot"), "the bed; the cot");
    EXPECT_EQ(TextOfHtml("one<br>two<br />three<div>four</div>"), "one two three four");
    EXPECT_EQ(TextOfHtml("caf&#233; &#xE9; &amp; &lt;tag&gt; &quot;q&quot;"),
              "caf\u00E9 \u00E9 & <tag> \"q\"");
    EXPECT_EQ(TextOfHtml("T&uuml;r, Stra&szlig;e, &Aring;, &yuml;, Silben&shy;trennung"),
              "T\u00FCr, Stra\u00DFe, \u00C5, \u00FF, Silbentrennung");
    // What is no reference or no tag stays as it is.
    EXPECT_EQ(TextOfHtml("a & b; &bogus; &#xD800; &#0; 3 < 4"),
              "a & b; &bogus; &#xD800; &#0; 3 < 4");
    EXPECT_EQ(TextOfHtml("<span style=\"color: red\">rot</span>"), "rot");
}

}  // namespace
}  // namespace tallyfold
