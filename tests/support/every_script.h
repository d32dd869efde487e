#pragma once

// One card in each script of the languages learners asked for, for tests of texts in any
// script: every answer differs from the others, so that typing them raises no doubles.

#include <string>
#include <utility>
#include <vector>

namespace tallyfold::testing {

inline std::vector<std::pair<std::string, std::string>> CardsOfEveryScript() {
    return {
        {"g\u0119\u015B", "goose"},                          // Polish
        {"\u0131\u015F\u0131k", "light"},                    // Turkish
        {"\u0441\u043B\u043E\u0432\u043E", "word"},          // Russian
        {"\u03BB\u03AD\u03BE\u03B7", "Greek word"},          // Greek
        {"\u05E9\u05DC\u05D5\u05DD", "peace"},               // Hebrew
        {"\u0643\u062A\u0627\u0628", "book"},                // Arabic
        {"\u0928\u092E\u0938\u094D\u0924\u0947", "hello"},   // Hindi
        {"\u4E2D\u6587", "Chinese"},                         // Chinese
        {"\u65E5\u672C\u8A9E", "\u306B\u307B\u3093\u3054"},  // Japanese
        {"\uD55C\uAD6D\uC5B4", "Korean"},                    // Korean
        {"\U0001F44D\U0001F3FD", "thumbs up"},               // emoji
    };
}

}  // namespace tallyfold::testing
