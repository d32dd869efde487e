#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/text_import.h"
#include "files/card_field_text.h"
#include "files/replacement_file.h"
#include "files/vok_file.h"
#include "table/block_writer.h"
#include "table/file_io.h"
#include "table/windows1252.h"

namespace tallyfold {

namespace {

void Append(std::vector<char>& block, std::string_view text) {
    block.insert(block.end(), text.begin(), text.end());
}

// A card text as a field of a tab-separated file. Such a file has no way to hold a tab inside
// a field: a tab in a text is written as a blank.
void AppendTabField(std::vector<char>& block, std::string_view utf8) {
    const std::size_t start = block.size();
    Append(block, utf8);
    std::replace(block.begin() + static_cast<std::ptrdiff_t>(start), block.end(), '\t', ' ');
}

// A card text as a CSV field: in quotes, with its quotes doubled, where it holds a separator,
// a quote or blanks at its ends. A tab, which no imported text may hold, is written as a blank.
void AppendCsvField(std::vector<char>& block, std::string_view utf8) {
    const bool quoted = utf8.find_first_of(",;\"") != std::string::npos ||
                        (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quoted) {
        AppendTabField(block, utf8);
        return;
    }
    block.push_back('"');
    for (const char c : utf8) {
        if (c == '"') {
            block.push_back('"');
        }
        block.push_back(c == '\t' ? ' ' : c);
    }
    block.push_back('"');
}

// A text of a box that fits the classic file, in the Windows-1252 of the classic text file.
void AppendWindows1252(std::vector<char>& block, const CardText& text) {
    std::array<char, 80> buffer;
    Append(block, ClassicTextBytes(text, buffer));
}

void AppendLine(std::vector<char>& block, const tVokabel& card, ImportFormat format,
                bool windows1252) {
    switch (format) {
        case ImportFormat::CardLines:
            if (windows1252) {
                AppendWindows1252(block, card.question);
                block.push_back(';');
                AppendWindows1252(block, card.answer);
            } else {
                Append(block, card.Question());
                block.push_back(';');
                Append(block, card.Answer());
            }
            break;
        case ImportFormat::TabSeparated:
            AppendTabField(block, card.Question());
            block.push_back('\t');
            AppendTabField(block, card.Answer());
            break;
        case ImportFormat::Csv:
            AppendCsvField(block, card.Question());
            block.push_back(',');
            AppendCsvField(block, card.Answer());
            break;
    }
    Append(block, "\r\n");
}

}  // namespace

bool ExportText(const FilePath& path, const tCardBox& box, ImportFormat format) {
    ReplacementFile replacement(path);
    if (!replacement.Reserve()) {
        return false;
    }
    File file;
    if (!file.Create(replacement.TempPath())) {
        return false;
    }
    constexpr std::size_t kBlock = 1024 * 1024;
    // Two texts quoted with every byte a doubled quote, a separator and a line end: no line
    // is longer.
    constexpr std::size_t kLongestLine = 2 * (2 * CardText::kMaxBytes + 2) + 3;
    // The text file of a box that the classic vocabulary file holds is the classic one, in
    // Windows-1252; that of any other box is UTF-8, which the byte-order mark declares.
    const bool windows1252 = format == ImportFormat::CardLines && FitsClassicFile(box);
    std::vector<char> block;
    // Spreadsheets read a CSV file without a byte-order mark in the local code page.
    if (format == ImportFormat::Csv || (format == ImportFormat::CardLines && !windows1252)) {
        block.assign({'\xEF', '\xBB', '\xBF'});
    }
    std::uint64_t offset = 0;
    bool written = true;
    {
        // Full blocks are written while the next ones fill, where a thread can be had; a
        // small box never fills one.
        std::unique_ptr<BlockWriter> writer;
        bool writerTried = false;
        box.ForEachCard([&](const tVokabel& card, int) {
            if (block.capacity() == 0) {
                block.reserve(kBlock + kLongestLine);
            }
            AppendLine(block, card, format, windows1252);
            if (block.size() >= kBlock) {
                const std::uint64_t size = block.size();
                if (!std::exchange(writerTried, true)) {
                    writer = BlockWriter::Start(file);
                }
                if (writer) {
                    written = writer->Submit(offset, block);
                } else {
                    written = file.WriteAt(offset, block);
                    block.clear();
                }
                offset += size;
            }
            return written;
        });
        written = (!writer || writer->Wait()) && written;
    }
    written = written && file.WriteAt(offset, block) && file.Sync();
    written = file.Close() && written;
    return written && replacement.Commit();
}

}  // namespace tallyfold
