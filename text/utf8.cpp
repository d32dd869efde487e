#include "text/utf8.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tallyfold::unicode {

namespace {

bool Continuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

}  // namespace

char32_t DecodeNext(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80U) {
        ++at;
        return lead;
    }
    // The lengths and the smallest value of each, so that overlong forms are refused; the
    // bounds of the second byte of E0, ED, F0 and F4 refuse the overlong, surrogate and
    // out-of-range forms, as the standard's table of well-formed sequences has them.
    std::size_t length = 0;
    char32_t code = 0;
    unsigned char low = 0x80U;
    unsigned char high = 0xBFU;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
        code = lead & 0x1FU;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        code = lead & 0x0FU;
        low = lead == 0xE0U ? 0xA0U : 0x80U;
        high = lead == 0xEDU ? 0x9FU : 0xBFU;
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        code = lead & 0x07U;
        low = lead == 0xF0U ? 0x90U : 0x80U;
        high = lead == 0xF4U ? 0x8FU : 0xBFU;
    } else {
        ++at;
        return kReplacement;
    }
    if (text.size() - at < length) {
        ++at;
        return kReplacement;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second < low || second > high) {
        ++at;
        return kReplacement;
    }
    code = (code << 6U) | (second & 0x3FU);
    for (std::size_t i = 2; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (!Continuation(next)) {
            ++at;
            return kReplacement;
        }
        code = (code << 6U) | (next & 0x3FU);
    }
    at += length;
    return code;
}

bool IsAscii(std::string_view text) {
    unsigned char seen = 0;
    for (const char c : text) {
        seen |= static_cast<unsigned char>(c);
    }
    return seen < 0x80;
}

bool IsValidUtf8(std::string_view text) {
    // A load checks every text of a Unicode file here, so the checks of the standard's table of
    // well-formed sequences are written out rather than decoded: for each lead byte, the range
    // its second byte must be in, then plain continuation bytes.
    const auto* at = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* const end = at + text.size();
    while (at < end) {
        // Runs of ASCII, most of many texts, pass eight bytes at a time.
        if (end - at >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, at, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                at += 8;
                continue;
            }
        }
        const unsigned lead = *at;
        if (lead < 0x80U) {
            ++at;
            continue;
        }
        std::ptrdiff_t length = 0;
        unsigned low = 0x80U;
        unsigned high = 0xBFU;
        if (lead >= 0xC2U && lead <= 0xDFU) {
            length = 2;
        } else if (lead >= 0xE0U && lead <= 0xEFU) {
            length = 3;
            low = lead == 0xE0U ? 0xA0U : 0x80U;
            high = lead == 0xEDU ? 0x9FU : 0xBFU;
        } else if (lead >= 0xF0U && lead <= 0xF4U) {
            length = 4;
            low = lead == 0xF0U ? 0x90U : 0x80U;
            high = lead == 0xF4U ? 0x8FU : 0xBFU;
        } else {
            return false;
        }
        if (end - at < length || at[1] < low || at[1] > high) {
            return false;
        }
        for (std::ptrdiff_t i = 2; i < length; ++i) {
            if (!Continuation(at[i])) {
                return false;
            }
        }
        at += length;
    }
    return true;
}

std::size_t CountCodePoints(std::string_view text) {
    // Every byte but a continuation byte begins a code point; eight are counted at once.
    std::size_t continuations = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        // The top bit set and the one below it clear: 10xxxxxx.
        continuations +=
            static_cast<std::size_t>(std::popcount(word & ~(word << 1U) & 0x8080808080808080ULL));
    }
    for (; at < text.size(); ++at) {
        continuations += Continuation(static_cast<unsigned char>(text[at])) ? 1U : 0U;
    }
    return text.size() - continuations;
}

void AppendUtf8(std::string& out, char32_t code) {
    if ((code >= 0xD800U && code <= 0xDFFFU) || code > 0x10FFFFU) {
        code = kReplacement;
    }
    if (code < 0x80U) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800U) {
        out.push_back(static_cast<char>(0xC0U | (code >> 6U)));
        out.push_back(static_cast<char>(0x80U | (code & 0x3FU)));
    } else if (code < 0x10000U) {
        out.push_back(static_cast<char>(0xE0U | (code >> 12U)));
        out.push_back(static_cast<char>(0x80U | ((code >> 6U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (code & 0x3FU)));
    } else {
        out.push_back(static_cast<char>(0xF0U | (code >> 18U)));
        out.push_back(static_cast<char>(0x80U | ((code >> 12U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | ((code >> 6U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (code & 0x3FU)));
    }
}

}  // namespace tallyfold::unicode
