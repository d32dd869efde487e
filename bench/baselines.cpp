#include "bench/baselines.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

#if TALLYFOLD_HAVE_SHAPELIB
#include <shapefil.h>
#endif

namespace tallyfold::bench {

namespace {
constexpr std::size_t kBlock = 64 * 1024;
}

bool HaveShapelib() {
    return TALLYFOLD_HAVE_SHAPELIB != 0;
}

#if TALLYFOLD_HAVE_SHAPELIB
long ShapelibRead(const std::string& path) {
    DBFHandle table = DBFOpen(path.c_str(), "rb");
    if (table == nullptr) {
        return -1;
    }
    const int records = DBFGetRecordCount(table);
    const int fields = DBFGetFieldCount(table);
    long checksum = 0;
    for (int record = 0; record < records; ++record) {
        for (int field = 0; field < fields; ++field) {
            char name[12];
            int width = 0;
            int decimals = 0;
            if (DBFGetFieldInfo(table, field, name, &width, &decimals) == FTString) {
                checksum += DBFReadStringAttribute(table, record, field)[0];
            } else {
                checksum += DBFReadIntegerAttribute(table, record, field);
            }
        }
    }
    DBFClose(table);
    return checksum == -1 ? 0 : records;
}

bool ShapelibWrite(const std::string& path, tCardBox& box) {
    DBFHandle table = DBFCreate(path.c_str());
    if (table == nullptr) {
        return false;
    }
    DBFAddField(table, "DEUTSCH", FTString, 64, 0);
    DBFAddField(table, "UEBERSETZT", FTString, 64, 0);
    DBFAddField(table, "KASTEN", FTString, 1, 0);
    DBFAddField(table, "ALTER", FTInteger, 4, 0);
    DBFAddField(table, "GEWUSST", FTInteger, 5, 0);
    DBFAddField(table, "UNBEKANNT", FTInteger, 5, 0);
    tVokabel card;
    int record = 0;
    for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card), ++record) {
        const char letter[2] = {number == 7   ? 'Z'
                                : number == 8 ? 'X'
                                              : static_cast<char>('A' + number - 1),
                                0};
        DBFWriteStringAttribute(table, record, 0, std::string(card.Question()).c_str());
        DBFWriteStringAttribute(table, record, 1, std::string(card.Answer()).c_str());
        DBFWriteStringAttribute(table, record, 2, letter);
        DBFWriteIntegerAttribute(table, record, 3, record % 9999 + 1);
        DBFWriteIntegerAttribute(table, record, 4, card.knownCount);
        DBFWriteIntegerAttribute(table, record, 5, card.unknownCount);
    }
    DBFClose(table);
    return true;
}
#else
long ShapelibRead(const std::string&) {
    return -1;
}
bool ShapelibWrite(const std::string&, tCardBox&) {
    return false;
}
#endif

std::uint64_t BlockRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return 0;
    }
    std::vector<char> block(kBlock);
    std::uint64_t total = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, block.data(), block.size())) > 0) {
        total += static_cast<std::uint64_t>(got);
    }
    ::close(fd);
    return total;
}

bool BlockWrite(const std::string& path, std::uint64_t bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    std::vector<char> block(kBlock, ' ');
    bool written = true;
    for (std::uint64_t done = 0; done < bytes && written;) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, bytes - done));
        written = ::write(fd, block.data(), size) == static_cast<ssize_t>(size);
        done += size;
    }
    written = ::fsync(fd) == 0 && written;
    return ::close(fd) == 0 && written;
}

}  // namespace tallyfold::bench
