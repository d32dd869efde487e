#pragma once

#include "box/card.h"
#include "document/card_input_texts.h"
#include "document/document.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold {

/// Whether a changed card whose question or answer another card has is asked about first.
enum class DoublesOnChange { Allowed, Asked };

/// The "Input" dialog (template 3300). New mode (no card given): each Save adds the typed
/// card to the input stack, after a duplicate check, and the dialog stays open for the next.
/// Change mode (`card` given): Ok writes the typed texts into the card and closes, after the
/// same check when `doubles` asks for it.
class tVokabelDialog : public platform::Dialog {
  public:
    tVokabelDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                   const tVokabel* card, DoublesOnChange doubles);
    void SetupWindow() override;

  private:
    void CmSave();
    void CmHelp();
    /// Whether the typed card is to be stored, after the Doubles dialog where another card
    /// has its question or answer.
    bool MayStore(const tVokabel& typed);

    Document* document_;
    // The card changed, in change mode.
    const tVokabel* card_;
    DoublesOnChange doubles_;
    CardInputTexts* texts_;
    platform::Edit QuestionEdit;
    platform::Edit AnswerEdit;
    platform::Button SaveButton;
    platform::Button CloseButton;
    // How many cards this dialog put in so far, said after each Save.
    platform::Static CountLabel;
    int added_ = 0;
    bool NewMode;
};

/// The "Doubles" dialog (template 3200): shows the stored card that clashes with a new one.
/// Change corrects that card in place.
class tShowDialog : public platform::Dialog {
  public:
    tShowDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                tVokabel& found);
    void SetupWindow() override;

  private:
    void CmChange();
    void CmHelp();
    void ShowFoundCard();

    Document* document_;
    CardInputTexts* texts_;
    platform::Static QuestionLabel;
    platform::Static AnswerLabel;
    tVokabel* FoundCard;
};

/// Runs the input dialog: new mode without a card, change mode with one (a card stored in the
/// document's box). Returns Ok after Ok in change mode (the card then carries the typed texts),
/// else Cancel. Every change goes through `document`, inside the step the caller opened.
[[nodiscard]] platform::DialogResult EditCard(platform::Window& parent, Document& document,
                                              CardInputTexts& texts, tVokabel* card);

/// `EditCard` in change mode, asking about doubles as new mode does: when the typed texts
/// differ from the card's and another card has the same question or answer, the Doubles dialog
/// shows it, and its Cancel leaves the input dialog open to type on.
[[nodiscard]] platform::DialogResult EditCardAskingAboutDoubles(platform::Window& parent,
                                                                Document& document,
                                                                CardInputTexts& texts,
                                                                tVokabel& card);

/// Runs the Doubles dialog for `found`; Ok when the new card is to be stored as well.
[[nodiscard]] platform::DialogResult ShowDoubles(platform::Window& parent, Document& document,
                                                 CardInputTexts& texts, tVokabel& found);

}  // namespace tallyfold
