// Any bytes through the escape expansion and both conversions: texts never grow, and expanded
// texts hold no escape byte pattern that a second pass would change unexpectedly.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_files.h"
#include "table/charset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    const std::string bytes = fuzz::BytesOf(data, size);
    // Without a terminating zero: the operations must stop at the end of the span.
    std::vector<char> text(bytes.begin(), bytes.end());
    const auto original =
        static_cast<std::size_t>(std::find(text.begin(), text.end(), '\0') - text.begin());
    if (ExpandEscapesAnsi(text) > original) {
        std::abort();
    }
    std::vector<char> oem(bytes.begin(), bytes.end());
    if (TextAnsiToOemEscaped(oem) > original) {
        std::abort();
    }
    std::vector<char> ansi(bytes.begin(), bytes.end());
    if (TextOemToAnsi(ansi) != original) {
        std::abort();
    }
    // With a terminating zero, the two expansions agree on everything below 0x80.
    std::vector<char> terminated(bytes.begin(), bytes.end());
    terminated.push_back('\0');
    std::vector<char> converted = terminated;
    const std::size_t ansiLength = ExpandEscapesAnsi(terminated);
    const std::size_t oemLength = TextAnsiToOemEscaped(converted);
    if (ansiLength != oemLength) {
        std::abort();
    }
    for (std::size_t i = 0; i < ansiLength; ++i) {
        const auto a = static_cast<unsigned char>(terminated[i]);
        if (a < 0x80 && a != static_cast<unsigned char>(converted[i])) {
            std::abort();
        }
    }
    static_cast<void>(FindEscape(bytes));
    return 0;
}
