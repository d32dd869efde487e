#include "text/utf16.h"

#include "text/utf8.h"

namespace tallyfold::unicode {

std::u16string Utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = DecodeNext(utf8, at);
        if (code < 0x10000U) {
            out.push_back(static_cast<char16_t>(code));
        } else {
            const char32_t above = code - 0x10000U;
            out.push_back(static_cast<char16_t>(0xD800U + (above >> 10U)));
            out.push_back(static_cast<char16_t>(0xDC00U + (above & 0x3FFU)));
        }
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t at = 0; at < utf16.size(); ++at) {
        const char32_t unit = utf16[at];
        const bool high = unit >= 0xD800U && unit <= 0xDBFFU;
        const bool lowNext =
            at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00U && utf16[at + 1] <= 0xDFFFU;
        if (high && lowNext) {
            AppendUtf8(out, 0x10000U + ((unit - 0xD800U) << 10U) + (utf16[at + 1] - 0xDC00U));
            ++at;
        } else {
            // AppendUtf8 writes a lone surrogate as U+FFFD.
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace tallyfold::unicode
