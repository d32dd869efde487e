#pragma once

#include <string>

namespace tallyfold {

/// Shared by every input dialog of a learning session, a nested one included: the texts carried
/// into and out of the dialog (UTF-8), and the texts of the Save before the last. The session
/// keeps them between dialogs, so the next dialog starts from what the last one left.
struct CardInputTexts {
    std::string question;
    std::string answer;
    std::string lastQuestion;
    std::string lastAnswer;
};

}  // namespace tallyfold
