#include "platform/help_index.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/modal.h"
#include "platform/window.h"

namespace tallyfold::platform {
namespace {

TEST(HelpKeywordsTest, LinesOfKeywordAndPageInFileOrder) {
    const std::vector<HelpKeyword> keywords = ParseHelpKeywords(
        "# keyword<TAB>page\n"
        "Backups\tfiles.html#safety\r\n"
        "\n"
        "no tab here\n"
        "  Undo \t undo.html \n"
        "\tno-keyword.html\n"
        "No page\t  \n"
        "#Commented\tout.html\n"
        "Last\tlast.html");
    ASSERT_EQ(keywords.size(), 3U);
    EXPECT_EQ(keywords[0].keyword, "Backups");
    EXPECT_EQ(keywords[0].page, "files.html#safety");
    EXPECT_EQ(keywords[1].keyword, "Undo");
    EXPECT_EQ(keywords[1].page, "undo.html");
    EXPECT_EQ(keywords[2].keyword, "Last");
    EXPECT_EQ(keywords[2].page, "last.html");
    EXPECT_TRUE(ParseHelpKeywords("").empty());
}

// Both window systems read the program's own index: every keyword opens a page that exists.
TEST(HelpKeywordsTest, EveryKeywordOfTheIndexNamesAHelpPage) {
    const std::filesystem::path help =
        std::filesystem::path(TALLYFOLD_SOURCE_DIR) / "resources/help";
    std::ifstream file(help / "keywords.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const std::vector<HelpKeyword> keywords = ParseHelpKeywords(text);
    EXPECT_GT(keywords.size(), 10U);
    for (const HelpKeyword& entry : keywords) {
        const std::string page = entry.page.substr(0, entry.page.find('#'));
        EXPECT_TRUE(std::filesystem::exists(help / page)) << entry.keyword << " -> " << page;
    }
}

TEST(FileDialogNamesTest, WildcardsMakeAPatternNotAName) {
    EXPECT_TRUE(HasWildcard(FilePath("*.vok")));
    EXPECT_TRUE(HasWildcard(FilePath("/home/a/word?.vok")));
    EXPECT_FALSE(HasWildcard(FilePath("/home/a/words.vok")));
    EXPECT_FALSE(HasWildcard(FilePath()));
}

TEST(MenuFileNameTest, AmpersandsAreDoubledSoTheyShowAsThemselves) {
    CommandState state;
    state.file = FilePath("/home/a/Tom & Jerry&.vok");
    EXPECT_EQ(state.FileInMenu(), "/home/a/Tom && Jerry&&.vok");
    state.file = FilePath("/home/a/Wörter.vok");
    EXPECT_EQ(state.FileInMenu(), "/home/a/Wörter.vok");
}

}  // namespace
}  // namespace tallyfold::platform
