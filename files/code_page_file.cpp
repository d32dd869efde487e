#include "files/code_page_file.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "files/replacement_file.h"
#include "table/file_io.h"

namespace tallyfold {

namespace {

constexpr std::string_view kUtf8 = "UTF-8";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

FilePath CodePageFileName(const FilePath& vokPath) {
    return vokPath.WithExtension(".cpg");
}

std::optional<std::string> ReadCodePage(const FilePath& vokPath) {
    const FilePath path = CodePageFileName(vokPath);
    if (path == vokPath || !IsRegularFile(path)) {
        return std::nullopt;
    }
    File file;
    if (!file.OpenExisting(path)) {
        return std::nullopt;
    }
    std::array<char, 64> bytes{};
    const std::int64_t got = file.ReadAt(0, bytes);
    if (got < 0) {
        return std::nullopt;
    }
    std::string_view text(bytes.data(), static_cast<std::size_t>(got));
    // A byte-order mark before the name is no part of it.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    text = text.substr(0, text.find_first_of("\r\n"));
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

bool NamesUtf8(std::string_view codePage) {
    std::string upper(codePage);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return upper == "UTF-8" || upper == "UTF8";
}

bool WriteUtf8CodePage(const FilePath& vokPath) {
    const FilePath path = CodePageFileName(vokPath);
    if (path == vokPath) {
        return false;
    }
    return ReplaceFileWith(path, kUtf8);
}

void RemoveUtf8CodePage(const FilePath& vokPath) {
    const FilePath path = CodePageFileName(vokPath);
    if (path == vokPath) {
        return;
    }
    if (const std::optional<std::string> codePage = ReadCodePage(vokPath);
        codePage && NamesUtf8(*codePage)) {
        RemoveFile(path);
    }
}

}  // namespace tallyfold
