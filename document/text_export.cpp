#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/text_import.h"
#include "files/replacement_file.h"
#include "table/block_writer.h"
#include "table/file_io.h"
#include "table/windows1252.h"

namespace tallyfold {

namespace {

void Append(std::vector<char>& block, std::string_view text) {
    block.insert(block.end(), text.begin(), text.end());
}

// A card text as a CSV field: in quotes, with its quotes doubled, where it holds a separator,
// a quote or blanks at its ends; in UTF-8.
void AppendCsvField(std::vector<char>& block, std::string_view text) {
    const std::string utf8 = Windows1252ToUtf8(text);
    const bool quoted = utf8.find_first_of(",;\"") != std::string::npos ||
                        (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quoted) {
        Append(block, utf8);
        return;
    }
    block.push_back('"');
    for (const char c : utf8) {
        if (c == '"') {
            block.push_back('"');
        }
        block.push_back(c);
    }
    block.push_back('"');
}

// A card text as a field of a tab-separated file, in UTF-8. Such a file has no way to hold a
// tab inside a field: a tab in a text is written as a blank.
void AppendTabField(std::vector<char>& block, std::string_view text) {
    std::string utf8 = Windows1252ToUtf8(text);
    std::replace(utf8.begin(), utf8.end(), '\t', ' ');
    Append(block, utf8);
}

void AppendLine(std::vector<char>& block, const tVokabel& card, ImportFormat format) {
    switch (format) {
        case ImportFormat::CardLines:
            Append(block, card.Question());
            block.push_back(';');
            Append(block, card.Answer());
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
    // Quoted, doubled quotes, three bytes of UTF-8 a character: no line is longer.
    constexpr std::size_t kLongestLine = 2 * (6 * kMaxCardText + 2) + 3;
    std::vector<char> block;
    // Spreadsheets read a CSV file without a byte-order mark in the local code page.
    if (format == ImportFormat::Csv) {
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
            AppendLine(block, card, format);
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
