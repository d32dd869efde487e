#include "table/charset.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "table/byte_words.h"
#include "table/windows1252.h"

namespace tallyfold {

namespace {

constexpr char kAcuteAnsi = '\xB4';
constexpr char kAcuteOem = '\xEF';
constexpr char kRingAnsi = '\xB0';
constexpr char kRingOem = '\xF8';

constexpr CharEntry Entry(unsigned char oem, unsigned char ansi, char first, char second = 0) {
    return CharEntry{oem, ansi, {first, second}};
}

}  // namespace

constexpr std::array<CharEntry, kCharTableSize> kCharTable = {{
    Entry(0x80, 0xC7, ',', 'C'),
    Entry(0x81, 0xFC, '"', 'u'),
    Entry(0x82, 0xE9, kAcuteOem, 'e'),
    Entry(0x82, 0xE9, kAcuteAnsi, 'e'),
    Entry(0x83, 0xE2, '^', 'a'),
    Entry(0x84, 0xE4, '"', 'a'),
    Entry(0x85, 0xE0, '`', 'a'),
    Entry(0x86, 0xE5, kRingOem, 'a'),
    Entry(0x86, 0xE5, kRingAnsi, 'a'),
    Entry(0x87, 0xE7, ',', 'c'),
    Entry(0x88, 0xEA, '^', 'e'),
    Entry(0x89, 0xEB, '"', 'e'),
    Entry(0x8A, 0xE8, '`', 'e'),
    Entry(0x8B, 0xEF, '"', 'i'),
    Entry(0x8C, 0xEE, '^', 'i'),
    Entry(0x8D, 0xEC, '`', 'i'),
    Entry(0x8E, 0xC4, '"', 'A'),
    Entry(0x8F, 0xC5, kRingOem, 'A'),
    Entry(0x8F, 0xC5, kRingAnsi, 'A'),
    Entry(0x90, 0xC9, kAcuteOem, 'E'),
    Entry(0x90, 0xC9, kAcuteAnsi, 'E'),
    Entry(0x91, 0xE6, 'a', 'e'),
    Entry(0x92, 0xC6, 'A', 'E'),
    Entry(0x93, 0xF4, '^', 'o'),
    Entry(0x94, 0xF6, '"', 'o'),
    Entry(0x95, 0xF2, '`', 'o'),
    Entry(0x96, 0xFB, '^', 'u'),
    Entry(0x97, 0xF9, '`', 'u'),
    Entry(0x98, 0xFF, '"', 'y'),
    Entry(0x99, 0xD6, '"', 'O'),
    Entry(0x9A, 0xDC, '"', 'U'),
    Entry(0x9B, 0xF8, '/', 'o'),
    Entry(0x9C, 0xA3, 'L'),
    Entry(0x9D, 0xD8, '/', 'O'),
    Entry(0xA0, 0xE1, kAcuteOem, 'a'),
    Entry(0xA0, 0xE1, kAcuteAnsi, 'a'),
    Entry(0xA1, 0xED, kAcuteOem, 'i'),
    Entry(0xA1, 0xED, kAcuteAnsi, 'i'),
    Entry(0xA2, 0xF3, kAcuteOem, 'o'),
    Entry(0xA2, 0xF3, kAcuteAnsi, 'o'),
    Entry(0xA3, 0xFA, kAcuteOem, 'u'),
    Entry(0xA3, 0xFA, kAcuteAnsi, 'u'),
    Entry(0xA4, 0xF1, '~', 'n'),
    Entry(0xA5, 0xD1, '~', 'N'),
    Entry(0xA8, 0xBF, '?'),
    Entry(0xB5, 0xC1, kAcuteOem, 'A'),
    Entry(0xB5, 0xC1, kAcuteAnsi, 'A'),
    Entry(0xB6, 0xC5, kRingOem, 'A'),
    Entry(0xB6, 0xC5, kRingAnsi, 'A'),
    Entry(0xB7, 0xC0, '`', 'A'),
    Entry(0xBD, 0xA2, '|', 'c'),
    Entry(0xBE, 0xBE, '=', 'Y'),
    Entry(0xC6, 0xE3, '~', 'a'),
    Entry(0xC7, 0xC3, '~', 'A'),
    Entry(0xD0, 0xF0, '-', 'd'),
    Entry(0xD1, 0xD0, '-', 'D'),
    Entry(0xD2, 0xCA, '^', 'E'),
    Entry(0xD3, 0xCB, '"', 'E'),
    Entry(0xD4, 0xC8, '`', 'E'),
    Entry(0xD6, 0xCD, kAcuteOem, 'I'),
    Entry(0xD6, 0xCD, kAcuteAnsi, 'I'),
    Entry(0xD7, 0xCE, '^', 'I'),
    Entry(0xD8, 0xCF, '"', 'I'),
    Entry(0xDE, 0xCC, '`', 'I'),
    Entry(0xE0, 0xD3, kAcuteOem, 'O'),
    Entry(0xE0, 0xD3, kAcuteAnsi, 'O'),
    Entry(0xE1, 0xDF, '"', 's'),
    Entry(0xE2, 0xD4, '^', 'O'),
    Entry(0xE3, 0xD2, '`', 'O'),
    Entry(0xE4, 0xF5, '~', 'o'),
    Entry(0xE5, 0xD5, '~', 'O'),
    Entry(0xE9, 0xDA, kAcuteOem, 'U'),
    Entry(0xE9, 0xDA, kAcuteAnsi, 'U'),
    Entry(0xEA, 0xDB, '^', 'U'),
    Entry(0xEB, 0xD9, '`', 'U'),
    Entry(0xEC, 0xFD, kAcuteOem, 'y'),
    Entry(0xEC, 0xFD, kAcuteAnsi, 'y'),
    Entry(0xED, 0xDD, kAcuteOem, 'Y'),
    Entry(0xED, 0xDD, kAcuteAnsi, 'Y'),
    Entry(0x00, 0x00, '0'),
}};

namespace {

// The Windows-1252 characters that the table leaves out but whose byte the table reads as
// another character (its OEM column), each with the code it is stored as. Every code is one
// that no file written by the table alone can hold (not in the OEM column, and a Windows-1252
// byte the table maps elsewhere), so files written before these codes read as they always
// did. A character's true code page 850 code is used where it is such a code.
struct OwnCode {
    unsigned char ansi;
    unsigned char oem;
};
constexpr std::array<OwnCode, 36> kOwnCodes = {{
    {0x80, 0xBF},  // euro sign (own code)
    {0x82, 0xC0},  // single low-9 quotation mark (own code)
    {0x83, 0xC1},  // latin small letter f with hook (own code)
    {0x84, 0xC3},  // double low-9 quotation mark (own code)
    {0x85, 0xC4},  // horizontal ellipsis (own code)
    {0x86, 0xC5},  // dagger (own code)
    {0x87, 0xC8},  // double dagger (own code)
    {0x88, 0xC9},  // modifier letter circumflex accent (own code)
    {0x89, 0xCA},  // per mille sign (own code)
    {0x8A, 0xCB},  // latin capital letter s with caron (own code)
    {0x8B, 0xCC},  // single left-pointing angle quotation mark (own code)
    {0x8C, 0xCD},  // latin capital ligature oe (own code)
    {0x8E, 0xCE},  // latin capital letter z with caron (own code)
    {0x91, 0xD5},  // left single quotation mark (own code)
    {0x92, 0xD9},  // right single quotation mark (own code)
    {0x93, 0xDA},  // left double quotation mark (own code)
    {0x94, 0xDB},  // right double quotation mark (own code)
    {0x95, 0xDC},  // bullet (own code)
    {0x96, 0xDD},  // en dash (own code)
    {0x97, 0xDF},  // em dash (own code)
    {0x98, 0xE7},  // small tilde (own code)
    {0x99, 0xEE},  // trade mark sign (own code)
    {0x9A, 0xEF},  // latin small letter s with caron (own code)
    {0x9B, 0xF0},  // single right-pointing angle quotation mark (own code)
    {0x9C, 0xF1},  // latin small ligature oe (own code)
    {0xA0, 0xFF},  // no-break space (true code page 850)
    {0xA1, 0xF2},  // inverted exclamation mark (own code)
    {0xA4, 0xCF},  // currency sign (true code page 850)
    {0xA5, 0xF3},  // yen sign (own code)
    {0xA8, 0xF9},  // diaeresis (true code page 850)
    {0xB5, 0xE6},  // micro sign (true code page 850)
    {0xB6, 0xF4},  // pilcrow sign (true code page 850)
    {0xB7, 0xFA},  // middle dot (true code page 850)
    {0xBD, 0xF5},  // vulgar fraction one half (own code)
    {0xD7, 0xF6},  // multiplication sign (own code)
    {0xDE, 0xE8},  // latin capital letter thorn (true code page 850)
}};

// Bytes that Windows-1252 leaves undefined: no character, so no card holds one.
constexpr std::array<unsigned char, 5> kUndefinedAnsi = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
// The same as bits over 0x80 to 0x9F, where all of them lie: an import asks for every byte.
constexpr std::uint32_t kUndefinedAnsiBits = [] {
    std::uint32_t bits = 0;
    for (const unsigned char c : kUndefinedAnsi) {
        bits |= std::uint32_t{1} << (c - 0x80);
    }
    return bits;
}();

// Byte-indexed views of the table, first match winning, and the own codes, made at compile
// time: the conversions run for every text of every record.
struct ConversionMaps {
    std::array<unsigned char, 256> ansiToOem{};
    std::array<unsigned char, 256> oemToAnsi{};
};

constexpr ConversionMaps BuildMaps() {
    ConversionMaps maps;
    std::array<bool, 256> ansiSeen{};
    std::array<bool, 256> oemSeen{};
    for (std::size_t c = 0; c < 256; ++c) {
        maps.ansiToOem[c] = static_cast<unsigned char>(c);
        maps.oemToAnsi[c] = static_cast<unsigned char>(c);
    }
    for (const CharEntry& entry : kCharTable) {
        if (!ansiSeen[entry.ansi]) {
            ansiSeen[entry.ansi] = true;
            maps.ansiToOem[entry.ansi] = entry.oem;
        }
        if (!oemSeen[entry.oem]) {
            oemSeen[entry.oem] = true;
            maps.oemToAnsi[entry.oem] = entry.ansi;
        }
    }
    for (const OwnCode& own : kOwnCodes) {
        maps.ansiToOem[own.ansi] = own.oem;
        maps.oemToAnsi[own.oem] = own.ansi;
    }
    return maps;
}

constexpr ConversionMaps kMaps = BuildMaps();

// Only bytes of 0x80 and above change; texts are mostly plain letters, so runs of eight plain
// bytes are passed over at once.
void MapHighBytes(std::span<char> text, const std::array<unsigned char, 256>& map) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    while (i < text.size()) {
        std::uint64_t word = 0;
        if (i + 8 <= text.size()) {
            std::memcpy(&word, text.data() + i, 8);
            if ((word & kHighBits) == 0) {
                i += 8;
                continue;
            }
        }
        const std::size_t end = std::min(i + 8, text.size());
        for (; i < end; ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte >= 0x80) {
                text[i] = static_cast<char>(map[byte]);
            }
        }
    }
}

std::size_t TextLength(std::span<const char> text) {
    const void* end = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
    return end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - text.data())
                          : text.size();
}

std::size_t Terminate(std::span<char> text, std::size_t length) {
    if (length < text.size()) {
        text[length] = '\0';
    }
    return length;
}

enum class Target { Oem, Ansi };

// One left-to-right pass with a read and a write position; the write position never passes
// the read position, so the text is rewritten in place.
std::size_t ExpandEscapes(std::span<char> text, Target target) {
    const std::size_t length = TextLength(text);
    // Most texts hold no backslash: then only the characters are converted.
    if (std::find(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), '\\') ==
        text.begin() + static_cast<std::ptrdiff_t>(length)) {
        if (target == Target::Oem) {
            MapHighBytes(text.first(length), kMaps.ansiToOem);
        }
        return Terminate(text, length);
    }
    std::size_t write = 0;
    std::size_t read = 0;
    while (read < length) {
        unsigned char c = static_cast<unsigned char>(text[read]);
        if (target == Target::Oem && c >= 0x80) {
            c = AnsiToOemChar(c);
        }
        if (c != '\\') {
            text[write++] = static_cast<char>(c);
            ++read;
            continue;
        }
        if (read + 1 == length) {
            break;  // a backslash at the very end is dropped
        }
        const char next = text[read + 1];
        if (next == '\\') {
            text[write++] = '\\';
            read += 2;
            continue;
        }
        const int found = FindEscape({text.data() + read + 1, length - read - 1});
        if (found < 0) {
            text[write++] = next;  // only the backslash is lost
            read += 2;
            continue;
        }
        const CharEntry& entry = kCharTable[static_cast<std::size_t>(found)];
        const unsigned char produced = target == Target::Oem ? entry.oem : entry.ansi;
        if (produced == 0) {
            break;  // the escape for code 0 ends the text here
        }
        text[write++] = static_cast<char>(produced);
        read += entry.name[1] != 0 ? 3U : 2U;  // the backslash and a name of one or two
    }
    return Terminate(text, write);
}

}  // namespace

bool IsDefinedAnsi(unsigned char c) {
    return c < 0x80 || c >= 0xA0 || ((kUndefinedAnsiBits >> (c - 0x80)) & 1) == 0;
}

namespace {

bool EachDefinedAnsi(std::string_view bytes) {
    bool defined = true;
    for (const char c : bytes) {
        defined = defined && IsDefinedAnsi(static_cast<unsigned char>(c));
    }
    return defined;
}

}  // namespace

bool AllDefinedAnsi(std::string_view text) {
    // Only bytes 0x80 to 0x9F can be undefined: a run without one is passed over, sixteen bytes
    // at a time where the processor has vector instructions, then eight (the zeros a short load
    // adds are none of them).
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i topThreeBits = _mm_set1_epi8(static_cast<char>(0xe0));
    const __m128i from0x80 = _mm_set1_epi8(static_cast<char>(0x80));
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(chunk, topThreeBits), from0x80)) != 0 &&
            !EachDefinedAnsi(text.substr(i, 16))) {
            return false;
        }
    }
#endif
    constexpr std::uint64_t kTopThreeBits = 0xe0e0e0e0e0e0e0e0ULL;
    for (; i < text.size(); i += 8) {
        const std::size_t count = std::min<std::size_t>(8, text.size() - i);
        const std::uint64_t word =
            count == 8 ? words::Load(text.data() + i) : words::LoadUpTo8(text.data() + i, count);
        if (words::ZeroBytes((word & kTopThreeBits) ^ words::kHigh) != 0 &&
            !EachDefinedAnsi(text.substr(i, count))) {
            return false;
        }
    }
    return true;
}

unsigned char AnsiToOemChar(unsigned char c) {
    return kMaps.ansiToOem[c];
}

unsigned char OemToAnsiChar(unsigned char c) {
    return kMaps.oemToAnsi[c];
}

const std::array<unsigned char, 256>& AnsiToOemMap() {
    return kMaps.ansiToOem;
}

const std::array<unsigned char, 256>& OemToAnsiMap() {
    return kMaps.oemToAnsi;
}

int FindEscape(std::string_view text) {
    for (int i = 0; i < kCharTableSize; ++i) {
        const std::array<char, 2>& name = kCharTable[static_cast<std::size_t>(i)].name;
        const std::size_t nameLength = name[1] != 0 ? 2 : 1;
        if (text.size() >= nameLength &&
            text.compare(0, nameLength, name.data(), nameLength) == 0) {
            return i;
        }
    }
    return -1;
}

std::size_t TextOemToAnsi(std::span<char> text) {
    const std::size_t length = TextLength(text);
    MapHighBytes(text.first(length), kMaps.oemToAnsi);
    return length;
}

std::size_t TextAnsiToOem(std::span<char> text) {
    const std::size_t length = TextLength(text);
    MapHighBytes(text.first(length), kMaps.ansiToOem);
    return length;
}

std::size_t TextAnsiToOemEscaped(std::span<char> text) {
    return ExpandEscapes(text, Target::Oem);
}

std::size_t ExpandEscapesAnsi(std::span<char> text) {
    return ExpandEscapes(text, Target::Ansi);
}

std::string ExpandEscapesUtf8(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(text.size());
    // Escape names are ASCII, and no byte of a UTF-8 character of two or more bytes is: a name
    // is never found inside a character.
    for (std::size_t read = 0; read < text.size();) {
        const char c = text[read];
        if (c != '\\') {
            out += c;
            ++read;
            continue;
        }
        if (read + 1 == text.size()) {
            break;  // a backslash at the very end is dropped
        }
        const char next = text[read + 1];
        const int found = next == '\\' ? -1 : FindEscape(text.substr(read + 1));
        if (found < 0) {
            out += next;  // only the backslash is lost ("\\" gives one)
            read += 2;
            continue;
        }
        const CharEntry& entry = kCharTable[static_cast<std::size_t>(found)];
        if (entry.ansi == 0) {
            break;
        }
        AppendUtf8(out, CodePointOfWindows1252(entry.ansi));
        read += entry.name[1] != 0 ? 3U : 2U;
    }
    return out;
}

}  // namespace tallyfold
