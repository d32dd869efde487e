#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/card_fonts.h"
#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using platform::HelpCommand;
using platform::Key;
using platform::Rect;
using testing::AppTest;
using testing::Card;
using testing::Fill;
using testing::Questions;
using Names = std::vector<std::string>;

class LearningViewTest : public AppTest {};

// What an empty box shows where the question would stand.
constexpr std::string_view kEmptyBoxHint =
    "The box is empty: Card > New (Ctrl+Shift+N) or File > Import adds cards";

TEST_F(LearningViewTest, FreshStartWithoutAFile) {
    Start();
    EXPECT_EQ(frame->Title(), "Tallyfold");
    EXPECT_TRUE(frame->Shown());
    EXPECT_EQ(Question(), kEmptyBoxHint);
    EXPECT_EQ(Answer(), " ");
    EXPECT_EQ(PartitionNumber(), " ");
    EXPECT_TRUE(LookEnabled());
    EXPECT_TRUE(KnownEnabled());
    EXPECT_TRUE(UnknownEnabled());
    EXPECT_EQ(Counts(), "");
    EXPECT_EQ(Counters(), "");
    EXPECT_EQ(frame->Text(ids::kLookButton), "Look");
    EXPECT_EQ(frame->Text(ids::kKnownButton), "Known");
    EXPECT_EQ(frame->Text(ids::kUnknownButton), "Unknown");
    const auto* partition = frame->Control(ids::kPartitionStatic);
    ASSERT_NE(partition, nullptr);
    // The strip follows the palette: a dark one gets no glaring white bar.
    EXPECT_NE(partition->definition.style & platform::style::kTextBackground, 0u);
    EXPECT_FALSE(view->Changed());
}

TEST_F(LearningViewTest, MenuStatesAtStart) {
    Start();
    EXPECT_FALSE(frame->MenuState(ids::kCmCardChange).enabled);
    EXPECT_FALSE(frame->MenuState(ids::kCmCardDelete).enabled);
    EXPECT_FALSE(frame->ChooseMenu(ids::kCmCardDelete));
    EXPECT_TRUE(frame->MenuState(ids::kCmUnknownToInput).checked);
    EXPECT_FALSE(frame->MenuState(ids::kCmSwitch).checked);
    EXPECT_FALSE(frame->MenuState(ids::kCmEmptyToEnd).checked);
    EXPECT_TRUE(frame->MenuState(ids::kCmFileSave).enabled);
    EXPECT_TRUE(frame->MenuState(ids::kCmMixAll).enabled);
}

TEST_F(LearningViewTest, StartWithAFileAsksItsFirstCard) {
    tCardBox saved;
    saved.AddToPartition(Card("Haus", "house", 2, 1), 2);
    saved.AddToPartition(Card("Baum", "tree"), 3);
    const FilePath path = SaveBox(saved);
    Start(path);
    EXPECT_EQ(Question(), "Haus");
    EXPECT_EQ(Answer(), " ");
    EXPECT_EQ(PartitionNumber(), "2");
    EXPECT_EQ(Counters(), "known: 2 unknown: 1");
    EXPECT_EQ(Counts(), "Partition: 1 Box: 2");
    EXPECT_EQ(view->FileName(), path);
    EXPECT_TRUE(LookEnabled());
    EXPECT_FALSE(KnownEnabled());
    EXPECT_TRUE(frame->MenuState(ids::kCmCardChange).enabled);
    EXPECT_FALSE(view->Changed());
    // Save writes back to that file without asking for a name.
    frame->TypeChar('u');
    EXPECT_TRUE(frame->ChooseMenu(ids::kCmFileSave));
    EXPECT_FALSE(view->Changed());
    EXPECT_TRUE(backend.FileDialogs().empty());
}

TEST_F(LearningViewTest, EnterTwiceLooksAndCountsAsKnown) {
    Fill(box, 1, 2, "one");
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    frame->ChooseMenu(ids::kCmSwitch);  // back off, and the first card is asked
    ASSERT_EQ(Question(), "one1");
    frame->PressEnter();
    EXPECT_EQ(Answer(), "one1");
    EXPECT_FALSE(LookEnabled());
    EXPECT_TRUE(KnownEnabled());
    EXPECT_TRUE(UnknownEnabled());
    EXPECT_TRUE(view->AnswerShown());
    EXPECT_FALSE(view->Changed());
    frame->PressEnter();
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(Question(), "one2");
    EXPECT_EQ(Answer(), " ");
    EXPECT_FALSE(view->AnswerShown());
    EXPECT_EQ(Questions(box, 2), Names{"one1"});
    tVokabel moved;
    box.FirstInPartition(2, moved);
    EXPECT_EQ(moved.knownCount, 1);
}

// The focus follows the learning: on Known once the answer shows, on Look after a verdict, so
// that Space on the focused button learns as Enter does. Enter and Escape keep their meaning
// wherever the focus is.
TEST_F(LearningViewTest, SpaceOnTheFocusedButtonLooksAndCountsAsKnown) {
    Fill(box, 1, 3, "one");
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_EQ(frame->Focused(), ids::kLookButton);
    frame->PressSpace();
    EXPECT_TRUE(view->AnswerShown());
    EXPECT_EQ(frame->Focused(), ids::kKnownButton);
    frame->PressSpace();
    EXPECT_EQ(Questions(box, 2), Names{"one1"}) << "Space, Space is Look, Known";
    EXPECT_EQ(frame->Focused(), ids::kLookButton);
    frame->PressSpace();
    EXPECT_EQ(Answer(), "one2");
    frame->PressEscape();  // Unknown, though the focus is on Known
    EXPECT_EQ(Questions(box, 1), (Names{"one3", "one2"}));
    EXPECT_EQ(frame->Focused(), ids::kLookButton);
    frame->Focus(ids::kUnknownButton);
    frame->PressEnter();  // Look: the accelerator comes first
    EXPECT_TRUE(view->AnswerShown());
}

TEST_F(LearningViewTest, LowerCaseLettersOnly) {
    Fill(box, 3, 2, "three");
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    frame->ChooseMenu(ids::kCmSwitch);
    frame->TypeChar('K');
    frame->TypeChar('U');
    EXPECT_FALSE(view->AnswerShown());
    EXPECT_FALSE(view->Changed());
    frame->TypeChar('k');  // Look
    EXPECT_TRUE(view->AnswerShown());
    frame->TypeChar('u');                                       // Unknown: to the input stack
    EXPECT_EQ(Questions(box, tCardBox::kInputStack), Names{});  // refilled into partition 1
    EXPECT_EQ(Questions(box, 1), Names{"three1"});
    EXPECT_EQ(Question(), "three1");
    EXPECT_EQ(Counters(), "known: 0 unknown: 1");
}

// A verdict that moved nothing leaves the box unchanged: no save prompt for nothing.
TEST_F(LearningViewTest, EscapeBeforeLookMovesNothingAndLeavesTheBoxUnchanged) {
    Fill(box, 2, 2, "two");
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    frame->ChooseMenu(ids::kCmSwitch);
    const std::string counts = Counts();
    frame->PressEscape();
    EXPECT_EQ(Question(), "two1");
    EXPECT_EQ(Counts(), counts);
    EXPECT_EQ(Questions(box, 2), (Names{"two1", "two2"}));
    EXPECT_FALSE(view->Changed());
    EXPECT_TRUE(frame->CloseBox());
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(LearningViewTest, LookOnAnEmptyBox) {
    Start();
    frame->ChooseMenu(ids::kCmSwitch);  // refreshes: the empty state
    EXPECT_TRUE(LookEnabled());
    EXPECT_FALSE(KnownEnabled());
    EXPECT_EQ(Counters(), " --- ");
    EXPECT_EQ(Counts(), "Partition: 0 Box: 0");
    frame->Click(ids::kLookButton);
    EXPECT_FALSE(LookEnabled());
    EXPECT_TRUE(KnownEnabled());
    EXPECT_TRUE(UnknownEnabled());
    EXPECT_EQ(Answer(), " ");
    frame->Click(ids::kKnownButton);
    EXPECT_FALSE(view->Changed()) << "nothing moved";
    EXPECT_TRUE(LookEnabled());
    EXPECT_FALSE(KnownEnabled());
    EXPECT_EQ(Question(), kEmptyBoxHint);
}

TEST_F(LearningViewTest, BeforeTheFirstRefreshKnownRefreshesAndUnknownDoesNot) {
    Start();
    frame->Click(ids::kUnknownButton);
    EXPECT_FALSE(view->Changed());
    EXPECT_EQ(Counts(), "");  // nothing refreshed
    frame->Click(ids::kKnownButton);
    EXPECT_EQ(Counts(), "Partition: 0 Box: 0");
    EXPECT_FALSE(KnownEnabled());
}

TEST_F(LearningViewTest, SwitchAsksTheAnswerAndHidesAnOpenSide) {
    box.AddToPartition(Card("Haus", "house"), 1);
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_TRUE(frame->MenuState(ids::kCmSwitch).checked);
    EXPECT_EQ(Question(), "house");
    frame->PressEnter();
    EXPECT_EQ(Answer(), "Haus");
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_EQ(Question(), "Haus");
    EXPECT_EQ(Answer(), " ");
    EXPECT_FALSE(view->AnswerShown());
    EXPECT_FALSE(view->Changed());
}

TEST_F(LearningViewTest, StatusTextsAfterARefill) {
    Fill(box, 2, 3, "two");
    Fill(box, tCardBox::kInputStack, 5, "in");
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_EQ(Question(), "in1");
    EXPECT_EQ(PartitionNumber(), "1");
    EXPECT_EQ(Counts(), "Partition: 5 Box: 8");
    EXPECT_EQ(Counters(), "known: 0 unknown: 0");
}

TEST_F(LearningViewTest, CountersBelongToTheCardOnView) {
    box.AddToPartition(Card("a", "a", 4, 2), 1);
    box.AddToPartition(Card("b", "b", 7, 3), 1);
    Start();
    frame->ChooseMenu(ids::kCmSwitch);
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_EQ(Counters(), "known: 4 unknown: 2");
    frame->PressEnter();
    frame->PressEnter();
    EXPECT_EQ(Counters(), "known: 7 unknown: 3");
}

TEST_F(LearningViewTest, EmptyPartitionsToTheEndCompactsAtTheNextRefresh) {
    Fill(box, 3, 5);
    Fill(box, 7, 100);
    Start();
    frame->ChooseMenu(ids::kCmEmptyToEnd);
    EXPECT_TRUE(frame->MenuState(ids::kCmEmptyToEnd).checked);
    EXPECT_EQ(box.CardsIn(1), 0);  // nothing yet
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_EQ(testing::Counts(box), (std::vector<int>{10, 20, 40, 35, 0, 0, 0, 0}));
    EXPECT_FALSE(view->Changed());
}

// The buttons and the strip stand where they always stood; the card fields keep their middles
// (a quarter and three quarters of the way down to the buttons) and grow with the window.
TEST_F(LearningViewTest, LayoutOfTheTwoWorkedExamples) {
    Start();
    frame->Resize(584, 180);
    EXPECT_EQ(frame->Position(ids::kKnownButton), (Rect{464, 130, 100, 30}));
    EXPECT_EQ(frame->Position(ids::kUnknownButton), (Rect{20, 130, 100, 30}));
    EXPECT_EQ(frame->Position(ids::kPartitionStatic), (Rect{121, 130, 348, 30}));
    EXPECT_EQ(frame->Position(ids::kLookButton), (Rect{242, 50, 100, 30}));
    EXPECT_EQ(frame->Position(ids::kQuestionStatic), (Rect{20, 18, 544, 29}));
    EXPECT_EQ(frame->Position(ids::kAnswerStatic), (Rect{20, 83, 544, 29}));
    const int repaints = frame->ClientPeer().Invalidations();
    frame->Resize(200, 41);
    EXPECT_EQ(frame->Position(ids::kLookButton).y, -19);
    EXPECT_EQ(frame->Position(ids::kQuestionStatic).y, -12);
    EXPECT_EQ(frame->Position(ids::kAnswerStatic).y, -16);
    EXPECT_EQ(frame->Position(ids::kKnownButton), (Rect{80, -9, 100, 30}));
    EXPECT_EQ(frame->ClientPeer().Invalidations(), repaints + 1);
}

// The card's sides are drawn large, in the font the learner chose for each, growing with the
// window; the choice is kept for the next run and follows its side where Switch asks the answer.
TEST_F(LearningViewTest, EachSideInItsChosenFontGrowingWithTheWindow) {
    using platform::TextFont;
    Fill(box, 1, 2, "one");
    Start();
    frame->Resize(584, 180);
    const auto fontOf = [this](int id) { return frame->Control(id)->font; };
    EXPECT_EQ(fontOf(ids::kQuestionStatic), CardFontForField(DefaultCardFont(), 29));
    const int small = fontOf(ids::kQuestionStatic).points;
    frame->Resize(1200, 800);
    EXPECT_GT(fontOf(ids::kQuestionStatic).points, 2 * small);
    EXPECT_EQ(fontOf(ids::kAnswerStatic), fontOf(ids::kQuestionStatic));

    backend.AnswerFontDialog(TextFont{"Noto Sans CJK JP", 20});
    frame->ChooseMenu(ids::kCmAnswerFont);
    ASSERT_EQ(backend.FontDialogs().size(), 1u);
    EXPECT_EQ(backend.FontDialogs()[0].title, "Answer font");
    EXPECT_EQ(backend.FontDialogs()[0].font, DefaultCardFont());
    frame->Resize(584, 180);
    EXPECT_EQ(fontOf(ids::kAnswerStatic), CardFontForField({"Noto Sans CJK JP", 20}, 29));
    EXPECT_EQ(fontOf(ids::kQuestionStatic).family, "");
    // Switch asks the answer side: its font goes with it.
    frame->ChooseMenu(ids::kCmSwitch);
    EXPECT_EQ(fontOf(ids::kQuestionStatic).family, "Noto Sans CJK JP");
    EXPECT_EQ(fontOf(ids::kAnswerStatic).family, "");
    frame->ChooseMenu(ids::kCmSwitch);
    // A cancelled dialog changes nothing; the choice is the box's no more than the window's.
    backend.AnswerFontDialog(std::nullopt);
    frame->ChooseMenu(ids::kCmQuestionFont);
    EXPECT_EQ(backend.FontDialogs().back().title, "Question font");
    EXPECT_EQ(fontOf(ids::kQuestionStatic).family, "");
    EXPECT_FALSE(view->Changed());

    Start();  // the next run
    frame->Resize(584, 180);
    EXPECT_EQ(fontOf(ids::kAnswerStatic), CardFontForField({"Noto Sans CJK JP", 20}, 29));
    EXPECT_EQ(fontOf(ids::kQuestionStatic), CardFontForField(DefaultCardFont(), 29));
}

TEST(CardFonts, SettingsAndSizes) {
    using platform::TextFont;
    EXPECT_EQ(CardFontOfSetting("18 Noto Sans CJK JP"), (TextFont{"Noto Sans CJK JP", 18}));
    EXPECT_EQ(CardFontOfSetting("12"), (TextFont{"", 12}));
    EXPECT_EQ(CardFontOfSetting(SettingOfCardFont({"DejaVu Serif", 30})),
              (TextFont{"DejaVu Serif", 30}));
    for (const char* damaged : {"", "x", "0 Sans", "-3 Sans", "99999 Sans", "18Sans", " 18"}) {
        EXPECT_EQ(CardFontOfSetting(damaged), DefaultCardFont()) << damaged;
    }
    const TextFont chosen{"Sans", 20};
    EXPECT_EQ(CardFontForField(chosen, kCardFieldHeightAtChosenSize), chosen);
    EXPECT_EQ(CardFontForField(chosen, 2 * kCardFieldHeightAtChosenSize).points, 40);
    EXPECT_EQ(CardFontForField(chosen, 1).points, 10);      // half at the least
    EXPECT_EQ(CardFontForField(chosen, 10000).points, 80);  // four times at the most
}

// A screen reader hears what each field is, not a bare word or number.
TEST_F(LearningViewTest, TheFieldsAreNamedForScreenReaders) {
    const auto nameOf = [this](int id) { return frame->Control(id)->accessibleName; };
    Start();
    EXPECT_EQ(nameOf(ids::kQuestionStatic), "Question: " + std::string(kEmptyBoxHint));
    EXPECT_EQ(nameOf(ids::kAnswerStatic), "Answer: hidden");
    EXPECT_EQ(nameOf(ids::kPartitionStatic), "No card asked");
    Fill(box, 1, 2, "one");
    frame->ChooseMenu(ids::kCmMixAll);
    view->Refresh();
    EXPECT_EQ(nameOf(ids::kPartitionStatic), "Partition 1");
    const std::string question = Question();
    EXPECT_EQ(nameOf(ids::kQuestionStatic), "Question: " + question);
    frame->PressEnter();
    EXPECT_EQ(nameOf(ids::kAnswerStatic), "Answer: " + Answer());
    frame->PressEnter();
    EXPECT_EQ(nameOf(ids::kAnswerStatic), "Answer: hidden");
}

TEST_F(LearningViewTest, HelpCommands) {
    Start();
    frame->ChooseMenu(ids::kCmHelpIndex);
    frame->ChooseMenu(ids::kCmHelpSearch);
    frame->ChooseMenu(ids::kCmHelpOnHelp);
    frame->ChooseMenu(ids::kCmHelpInfo);
    const std::vector<platform::HelpRequest> expected = {{HelpCommand::Contents, 0, "", ""},
                                                         {HelpCommand::PartialKey, 0, "", ""},
                                                         {HelpCommand::HelpOnHelp, 0, "", ""},
                                                         {HelpCommand::Key, 0, "Copyright", ""}};
    EXPECT_EQ(backend.HelpRequests(), expected);
}

TEST_F(LearningViewTest, AFileThatCannotBeReadIsReportedAndForgotten) {
    const FilePath path = dir.File("broken.vok");
    testing::WriteBytes(path, "not a table at all");
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    Start(path);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find(path.Bytes()), std::string::npos);
    EXPECT_TRUE(view->FileName().IsEmpty());
    EXPECT_EQ(Counts(), "Partition: 0 Box: 0");
    // A later Save asks for a name instead of replacing the unreadable file.
    backend.AnswerFileDialog(FilePath());
    frame->ChooseMenu(ids::kCmFileSave);
    EXPECT_EQ(testing::ReadBytes(path), "not a table at all");
}

TEST_F(LearningViewTest, ANewFileNamedOnTheCommandLineIsCreatedBySave) {
    const FilePath path = dir.File("new.vok");
    Start(path);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(view->FileName(), path);
    box.AddToInput(Card("a", "b"));
    frame->ChooseMenu(ids::kCmFileSave);
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(path, loaded).loaded, 1);
}

TEST_F(LearningViewTest, CardsWithoutAPartitionAreReported) {
    tCardBox saved;
    Fill(saved, 2, 1);
    const FilePath path = SaveBox(saved);
    std::string bytes = testing::ReadBytes(path);
    bytes[225 + 1 + 128] = 'q';  // the KASTEN letter of the only record
    testing::WriteBytes(path, bytes);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    Start(path);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              "1 cards named no valid partition and were put into the input stack.");
    EXPECT_EQ(box.CardsIn(1), 1);  // from the input stack into partition 1 by the refill
}

}  // namespace
}  // namespace tallyfold
