#include "bench/report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tallyfold::bench {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void PrintTable(std::string_view title, const std::vector<int>& sizes,
                const std::vector<Row>& rows) {
    std::printf("\n| %.*s |", static_cast<int>(title.size()), title.data());
    for (const int size : sizes) {
        std::printf(" %d |", size);
    }
    std::printf("\n| --- |");
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        std::printf(" ---: |");
    }
    std::printf("\n");
    for (const Row& row : rows) {
        std::printf("| %s |", row.name.c_str());
        for (const int size : sizes) {
            auto found = row.milliseconds.find(size);
            if (found == row.milliseconds.end()) {
                std::printf(" - |");
            } else {
                std::printf(" %.2f |", found->second);
            }
        }
        std::printf("\n");
    }
}

std::vector<int> ParseSizes(const std::string& list) {
    std::vector<int> sizes;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t comma = list.find(',', start);
        sizes.push_back(std::atoi(list.substr(start, comma - start).c_str()));
        start = comma == std::string::npos ? list.size() : comma + 1;
    }
    return sizes;
}

Options ParseOptions(int argc, const char* const* argv, int repeats, std::string_view folderName) {
    Options options;
    options.repeats = repeats;
    options.folder = (std::filesystem::temp_directory_path() / folderName).string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--sizes") {
            options.sizes = ParseSizes(argv[i + 1]);
        } else if (option == "--repeats") {
            options.repeats = std::max(1, std::atoi(argv[i + 1]));
        } else if (option == "--folder") {
            options.folder = argv[i + 1];
        } else if (option == "--only") {
            options.only = argv[i + 1];
        }
    }
    return options;
}

}  // namespace tallyfold::bench
