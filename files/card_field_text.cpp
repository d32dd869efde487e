#include "files/card_field_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "files/text_bytes.h"
#include "table/charset.h"
#include "table/windows1252.h"
#include "text/card_side.h"
#include "text/utf8.h"

namespace tallyfold {

namespace {

// A classic field's text: one byte a character, at most 63, of the first 64 bytes.
constexpr std::size_t kClassicCharacters = 63;
constexpr std::size_t kFieldBytes = 64;

// Runs of bytes are copied in chunks of this many, the last one beyond the run.
constexpr std::size_t kChunk = 16;

// Copies `count` bytes from `from` to `to` a chunk at a time: up to a chunk beyond them is read
// and written, which both buffers must have room for.
void CopyRun(char* to, const char* from, std::size_t count) {
    for (std::size_t done = 0; done < count; done += kChunk) {
        std::memcpy(to + done, from + done, kChunk);
    }
}

// A mask of the lowest `count` bits, for count from 0 to 64.
std::uint64_t LowBits(std::size_t count) {
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// The UTF-8 of the character that a code page 850 byte of a classic field stands for, for every
// byte of 0x80 and above: two or three bytes, then the count of them in the last.
using Utf8OfOem = std::array<std::array<char, 4>, 128>;

Utf8OfOem MakeUtf8OfOem() {
    Utf8OfOem table{};
    for (std::size_t oem = 0x80; oem <= 0xFF; ++oem) {
        std::string utf8;
        AppendUtf8(utf8, CodePointOfWindows1252(OemToAnsiMap()[oem]));
        std::copy(utf8.begin(), utf8.end(), table[oem - 0x80].begin());
        table[oem - 0x80][3] = static_cast<char>(utf8.size());
    }
    return table;
}

const Utf8OfOem& OemUtf8() {
    static const Utf8OfOem table = MakeUtf8OfOem();
    return table;
}

// Whether a Windows-1252 byte comes back from a classic field as it went in: every defined
// byte does; of the five undefined ones, those that a field's byte reads as.
std::array<bool, 256> MakeSurvivesTheField() {
    std::array<bool, 256> survives{};
    for (std::size_t byte = 0; byte < 256; ++byte) {
        survives[byte] = OemToAnsiMap()[AnsiToOemMap()[byte]] == byte;
    }
    return survives;
}

const std::array<bool, 256>& SurvivesTheField() {
    static const std::array<bool, 256> survives = MakeSurvivesTheField();
    return survives;
}

}  // namespace

void ReadCardText(std::span<const char> field, CardText& text) {
    // The first 64 bytes give the text; bytes beyond matter only as far as they keep blanks
    // before them from being the field's trailing blanks. A shorter field is padded with zeros,
    // which are masked off as lying outside it.
    // The bytes after the field's 64 stay zero: runs of them are copied sixteen at a time.
    std::array<char, kFieldBytes + kChunk> bytesRead;
    std::memset(bytesRead.data() + kFieldBytes, 0, kChunk);
    if (field.size() < kFieldBytes) {
        std::copy_n(field.data(), field.size(), bytesRead.data());
        std::fill(bytesRead.begin() + static_cast<std::ptrdiff_t>(field.size()),
                  bytesRead.begin() + kFieldBytes, '\0');
    } else {
        std::memcpy(bytesRead.data(), field.data(), kFieldBytes);
    }
    const TextBytes bytes = ClassifyTextBytes(bytesRead.data());
    const std::uint64_t inField = LowBits(std::min(field.size(), kFieldBytes));
    // The field without its trailing blanks ends after its last other byte (a zero included).
    const std::uint64_t others = ~bytes.blanks & inField;
    const bool moreBeyond = field.size() > kFieldBytes &&
                            std::any_of(field.begin() + static_cast<std::ptrdiff_t>(kFieldBytes),
                                        field.end(), [](char c) { return c != ' '; });
    const std::size_t trimmed =
        moreBeyond ? field.size()
                   : (others == 0 ? 0 : 64 - static_cast<std::size_t>(std::countl_zero(others)));
    // Then the text ends at its first zero byte, then it is cut to what a classic card holds.
    const std::uint64_t zeros = bytes.zeros & inField;
    const std::size_t zero =
        zeros == 0 ? kFieldBytes : static_cast<std::size_t>(std::countr_zero(zeros));
    const std::size_t length = std::min<std::size_t>(std::min(zero, trimmed), kClassicCharacters);
    if ((bytes.high & LowBits(length)) == 0) {
        text.AssignAscii(bytesRead.data(), length);
        return;
    }
    // The runs of ASCII between the marked bytes are copied as they are, each marked byte as
    // the UTF-8 of its character: a text holds a few such bytes, and a branch per byte would
    // cost more than the copies. Room for three bytes a character and a chunk's overrun.
    std::array<char, 3 * kClassicCharacters + kChunk> utf8;
    std::size_t size = 0;
    std::size_t from = 0;
    const Utf8OfOem& table = OemUtf8();
    for (std::uint64_t marks = bytes.high & LowBits(length); marks != 0; marks &= marks - 1) {
        const auto at = static_cast<std::size_t>(std::countr_zero(marks));
        CopyRun(utf8.data() + size, bytesRead.data() + from, at - from);
        size += at - from;
        const std::array<char, 4>& character =
            table[static_cast<unsigned char>(bytesRead[at]) - 0x80];
        std::memcpy(utf8.data() + size, character.data(), 4);
        size += static_cast<std::size_t>(character[3]);
        from = at + 1;
    }
    CopyRun(utf8.data() + size, bytesRead.data() + from, length - from);
    size += length - from;
    text.AssignValidUtf8(std::string_view(utf8.data(), size));
}

bool ReadUtf8CardText(std::span<const char> field, CardText& text, bool& cut) {
    // The trailing blanks, most of a wide field, go eight at a time; in the last word that has
    // another byte, the highest such byte ends the text.
    static_assert(std::endian::native == std::endian::little);
    std::size_t size = field.size();
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    bool found = false;
    while (size >= 8 && !found) {
        std::uint64_t word = 0;
        std::memcpy(&word, field.data() + size - 8, 8);
        const std::uint64_t others = word ^ kBlanks;
        found = others != 0;
        size -= found ? static_cast<std::size_t>(std::countl_zero(others)) / 8 : 8;
    }
    while (!found && size > 0 && field[size - 1] == ' ') {
        --size;
    }
    std::string_view bytes(field.data(), size);
    bytes = bytes.substr(0, bytes.find('\0'));
    cut = false;
    if (!unicode::IsValidUtf8(bytes)) {
        return false;
    }
    // A character as a person counts it is at least one code point: only a text of more code
    // points than a side holds characters is counted.
    if (bytes.size() > unicode::kMaxSideCharacters &&
        (bytes.size() > unicode::kMaxSideBytes ||
         unicode::CountCodePoints(bytes) > unicode::kMaxSideCharacters)) {
        const std::size_t fits = unicode::BytesThatFitASide(bytes);
        cut = fits < bytes.size();
        bytes = bytes.substr(0, fits);
    }
    text.AssignValidUtf8(bytes);
    return true;
}

bool WriteUtf8CardText(const CardText& text, std::span<char> field) {
    const std::string_view bytes = text.View();
    const std::size_t copied = std::min(bytes.size(), field.size());
    std::copy_n(bytes.data(), copied, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), ' ');
    return copied == bytes.size();
}

namespace {

// What `ClassicBytes` says of a text that does not fit the field. A number rather than an empty
// optional: the optional's flag, stored as a byte and read back with the number as a word,
// stalled the processor on every text of a save.
constexpr std::size_t kNoFit = ~std::size_t{0};

// The Windows-1252 bytes of a text, as a classic field holds them, in `out` (64 bytes and
// a chunk): their number, or `kNoFit` when a character does not fit the field. `high` marks the
// bytes of 0x80 and above. A text that lives in its own 64 bytes (almost all) is taken a run at
// a time: the runs of ASCII between its characters of two and three bytes are copied as they
// are.
std::size_t ClassicBytes(const CardText& text, char* out, std::uint64_t& high) {
    std::size_t length = 0;
    high = 0;
    const std::array<bool, 256>& survives = SurvivesTheField();
    const auto take = [&](std::optional<unsigned char> byte) {
        if (!byte || !survives[*byte] || length == kClassicCharacters) {
            return false;
        }
        high |= *byte >= 0x80U ? std::uint64_t{1} << length : 0;
        out[length++] = static_cast<char>(*byte);
        return true;
    };
    const char* bytes = text.InlineBytes();
    if (bytes == nullptr) {
        const std::string_view utf8 = text.View();
        for (std::size_t at = 0; at < utf8.size();) {
            if (!take(NextWindows1252Byte(utf8, at))) {
                return kNoFit;
            }
        }
        return length;
    }
    // The zero byte after the text gives its length, in the same look that finds its marks.
    const TextBytes kinds = ClassifyTextBytes(bytes);
    const auto size = static_cast<std::size_t>(std::countr_zero(kinds.zeros));
    std::uint64_t marks = kinds.high & LowBits(size);
    if (marks == 0) {
        // ASCII alone, almost every text of a classic box: the whole storage at once.
        std::memcpy(out, bytes, kFieldBytes);
        return size;
    }
    const std::string_view utf8(bytes, size);
    std::size_t from = 0;
    const auto copy = [&](std::size_t run) {
        if (length + run > kClassicCharacters) {
            return false;
        }
        // A chunk at a time where the chunks stay inside the text's 64 bytes (a call to copy a
        // few bytes would cost more than the copy); the end of a long text byte for byte.
        if (from + (run + kChunk - 1) / kChunk * kChunk <= kFieldBytes) {
            CopyRun(out + length, bytes + from, run);
        } else {
            std::memcpy(out + length, bytes + from, run);
        }
        length += run;
        return true;
    };
    while (marks != 0) {
        const auto at = static_cast<std::size_t>(std::countr_zero(marks));
        if (!copy(at - from)) {
            return kNoFit;
        }
        // The letters of Western European languages, U+00A0 to U+00FF, are two bytes of UTF-8
        // and the same number in Windows-1252: they are worked out here, the rest looked up.
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const auto codePoint = static_cast<unsigned>(
            ((lead & 0x1FU) << 6U) | (static_cast<unsigned char>(bytes[at + 1]) & 0x3FU));
        std::size_t next = at;
        if ((lead == 0xC2U || lead == 0xC3U) && codePoint >= 0xA0U) {
            if (length == kClassicCharacters) {
                return kNoFit;
            }
            high |= std::uint64_t{1} << length;
            out[length++] = static_cast<char>(codePoint);
            next = at + 2;
        } else if (!take(NextWindows1252Byte(utf8, next))) {
            return kNoFit;
        }
        marks &= ~LowBits(next);
        from = next;
    }
    if (!copy(size - from)) {
        return kNoFit;
    }
    return length;
}

}  // namespace

bool FitsClassicField(const CardText& text) {
    std::array<char, kFieldBytes + kChunk> bytes;
    std::uint64_t high = 0;
    return ClassicBytes(text, bytes.data(), high) != kNoFit;
}

std::string_view ClassicTextBytes(const CardText& text, std::array<char, 80>& buffer) {
    std::uint64_t high = 0;
    const std::size_t length = ClassicBytes(text, buffer.data(), high);
    return {buffer.data(), length == kNoFit ? 0 : length};
}

bool WriteCardText(const CardText& text, std::span<char> field) {
    // The Windows-1252 bytes, then blanks, those of 0x80 and above in code page 850.
    std::array<char, kFieldBytes + kChunk> converted;
    std::uint64_t high = 0;
    const std::size_t convertedLength = ClassicBytes(text, converted.data(), high);
    const bool fits = convertedLength != kNoFit;
    const std::size_t length = fits ? convertedLength : 0;
    std::memset(converted.data() + length, ' ', kFieldBytes - length);
    const std::array<unsigned char, 256>& toOem = AnsiToOemMap();
    for (std::uint64_t marks = fits ? high : 0; marks != 0; marks &= marks - 1) {
        char& byte = converted[static_cast<std::size_t>(std::countr_zero(marks))];
        byte = static_cast<char>(toOem[static_cast<unsigned char>(byte)]);
    }
    if (field.size() == kFieldBytes) {
        // Every field of a file this program wrote: a copy of a known size, without a call.
        std::memcpy(field.data(), converted.data(), kFieldBytes);
        return fits;
    }
    const std::size_t copied = std::min(field.size(), kFieldBytes);
    std::copy_n(converted.data(), copied, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), ' ');
    return fits;
}

}  // namespace tallyfold
