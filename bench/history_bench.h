#pragma once

// The history and the journal under load: undo and redo of a verdict, of Mix all and of an
// import on a large box, and what the journal adds to a learning step.

#include <memory>
#include <string>

#include "box/card_box.h"
#include "document/document.h"

namespace tallyfold::bench {

/// A box loaded from a file and its document, with or without a journal.
struct History {
    tCardBox box;
    std::unique_ptr<Document> document;
};

/// A document on the cards of `vok`; with a journal in `journals` when it is not empty.
std::unique_ptr<History> OpenHistory(const std::string& vok, const std::string& journals);

/// One verdict as the window makes it: a step with the verdict and the choice of the next card.
void Verdict(Document& document, bool known);

/// `count` cards added in one step, as an import adds them.
void ImportStep(Document& document, int count);

}  // namespace tallyfold::bench
