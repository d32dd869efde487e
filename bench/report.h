#pragma once

// What the benchmark programs share: medians, the tables they print, their size lists.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tallyfold::bench {

/// The median of `values`, or -1 for none.
double Median(std::vector<double> values);

/// One row of a table: a figure's medians by box size.
struct Row {
    std::string name;
    std::map<int, double> milliseconds;
};

/// Prints `rows` as a Markdown table headed by `title` and the box sizes; a size a row lacks
/// shows as "-".
void PrintTable(std::string_view title, const std::vector<int>& sizes,
                const std::vector<Row>& rows);

/// "10000,100000" as numbers.
std::vector<int> ParseSizes(const std::string& list);

/// The options of both benchmark programs: `--sizes 10000,100000`, `--repeats N` (at least
/// 1), `--folder PATH` for the generated files, `--only "name,name"`.
struct Options {
    std::vector<int> sizes = {10000, 100000, 1000000};
    int repeats = 0;
    std::string folder;
    std::string only;
};
/// The options given after the program's name; `repeats` and a folder named `folderName` in
/// the temporary folder where they are not given.
Options ParseOptions(int argc, const char* const* argv, int repeats, std::string_view folderName);

}  // namespace tallyfold::bench
