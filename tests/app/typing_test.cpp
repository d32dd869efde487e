#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"

namespace tallyfold {

namespace platform {
void PrintTo(const MarkedRun& run, std::ostream* out) {
    *out << '"' << run.text << "\" " << static_cast<int>(run.mark);
}
}  // namespace platform

namespace {

using platform::MarkedRun;
using platform::TextMark;
using testing::AppTest;
using testing::Card;

// Learning by typing the answer, driven as the learner drives it: the Options menu, keys typed
// into the field, Enter, the verdict keys and buttons.
class TypingTest : public AppTest {
  protected:
    // Starts on a box whose first card asked is `question` / `answer` in partition 2, with
    // `others` behind it, and turns typing on.
    void StartTyping(std::string_view question, std::string_view answer, int others = 1) {
        tCardBox saved;
        saved.AddToPartition(Card(question, answer), 2);
        for (int card = 0; card < others; ++card) {
            saved.AddToPartition(Card("q" + std::to_string(card), "a" + std::to_string(card)), 3);
        }
        Start(SaveBox(saved));
        ASSERT_TRUE(frame->ChooseMenu(ids::kCmTypeAnswer));
    }
    void Toggle(int command) { ASSERT_TRUE(frame->ChooseMenu(command)); }

    std::string Typed() const { return frame->Text(ids::kTypedAnswerEdit); }
    std::string Verdict() const { return frame->Text(ids::kVerdictStatic); }
    const std::vector<MarkedRun>& Marks() const { return frame->Control(ids::kTypedMarks)->runs; }
    std::string Spoken() const { return frame->Control(ids::kTypedMarks)->accessibleName; }
    bool Asking() const {
        return frame->IsVisible(ids::kTypedAnswerEdit) && !frame->IsVisible(ids::kTypedMarks) &&
               frame->Focused() == ids::kTypedAnswerEdit;
    }
    bool Checked() const {
        return !frame->IsVisible(ids::kTypedAnswerEdit) && frame->IsVisible(ids::kTypedMarks) &&
               frame->IsVisible(ids::kVerdictStatic) && frame->IsVisible(ids::kAnswerStatic);
    }
    // Types `text` into the field and presses Enter.
    void TypeAnswer(std::string_view text) {
        frame->TypeText(text);
        frame->PressEnter();
    }
};

TEST_F(TypingTest, OffTheWindowIsTheClassicOne) {
    tCardBox saved;
    saved.AddToPartition(Card("Haus", "house"), 2);
    Start(SaveBox(saved));
    EXPECT_FALSE(frame->MenuState(ids::kCmTypeAnswer).checked);
    for (const int tolerance : {ids::kCmIgnoreCapitals, ids::kCmIgnoreAccents,
                                ids::kCmIgnorePunctuation, ids::kCmAcceptAlternatives}) {
        EXPECT_FALSE(frame->MenuState(tolerance).enabled) << tolerance;
    }
    EXPECT_FALSE(frame->IsVisible(ids::kTypedAnswerEdit));
    EXPECT_FALSE(frame->IsVisible(ids::kTypedMarks));
    EXPECT_FALSE(frame->IsVisible(ids::kVerdictStatic));
    EXPECT_TRUE(frame->IsVisible(ids::kAnswerStatic));
    EXPECT_TRUE(frame->IsVisible(ids::kLookButton));
    EXPECT_EQ(frame->Focused(), ids::kLookButton);
    // "k" looks, "k" again knows: keys, not text.
    frame->TypeChar('k');
    EXPECT_EQ(Answer(), "house");
    EXPECT_EQ(frame->Focused(), ids::kKnownButton);
    frame->TypeChar('k');
    EXPECT_EQ(box.CardsIn(3), 1);
    EXPECT_EQ(Typed(), "");
}

TEST_F(TypingTest, ARightAnswerIsProposedKnownAndEnterTakesIt) {
    StartTyping("Haus", "house");
    EXPECT_TRUE(frame->MenuState(ids::kCmTypeAnswer).checked);
    EXPECT_TRUE(Asking());
    EXPECT_EQ(Question(), "Haus");
    EXPECT_EQ(frame->Control(ids::kTypedAnswerEdit)->accessibleName, "Your answer");
    TypeAnswer("house");
    ASSERT_TRUE(Checked());
    EXPECT_EQ(Answer(), "house");
    EXPECT_EQ(Verdict(), "Right");
    EXPECT_EQ(Marks(), (std::vector<MarkedRun>{{"house", TextMark::Right}}));
    EXPECT_EQ(Spoken(), "typed: house, expected: house, Right");
    EXPECT_EQ(frame->Focused(), ids::kKnownButton);
    EXPECT_TRUE(KnownEnabled());
    EXPECT_TRUE(UnknownEnabled());
    EXPECT_FALSE(frame->IsVisible(ids::kLookButton));
    EXPECT_FALSE(view->Changed());
    frame->PressEnter();
    EXPECT_EQ(box.CardsIn(3), 2);
    EXPECT_EQ(box.CardsIn(2), 0);
    // The next card is asked with an empty field.
    EXPECT_TRUE(Asking());
    EXPECT_EQ(Typed(), "");
    EXPECT_EQ(Answer(), " ");
}

TEST_F(TypingTest, AWrongAnswerIsProposedUnknownAndTheLearnerMayOverrule) {
    StartTyping("Haus", "house");
    TypeAnswer("hous");
    ASSERT_TRUE(Checked());
    EXPECT_EQ(Verdict(), "Not right");
    EXPECT_EQ(Marks(),
              (std::vector<MarkedRun>{{"hous", TextMark::Right}, {"e", TextMark::Missing}}));
    EXPECT_EQ(Spoken(), "typed: hous, expected: house, 1 letter missing");
    EXPECT_EQ(frame->Focused(), ids::kUnknownButton);
    // "k" overrules: the learner counts the slip as known.
    frame->TypeChar('k');
    EXPECT_EQ(box.CardsIn(3), 2);
    const tVokabel* moved = nullptr;
    box.ForEachCard([&moved](const tVokabel& card, int) {
        if (card.Question() == "Haus") {
            moved = &card;
        }
        return true;
    });
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->knownCount, 1);
    EXPECT_EQ(moved->unknownCount, 0);
}

TEST_F(TypingTest, EnterOnAWrongAnswerCountsItUnknownAndEachVerdictIsOneUndoStep) {
    StartTyping("Haus", "house");
    TypeAnswer("mouse");
    EXPECT_EQ(Marks(), (std::vector<MarkedRun>{{"m", TextMark::Wrong}, {"ouse", TextMark::Right}}));
    frame->PressEnter();
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(box.CardsIn(2), 0);
    EXPECT_EQ(box.CardsIn(1), 1);
    EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Unknown");
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    EXPECT_EQ(box.CardsIn(2), 1);
    EXPECT_EQ(box.CardsIn(1), 0);
    // The card is asked again as it was: nothing typed, nothing shown.
    EXPECT_EQ(Question(), "Haus");
    EXPECT_TRUE(Asking());
    EXPECT_EQ(Typed(), "");
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditRedo));
    EXPECT_EQ(box.CardsIn(1), 1);
}

TEST_F(TypingTest, LettersOfCommandsGoIntoTheField) {
    StartTyping("Kuh", "kuku");
    // "k" and "u" are Look and Unknown elsewhere; here they are the answer's letters, and so
    // are the letters of the buttons' mnemonics and Space.
    frame->TypeText("ku kLU");
    EXPECT_EQ(Typed(), "ku kLU");
    EXPECT_TRUE(Asking());
    EXPECT_FALSE(view->Changed());
    // Escape is Unknown, which waits for the answer: nothing happens.
    frame->PressEscape();
    EXPECT_TRUE(Asking());
    EXPECT_FALSE(view->Changed());
    ASSERT_TRUE(frame->ClientPeer().Find(ids::kTypedAnswerEdit) != nullptr);
    frame->ClientPeer().SetText(ids::kTypedAnswerEdit, "");
    TypeAnswer("kuku");
    EXPECT_EQ(Verdict(), "Right");
    // Once checked, the keys are the learning keys again: Escape is Unknown.
    frame->PressEscape();
    EXPECT_EQ(box.CardsIn(1), 1);
}

TEST_F(TypingTest, LookChecksAndTheButtonsGiveEitherVerdict) {
    StartTyping("Haus", "house");
    frame->TypeText("house");
    ASSERT_TRUE(frame->Click(ids::kLookButton));
    EXPECT_EQ(Verdict(), "Right");
    ASSERT_TRUE(frame->Click(ids::kUnknownButton));
    EXPECT_EQ(box.CardsIn(1), 1);
}

TEST_F(TypingTest, TheMarksGoCharacterByCharacter) {
    StartTyping("Kaffee", "café");
    // A substitution, an insertion and an omission, each one character as a person counts
    // them: "é" typed as "e" and a combining accent is one.
    TypeAnswer("cafe\xCC\x81");
    EXPECT_EQ(Verdict(), "Right");
    frame->PressEnter();
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    TypeAnswer("caffe");
    EXPECT_EQ(Marks(),
              (std::vector<MarkedRun>{
                  {"caf", TextMark::Right}, {"f", TextMark::Wrong}, {"e", TextMark::Extra}}));
    EXPECT_EQ(Spoken(), "typed: caffe, expected: café, 1 letter wrong, 1 letter too many");
    frame->PressEnter();
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    TypeAnswer("cé");
    EXPECT_EQ(Marks(),
              (std::vector<MarkedRun>{
                  {"c", TextMark::Right}, {"af", TextMark::Missing}, {"é", TextMark::Right}}));
}

TEST_F(TypingTest, EachToleranceForgivesItsSlipAndIsKeptForTheNextRun) {
    StartTyping("Café, Weg", "Café, Weg");
    TypeAnswer("cafe, weg");
    EXPECT_EQ(Verdict(), "Not right");
    Toggle(ids::kCmIgnoreCapitals);
    // The answer checked is judged again at once.
    EXPECT_EQ(Verdict(), "Not right");
    EXPECT_EQ(frame->Focused(), ids::kUnknownButton);
    Toggle(ids::kCmIgnoreAccents);
    EXPECT_EQ(Verdict(), "Right, but for the capital letters and the accents");
    EXPECT_EQ(frame->Focused(), ids::kKnownButton);
    EXPECT_EQ(Marks().front().mark, TextMark::Forgiven);
    frame->PressEnter();
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    TypeAnswer("Cafe Weg");
    EXPECT_EQ(Verdict(), "Not right");
    Toggle(ids::kCmIgnorePunctuation);
    EXPECT_EQ(Verdict(), "Right, but for the accents and the punctuation");
    frame->PressEnter();
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    TypeAnswer("Weg");
    EXPECT_EQ(Verdict(), "Not right");
    Toggle(ids::kCmAcceptAlternatives);
    EXPECT_EQ(Verdict(), "Right (one of the answers)");

    // A second run on the same settings types, with the same tolerances.
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmFileSave));
    const FilePath path = view->FileName();
    app.reset();
    Start(path);
    EXPECT_TRUE(frame->MenuState(ids::kCmTypeAnswer).checked);
    for (const int tolerance : {ids::kCmIgnoreCapitals, ids::kCmIgnoreAccents,
                                ids::kCmIgnorePunctuation, ids::kCmAcceptAlternatives}) {
        EXPECT_TRUE(frame->MenuState(tolerance).checked) << tolerance;
        EXPECT_TRUE(frame->MenuState(tolerance).enabled) << tolerance;
    }
    EXPECT_TRUE(Asking());
    // Turned off, it stays off for the next run, and the classic view is back.
    Toggle(ids::kCmTypeAnswer);
    EXPECT_FALSE(frame->IsVisible(ids::kTypedAnswerEdit));
    EXPECT_EQ(frame->Focused(), ids::kLookButton);
    app.reset();
    Start(path);
    EXPECT_FALSE(frame->MenuState(ids::kCmTypeAnswer).checked);
    EXPECT_FALSE(frame->IsVisible(ids::kTypedAnswerEdit));
}

TEST_F(TypingTest, AWrongAnswerInAnyScriptNeverPasses) {
    struct Case {
        std::string expected;
        std::string wrong;
        std::string right;
    };
    const std::vector<Case> cases = {
        {"дом", "дым", "Дом"},        // Cyrillic: another vowel; a capital forgiven
        {"σπίτι", "σπίτα", "ΣΠΙΤΙ"},  // Greek: capitals without the accent
        {"بيت", "بنت", "بَيت"},        // Arabic: another letter; a vowel mark forgiven
        {"房子", "屋子", "房子"},     // Chinese
        {"いえ", "うえ", "いえ。"},   // Japanese: the full stop forgiven
    };
    tCardBox saved;
    for (const Case& each : cases) {
        saved.AddToPartition(Card(each.expected, each.expected), 2);
    }
    Start(SaveBox(saved));
    Toggle(ids::kCmTypeAnswer);
    for (const int tolerance : {ids::kCmIgnoreCapitals, ids::kCmIgnoreAccents,
                                ids::kCmIgnorePunctuation, ids::kCmAcceptAlternatives}) {
        Toggle(tolerance);
    }
    for (std::size_t asking = 0; asking < cases.size(); ++asking) {
        const std::string question = Question();
        const Case* asked = nullptr;
        for (const Case& candidate : cases) {
            asked = candidate.expected == question ? &candidate : asked;
        }
        ASSERT_NE(asked, nullptr) << question;
        TypeAnswer(asked->wrong);
        EXPECT_EQ(Verdict(), "Not right") << asked->wrong;
        EXPECT_EQ(frame->Focused(), ids::kUnknownButton);
        // The learner gives Known, the same card comes back through undo, typed right.
        frame->TypeChar('k');
        ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
        TypeAnswer(asked->right);
        EXPECT_NE(Verdict(), "Not right") << asked->right;
        frame->PressEnter();
    }
}

TEST_F(TypingTest, WithSwitchTheQuestionSideIsTyped) {
    StartTyping("Haus", "house");
    Toggle(ids::kCmSwitch);
    EXPECT_TRUE(Asking());
    EXPECT_EQ(Question(), "house");
    TypeAnswer("Haus");
    EXPECT_EQ(Verdict(), "Right");
    EXPECT_EQ(Answer(), "Haus");
}

TEST_F(TypingTest, AnEmptyBoxShowsTheWayNotAField) {
    Start();
    Toggle(ids::kCmTypeAnswer);
    EXPECT_FALSE(frame->IsVisible(ids::kTypedAnswerEdit));
    EXPECT_EQ(Question(),
              "The box is empty: Card > New (Ctrl+Shift+N) or File > Import adds cards");
}

TEST_F(TypingTest, KeyboardOnlyFromTheFirstCardToTheLast) {
    tCardBox saved;
    for (int card = 0; card < 3; ++card) {
        saved.AddToPartition(Card("q" + std::to_string(card), "a" + std::to_string(card)), 2);
    }
    Start(SaveBox(saved));
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmTypeAnswer));
    // Nothing typed: Enter checks the empty field, the answer shows, not right.
    frame->PressEnter();
    EXPECT_EQ(Verdict(), "Not right");
    EXPECT_EQ(Marks(), (std::vector<MarkedRun>{{"a0", TextMark::Missing}}));
    frame->PressEnter();
    // Then each card asked is answered right, whichever the box offers.
    for (int asked = 0; asked < 3; ++asked) {
        ASSERT_TRUE(Asking());
        TypeAnswer("a" + Question().substr(1));
        EXPECT_EQ(Verdict(), "Right");
        frame->PressEnter();
    }
    int known = 0;
    int unknown = 0;
    box.ForEachCard([&](const tVokabel& card, int) {
        known += card.knownCount;
        unknown += card.unknownCount;
        return true;
    });
    EXPECT_EQ(known, 3);
    EXPECT_EQ(unknown, 1);
}

TEST_F(TypingTest, TheFieldsShareTheAnswersPlace) {
    StartTyping("Haus", "house");
    frame->Resize(600, 400);
    const platform::Rect field = frame->Position(ids::kTypedAnswerEdit);
    const platform::Rect answer = frame->Position(ids::kAnswerStatic);
    EXPECT_GE(field.y, answer.y);
    EXPECT_LE(field.y + field.height, answer.y + answer.height);
    EXPECT_EQ(field.width, answer.width);
    TypeAnswer("hause");
    const platform::Rect expected = frame->Position(ids::kAnswerStatic);
    const platform::Rect marks = frame->Position(ids::kTypedMarks);
    EXPECT_EQ(expected.y + expected.height, marks.y);
    EXPECT_EQ(marks.y + marks.height, answer.y + answer.height);
    // The verdict stands where Look was, which is hidden while there is nothing to look at.
    const platform::Rect look = frame->Position(ids::kLookButton);
    const platform::Rect verdict = frame->Position(ids::kVerdictStatic);
    EXPECT_EQ(verdict.y, look.y);
    EXPECT_EQ(frame->Control(ids::kTypedMarks)->font.points,
              frame->Control(ids::kAnswerStatic)->font.points);
}

}  // namespace
}  // namespace tallyfold
