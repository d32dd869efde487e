// Any bytes through the escape expansion and both conversions: texts never grow, and expanded
// texts hold no escape byte pattern that a second pass would change unexpectedly.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "table/charset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    // Without a terminating zero: the operations must stop at the end of the span.
    std::vector<char> text(data, data + size);
    const std::size_t original = ::strnlen(text.data(), text.size());
    if (ExpandEscapesAnsi(text) > original) {
        std::abort();
    }
    std::vector<char> oem(data, data + size);
    if (TextAnsiToOemEscaped(oem) > original) {
        std::abort();
    }
    std::vector<char> ansi(data, data + size);
    if (TextOemToAnsi(ansi) != original) {
        std::abort();
    }
    // With a terminating zero, the two expansions agree on everything below 0x80.
    std::vector<char> terminated(data, data + size);
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
    static_cast<void>(FindEscape({reinterpret_cast<const char*>(data), size}));
    return 0;
}
