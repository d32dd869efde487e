#include <string>

#include "app/text_import.h"
#include "files/replacement_file.h"
#include "table/file_io.h"

namespace tallyfold {

bool ExportText(const std::string& path, tCardBox& box) {
    ReplacementFile replacement(path);
    if (!replacement.Reserve()) {
        return false;
    }
    File file;
    if (!file.Create(replacement.TempPath())) {
        return false;
    }
    constexpr std::size_t kBlock = 64 * 1024;
    std::string block;
    block.reserve(kBlock + 2 * kMaxCardText + 3);
    std::uint64_t offset = 0;
    bool written = true;
    tVokabel card;
    for (int number = box.FirstCard(card); number != 0 && written; number = box.NextCard(card)) {
        block.append(card.Question());
        block.push_back(';');
        block.append(card.Answer());
        block.append("\r\n");
        if (block.size() >= kBlock) {
            written = file.WriteAt(offset, block);
            offset += block.size();
            block.clear();
        }
    }
    written = written && file.WriteAt(offset, block) && file.Sync();
    written = file.Close() && written;
    return written && replacement.Commit();
}

}  // namespace tallyfold
