#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/main_menu.h"
#include "resources/resource_ids.h"

namespace tallyfold {
namespace {

TEST(StringTable, TextsAsUsersKnowThem) {
    EXPECT_EQ(StringResource(ids::kStrLook), "Look");
    EXPECT_EQ(StringResource(ids::kStrDeleteLast), "Shure to delete tray?");
    EXPECT_EQ(StringResource(ids::kStrSeparatorMissing), "Seperator missing");
    EXPECT_EQ(StringResource(ids::kStrFieldsEmpty), "At least on of the fields are empty!");
    EXPECT_EQ(StringResource(ids::kStrCardCounters), "known: %d unknown: %d");
    EXPECT_EQ(StringResource(11005), "");
}

TEST(StringTable, LoadsIntoFixedBuffers) {
    char buffer[80];
    EXPECT_EQ(LoadString(ids::kStrAllToInput, buffer), 44);
    EXPECT_STREQ(buffer, "All words will be put in the first partition");
    char small[8];
    EXPECT_EQ(LoadString(ids::kStrAllToInput, small), 7);
    EXPECT_STREQ(small, "All wor");
    EXPECT_EQ(LoadString(11999, buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(StringTable, EveryTextFitsItsEightyByteBuffer) {
    for (int id = 11001; id <= 11099; ++id) {
        EXPECT_LE(StringResource(id).size(), 79u) << id;
    }
    // A longer text would be cut at 79 characters.
    char buffer[80];
    std::memset(buffer, 'x', sizeof buffer);
    LoadString(ids::kStrMisplacedCards, buffer);
    EXPECT_EQ(std::strlen(buffer), StringResource(ids::kStrMisplacedCards).size());
}

TEST(FormatNumbers, PutsEachNumberInItsPlace) {
    EXPECT_EQ(FormatString(ids::kStrCardCounters, {3, -12}), "known: 3 unknown: -12");
    EXPECT_EQ(FormatNumbers("- %d -", {2147483647}, 31), "- 2147483647 -");
    EXPECT_EQ(FormatNumbers("100%% of %d", {7}, 79), "100% of 7");
}

TEST(FormatNumbers, ATextNeverReadsWhatWasNotGiven) {
    // More directives than numbers, and directives that are not numbers, stay as text.
    EXPECT_EQ(FormatNumbers("%d and %d", {1}, 79), "1 and %d");
    EXPECT_EQ(FormatNumbers("%s %n %x %", {5}, 79), "%s %n %x %");
    EXPECT_EQ(FormatNumbers("", {1, 2}, 79), "");
}

TEST(FormatNumbers, CutAsItsBufferHoldsIt) {
    EXPECT_EQ(FormatNumbers("%d%d", {12345, 67890}, 7), "1234567");
    EXPECT_EQ(FormatString(ids::kStrPartitionCounts, {1000000000, 2000000000}).size(),
              std::string("Partition: 1000000000 Box: 2000000000").size());
}

TEST(MainMenu, ItemsInTheirOrder) {
    const platform::MenuTemplate& menu = MainMenu();
    EXPECT_EQ(menu.id, 100);
    ASSERT_EQ(menu.popups.size(), 6u);
    EXPECT_EQ(menu.popups[0].text, "&File");
    // New to Export, the eight places of the recent files between separators, then Exit.
    ASSERT_EQ(menu.popups[0].items.size(), 9u + 9u);
    EXPECT_EQ(menu.popups[0].items[3].text, "Save as...");
    EXPECT_EQ(menu.popups[0].items[3].command, 106);
    EXPECT_TRUE(menu.popups[0].items[4].IsSeparator());
    EXPECT_TRUE(menu.popups[0].items[7].IsSeparator());
    for (int place = 0; place < 8; ++place) {
        EXPECT_EQ(menu.popups[0].items[8 + static_cast<std::size_t>(place)].command, 161 + place);
    }
    EXPECT_TRUE(menu.popups[0].items[16].IsSeparator());
    EXPECT_EQ(menu.popups[0].items[17].command, 108);
    // Edit comes after File, with the usual keys.
    EXPECT_EQ(menu.popups[1].text, "&Edit");
    ASSERT_EQ(menu.popups[1].items.size(), 2u);
    EXPECT_EQ(menu.popups[1].items[0].shortcuts, std::vector<std::string>{"Ctrl+Z"});
    EXPECT_EQ(menu.popups[1].items[1].shortcuts,
              (std::vector<std::string>{"Ctrl+Shift+Z", "Ctrl+Y"}));
    EXPECT_EQ(menu.popups[3].items[5].text, "Mix &all");
    EXPECT_EQ(menu.popups[4].items[1].command, 143);
    EXPECT_EQ(menu.popups[5].items[4].command, 134);
}

TEST(MainAccelerators, LowerCaseLettersOnly) {
    const platform::AcceleratorTable& table = MainAccelerators();
    EXPECT_EQ(table.id, 1201);
    using platform::Key;
    // Enter takes the verdict a typed answer's check proposes, "k" always Known; while answers
    // are looked at, both are Look or Known.
    EXPECT_EQ(table.Find(Key::Virtual(platform::kVkReturn)), 1204);
    EXPECT_EQ(table.Find(Key::Virtual(platform::kVkEscape)), 1203);
    EXPECT_EQ(table.Find(Key::Character('k')), 1202);
    EXPECT_EQ(table.Find(Key::Character('u')), 1203);
    EXPECT_FALSE(table.Find(Key::Character('K')));
    EXPECT_FALSE(table.Find(Key::Character('U')));
    EXPECT_FALSE(table.Find(Key::Virtual('K')));
}

TEST(DialogTemplates, ControlsWithTheirIdsAndRectangles) {
    const platform::DialogTemplate& input = InputTemplate();
    EXPECT_EQ(input.id, 3300);
    EXPECT_EQ(input.caption, "Input");
    EXPECT_EQ(input.rect, (platform::Rect{4, 20, 288, 63}));
    ASSERT_NE(input.Control(1), nullptr);
    EXPECT_EQ(input.Control(1)->text, "&Save");
    EXPECT_NE(input.Control(1)->style & platform::style::kDefaultButton, 0u);
    EXPECT_EQ(input.Control(302)->rect, (platform::Rect{44, 24, 240, 12}));

    const platform::DialogTemplate& doubles = DoublesTemplate();
    EXPECT_TRUE(doubles.contextHelp);
    EXPECT_EQ(doubles.Control(101)->text, "&Change");
    EXPECT_EQ(doubles.Control(1202)->rect, (platform::Rect{8, 44, 228, 12}));

    const platform::DialogTemplate& target = TargetTemplate();
    EXPECT_EQ(target.caption, "Put into...");
    EXPECT_EQ(target.Control(401)->style & platform::style::kExtendedSelection, 0u);

    const platform::DialogTemplate& overview = OverviewTemplate();
    EXPECT_EQ(overview.caption, "Partition overview");
    EXPECT_NE(overview.Control(501)->style & platform::style::kExtendedSelection, 0u);
    EXPECT_EQ(overview.Control(502)->kind, platform::ControlKind::ComboBox);
    EXPECT_EQ(overview.Control(507)->text, "0");
    EXPECT_EQ(overview.Control(1)->text, "&Close");
}

}  // namespace
}  // namespace tallyfold
