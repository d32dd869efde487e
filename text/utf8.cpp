#include "text/utf8.h"

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

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        // Runs of ASCII, most of any text, pass eight bytes at a time.
        while (at + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, 8);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            at += 8;
        }
        if (at == text.size()) {
            break;
        }
        if (static_cast<unsigned char>(text[at]) < 0x80U) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        // A U+FFFD written in the text takes three bytes; one that stands for a bad byte, one.
        if (DecodeNext(text, at) == kReplacement && at - start == 1) {
            return false;
        }
    }
    return true;
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
