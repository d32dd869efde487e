#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/text_import.h"
#include "files/replacement_file.h"
#include "table/block_writer.h"
#include "table/file_io.h"

namespace tallyfold {

namespace {

void Append(std::vector<char>& block, std::string_view text) {
    block.insert(block.end(), text.begin(), text.end());
}

}  // namespace

bool ExportText(const FilePath& path, const tCardBox& box) {
    ReplacementFile replacement(path);
    if (!replacement.Reserve()) {
        return false;
    }
    File file;
    if (!file.Create(replacement.TempPath())) {
        return false;
    }
    constexpr std::size_t kBlock = 1024 * 1024;
    constexpr std::size_t kLongestLine = 2 * kMaxCardText + 3;
    std::vector<char> block;
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
            Append(block, card.Question());
            block.push_back(';');
            Append(block, card.Answer());
            Append(block, "\r\n");
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
