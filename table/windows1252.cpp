#include "table/windows1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tallyfold {

namespace {

// 0x80 to 0x9F; every other byte is the code point of the same number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 character at the front of `text`; nothing for a malformed sequence.
std::optional<char32_t> DecodeUtf8(std::string_view& text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        length = 1;
        c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not characters.
    if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    text.remove_prefix(length);
    return c;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t CodePointOfWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> Windows1252OfCodePoint(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<unsigned char>(codePoint);
    }
    // The control codes 0x80 to 0x9F are no characters of the set: its five undefined bytes
    // show as them, and nothing may turn them back into bytes a card would hold.
    if (codePoint <= 0x9F) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::optional<unsigned char> Windows1252ByteOf(char32_t codePoint) {
    if (codePoint == 0x81 || codePoint == 0x8D || codePoint == 0x8F || codePoint == 0x90 ||
        codePoint == 0x9D) {
        return static_cast<unsigned char>(codePoint);
    }
    return Windows1252OfCodePoint(codePoint);
}

std::optional<unsigned char> NextWindows1252Byte(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    if (lead < 0x80U) {
        ++at;
        return lead;
    }
    if ((lead == 0xC2U || lead == 0xC3U) && at + 1 < utf8.size()) {
        const auto next = static_cast<unsigned char>(utf8[at + 1]);
        const auto code = static_cast<unsigned char>(((lead & 0x1FU) << 6U) | (next & 0x3FU));
        at += 2;
        // U+0080 to U+009F are control characters, which stand for the undefined bytes only.
        return code >= 0xA0U ? std::optional<unsigned char>(code) : Windows1252ByteOf(code);
    }
    std::string_view rest = utf8.substr(at);
    const std::size_t before = rest.size();
    const std::optional<char32_t> code = DecodeUtf8(rest);
    if (!code) {
        ++at;
        return std::nullopt;
    }
    at += before - rest.size();
    return Windows1252ByteOf(*code);
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        AppendUtf8(out, CodePointOfWindows1252(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::optional<char32_t> c = DecodeUtf8(text);
        if (!c) {
            return std::nullopt;
        }
        const std::optional<unsigned char> byte = Windows1252OfCodePoint(*c);
        if (!byte) {
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

}  // namespace tallyfold
