// Import files with lines of any length, up to megabytes without a line feed: the input is a
// short description that expands into the file (a byte 0xFF repeats the byte before it
// 4,096 times the next byte's value). The file read from disk in pieces must give exactly the
// lines its whole content gives; no line is held beyond the limit, and every line is counted.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "document/text_import.h"
#include "fuzz/fuzz_files.h"

namespace {

constexpr std::size_t kLargest = 3 << 20;

std::string Expand(const std::uint8_t* data, std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size && bytes.size() < kLargest; ++i) {
        if (data[i] == 0xFF && i + 1 < size && !bytes.empty()) {
            const std::size_t times =
                std::min<std::size_t>(std::size_t{data[++i]} * 4096, kLargest - bytes.size());
            bytes.append(times, bytes.back());
        } else {
            bytes += static_cast<char>(data[i]);
        }
    }
    return bytes;
}

struct Line {
    std::string text;
    int problem;
    bool tooLong;
    friend bool operator==(const Line&, const Line&) = default;
};

std::vector<Line> Lines(tallyfold::ImportFile& file) {
    std::vector<Line> lines;
    std::string line;
    int problem = tallyfold::kImportAccepted;
    while (file.NextLine(line, problem)) {
        // The limits count the file's bytes; a byte of Windows-1252 is at most three of UTF-8.
        if (line.size() > 3 * tallyfold::ImportFile::kLineLimit ||
            (file.LineTooLong() && line.size() > 3 * tallyfold::ImportFile::kLineKept)) {
            std::abort();
        }
        lines.push_back({line, problem, file.LineTooLong()});
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    const std::string content = Expand(data, size);
    const FilePath path = fuzz::WriteScratch(
        "lines.txt", reinterpret_cast<const unsigned char*>(content.data()), content.size());
    ImportFile fromDisk;
    if (!fromDisk.Open(path)) {
        std::abort();
    }
    ImportFile inMemory;
    inMemory.Assign(content);
    const std::vector<Line> read = Lines(fromDisk);
    if (read.size() != fromDisk.LineCount() || fromDisk.IsUtf8() != inMemory.IsUtf8() ||
        fromDisk.IsText() != inMemory.IsText() || read != Lines(inMemory)) {
        std::abort();
    }
    fuzz::ClearScratch({"lines.txt"});
    return 0;
}
