#include "document/import_layout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "text/utf8.h"

namespace tallyfold {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// Anki's names of the separators a "#separator:" line gives, and the character itself.
std::optional<char> SeparatorNamed(std::string_view value) {
    const std::string name = Lower(value);
    if (name == "tab" || value == "\t") {
        return '\t';
    }
    if (name == "comma" || value == ",") {
        return ',';
    }
    if (name == "semicolon" || value == ";") {
        return ';';
    }
    return std::nullopt;
}

// The column names trainers and spreadsheets put on their first line.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kColumnNames = {{
    {"front", "back"},
    {"question", "answer"},
    {"term", "definition"},
    {"word", "translation"},
    {"frage", "antwort"},
    {"vorderseite",
     "r\xC3\xBC"
     "ckseite"},
}};

bool NamesColumns(std::string_view line, char separator) {
    const std::size_t at = line.find(separator);
    if (at == std::string_view::npos) {
        return false;
    }
    std::string_view rest = line.substr(at + 1);
    rest = rest.substr(0, rest.find(separator));
    const std::string first = Lower(Trimmed(line.substr(0, at)));
    const std::string second = Lower(Trimmed(rest));
    return std::any_of(kColumnNames.begin(), kColumnNames.end(), [&](const auto& names) {
        return first == names.first && second == names.second;
    });
}

}  // namespace

ImportLayout ReadImportLayout(std::span<const std::string> firstLines, ImportFormat format) {
    ImportLayout layout;
    layout.format = format;
    std::vector<int> otherColumns;
    std::size_t line = 0;
    for (; line < firstLines.size(); ++line) {
        const std::string_view text = firstLines[line];
        const std::size_t colon = text.find(':');
        if (!text.starts_with('#') || colon == std::string_view::npos) {
            break;
        }
        const std::string key = Lower(Trimmed(text.substr(1, colon - 1)));
        // A header's key is a word or two ("separator", "deck column"); a card line of the
        // program's own such as "#1: one;eins" is no header.
        if (key.empty() || !std::all_of(key.begin(), key.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || c == ' ';
            })) {
            break;
        }
        const std::string_view value = Trimmed(text.substr(colon + 1));
        if (key == "separator") {
            if (const std::optional<char> separator = SeparatorNamed(value)) {
                layout.format = *separator == '\t' ? ImportFormat::TabSeparated : ImportFormat::Csv;
                layout.separator = *separator == '\t' ? '\0' : *separator;
                layout.quoted = true;
            }
        } else if (key == "html") {
            layout.fields.html = Lower(value) == "true";
        } else if (key.ends_with(" column")) {
            int column = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), column);
            if (error == std::errc() && column >= 1) {
                otherColumns.push_back(column - 1);
            }
        }
        ++layout.headerLines;
    }
    // Lines read as card lines that are tab-separated: every one holds a tab, not every one
    // the ";" a card line needs.
    if (layout.format == ImportFormat::CardLines) {
        bool tabs = false;
        bool everyTab = true;
        bool everySemicolon = true;
        for (std::size_t next = line; next < firstLines.size(); ++next) {
            const std::string_view text = firstLines[next];
            if (text.empty()) {
                continue;
            }
            tabs = true;
            everyTab = everyTab && text.find('\t') != std::string_view::npos;
            everySemicolon = everySemicolon && text.find(';') != std::string_view::npos;
        }
        if (tabs && everyTab && !everySemicolon) {
            layout.format = ImportFormat::TabSeparated;
            layout.tabsFound = true;
        }
    }
    layout.quoted = layout.quoted || layout.format == ImportFormat::Csv;
    const char separator = layout.format == ImportFormat::TabSeparated ? '\t'
                           : layout.separator != '\0'                  ? layout.separator
                           : line < firstLines.size() ? CsvSeparatorOf(firstLines[line])
                                                      : ',';
    if (layout.format != ImportFormat::CardLines && line < firstLines.size() &&
        NamesColumns(firstLines[line], separator)) {
        ++layout.headerLines;
    }
    // The sides are the first two columns that hold nothing else.
    int column = 0;
    for (int* side : {&layout.fields.question, &layout.fields.answer}) {
        while (std::find(otherColumns.begin(), otherColumns.end(), column) != otherColumns.end()) {
            ++column;
        }
        *side = column++;
    }
    return layout;
}

namespace {

struct NamedReference {
    std::string_view name;
    char32_t character;
};

// The names of the Latin-1 characters U+00A0 to U+00FF, in their order: the references
// trainers write for the letters of Western European languages ("&uuml;").
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

constexpr std::array<NamedReference, 5> kNamedReferences = {{
    {"amp", U'&'},
    {"lt", U'<'},
    {"gt", U'>'},
    {"quot", U'"'},
    {"apos", U'\''},
}};

// The character of the reference after '&' at `text` (up to its ';'), and its length; nothing
// for a text that is no reference, which then stands as it is.
std::optional<std::pair<char32_t, std::size_t>> Reference(std::string_view text) {
    const std::size_t end = text.find(';');
    if (end == std::string_view::npos || end > 10) {
        return std::nullopt;
    }
    const std::string_view body = text.substr(0, end);
    if (body.starts_with('#')) {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        const std::string_view digits = body.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [stop, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || stop != digits.data() + digits.size() ||
            code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return std::nullopt;
        }
        return std::pair{static_cast<char32_t>(code), end + 1};
    }
    for (const NamedReference& reference : kNamedReferences) {
        if (body == reference.name) {
            return std::pair{reference.character, end + 1};
        }
    }
    // A non-breaking space is a blank in a card, a soft hyphen nothing.
    if (body == "nbsp") {
        return std::pair{U' ', end + 1};
    }
    if (body == "shy") {
        return std::pair{char32_t{0}, end + 1};
    }
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
        if (body == kLatin1Names[i]) {
            return std::pair{static_cast<char32_t>(0xA0 + i), end + 1};
        }
    }
    return std::nullopt;
}

bool BreaksLine(std::string_view tag) {
    const std::string name = Lower(tag.substr(0, tag.find_first_of(" />")));
    return name == "br" || name == "div" || name == "/div" || name == "p" || name == "/p" ||
           name == "li";
}

}  // namespace

std::string TextOfHtml(std::string_view html) {
    std::string text;
    text.reserve(html.size());
    for (std::size_t at = 0; at < html.size();) {
        const char c = html[at];
        if (c == '<') {
            const std::size_t end = html.find('>', at);
            if (end == std::string_view::npos) {
                text.append(html.substr(at));
                break;
            }
            if (BreaksLine(html.substr(at + 1, end - at - 1)) && !text.empty() &&
                text.back() != ' ') {
                text.push_back(' ');
            }
            at = end + 1;
        } else if (c == '&') {
            if (const auto reference = Reference(html.substr(at + 1))) {
                if (reference->first != 0) {
                    unicode::AppendUtf8(text, reference->first);
                }
                at += 1 + reference->second;
            } else {
                text.push_back(c);
                ++at;
            }
        } else {
            text.push_back(c);
            ++at;
        }
    }
    return text;
}

}  // namespace tallyfold
