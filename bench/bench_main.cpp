// Tallyfold's benchmarks: loads, saves, imports, exports and the box's bulk operations on
// boxes of 10,000, 100,000 and 1,000,000 cards, against shapelib and plain block I/O on the
// same files. Prints one table of medians and the ratios the program is held to.
//   tallyfold_bench [--sizes 10000,100000,1000000] [--repeats N] [--folder DIR]
//                   [--only "LoadVokFile,SaveVokFile"]   (those operations alone)
//   tallyfold_bench memory <file.vok>     (resident bytes per card after a load)
//   tallyfold_bench generate <cards> <file.vok>
//   tallyfold_bench load|save <file.vok> <times>, import <lines> <times>   (for a profiler)

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/tallyfold_app.h"
#include "bench/baselines.h"
#include "bench/bench_data.h"
#include "bench/history_bench.h"
#include "bench/report.h"
#include "box/card_box.h"
#include "document/box_statistics.h"
#include "document/card_finder.h"
#include "document/day_history.h"
#include "document/document.h"
#include "document/journal_ops.h"
#include "document/text_import.h"
#include "files/vok_file.h"
#include "platform/headless/headless_backend.h"
#include "resources/resource_ids.h"

namespace tallyfold::bench {
namespace {

using Clock = std::chrono::steady_clock;

/// Runs `setup` (not timed), then `body`; the time `body` took, in milliseconds.
double Time(const std::function<void()>& setup, const std::function<void()>& body) {
    setup();
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The day the benchmark counts on, and a history of daily learning for the year before it.
constexpr DayNumber kLastDay = 20798;

DayHistory YearOfDays() {
    DayHistory days;
    for (DayNumber day = kLastDay - 365; day < kLastDay; ++day) {
        days.Add({day, {30, 8, 10, 1}});
    }
    return days;
}

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

int MemoryMain(const std::string& path) {
    const long before = ResidentBytes();
    auto box = std::make_unique<tCardBox>();
    const LoadResult result = LoadVokFile(FilePath(path), *box);
    const long after = ResidentBytes();
    if (!result.opened || result.loaded == 0) {
        return 1;
    }
    std::printf("%.1f\n", static_cast<double>(after - before) / result.loaded);
    return 0;
}

double MemoryPerCard(const char* self, const std::string& path) {
    const std::string command = std::string(self) + " memory " + path;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    double perCard = -1;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%lf", &perCard) != 1) {
            perCard = -1;
        }
        ::pclose(pipe);
    }
    return perCard;
}

/// Imports `path` through the main window on an empty box, the message boxes answered; the
/// summary it ends with asks nothing.
void ImportThroughTheWindow(const std::string& path, int messages) {
    platform::headless::HeadlessBackend backend;
    backend.AcknowledgeReports(true);
    tCardBox box;
    Document document(box);
    TMyApp app(backend, document, FilePath());
    app.Start();
    backend.AnswerFileDialog(FilePath(path));
    for (int i = 0; i < messages; ++i) {
        backend.AnswerMessageBox(platform::DialogResult::Ok);
    }
    backend.MainWindow()->ChooseMenu(ids::kCmFileImport);
}

/// One operation repeated, for a profiler: loads the file `times` times into a new box, or
/// loads it once and saves it `times` times beside itself (as "<file>.saved"), or imports a text
/// file of `argument` lines `times` times; prints the median time of one.
int RepeatMain(const std::string& what, const std::string& argument, int times) {
    std::vector<double> ms;
    if (what == "import") {
        const std::string text =
            (std::filesystem::temp_directory_path() / "tallyfold-bench-lines.txt").string();
        const int broken = WriteTextFile(text, std::atoi(argument.c_str()));
        for (int i = 0; i < std::max(1, times); ++i) {
            ms.push_back(Time([] {}, [&] { ImportThroughTheWindow(text, broken); }));
        }
        std::filesystem::remove(text);
    } else {
        auto box = std::make_unique<tCardBox>();
        if (!LoadVokFile(FilePath(argument), *box).opened) {
            return 1;
        }
        for (int i = 0; i < std::max(1, times); ++i) {
            if (what == "load") {
                ms.push_back(
                    Time([&] { box = std::make_unique<tCardBox>(); },
                         [&] { static_cast<void>(LoadVokFile(FilePath(argument), *box)); }));
            } else {
                ms.push_back(Time(
                    [] {},
                    [&] { static_cast<void>(SaveVokFile(FilePath(argument + ".saved"), *box)); }));
            }
        }
        // The box file of "x.vok.saved" is "x.vok.kas".
        std::filesystem::remove(argument + ".saved");
        std::filesystem::remove(argument + ".kas");
    }
    std::printf("%s: %.2f ms\n", what.c_str(), Median(ms));
    return 0;
}

struct Operation {
    std::string name;
    std::function<void()> setup;  ///< not timed
    std::function<void()> body;   ///< timed
};

int Run(const char* self, const std::vector<int>& sizes, int repeats, const std::string& folder,
        const std::string& only) {
    std::filesystem::create_directories(folder);
    std::map<std::string, Row> rows;
    std::vector<std::string> order;
    auto record = [&](const std::string& name, int size, double ms) {
        if (rows.find(name) == rows.end()) {
            order.push_back(name);
            rows[name].name = name;
        }
        rows[name].milliseconds[size] = ms;
        std::fprintf(stderr, "  %-34s %9d cards: %10.2f ms\n", name.c_str(), size, ms);
    };
    std::map<int, double> perCard;
    std::map<int, double> perUnicodeCard;
    // What the history keeps for one undo of Mix all and of an import, in bytes.
    std::map<int, double> mixBytes;
    std::map<int, double> importBytes;

    for (const int size : sizes) {
        const std::string vok = folder + "/box-" + std::to_string(size) + ".vok";
        const std::string text = folder + "/lines-" + std::to_string(size) + ".txt";
        std::fprintf(stderr, "%d cards\n", size);
        auto source = std::make_unique<tCardBox>();
        FillBox(*source, size);
        if (!SaveVokFile(FilePath(vok), *source)) {
            std::fprintf(stderr, "cannot write %s\n", vok.c_str());
            return 1;
        }
        // The box the operations work on is loaded from the file, as the program holds a box:
        // each partition's cards together in memory, in their order.
        source = std::make_unique<tCardBox>();
        static_cast<void>(LoadVokFile(FilePath(vok), *source));
        // The same number of Russian and Japanese cards, in a Unicode vocabulary file.
        const std::string unicodeVok = folder + "/unicode-" + std::to_string(size) + ".vok";
        {
            tCardBox unicode;
            FillUnicodeBox(unicode, size);
            if (!SaveVokFile(FilePath(unicodeVok), unicode)) {
                std::fprintf(stderr, "cannot write %s\n", unicodeVok.c_str());
                return 1;
            }
        }
        const int broken = WriteTextFile(text, size);
        const auto bytes = static_cast<std::uint64_t>(std::filesystem::file_size(vok));
        // shapelib opens only names ending in .dbf: the same bytes under that name.
        const std::string dbf = folder + "/box-" + std::to_string(size) + ".dbf";
        std::filesystem::copy_file(vok, dbf, std::filesystem::copy_options::overwrite_existing);

        // Every round runs each operation once, so a slow phase of the machine falls on all of
        // them alike and the ratios stay fair; the table shows the medians of the rounds.
        std::unique_ptr<tCardBox> loaded;
        std::unique_ptr<tCardBox> mixed;
        std::unique_ptr<tCardBox> sparse;
        std::unique_ptr<tCardBox> full;
        std::unique_ptr<History> history;
        std::unique_ptr<CardFinder> finder;
        DayHistory yearOfDays;
        std::size_t journalBytes = 0;
        std::size_t statistics = 0;
        const std::string journals = folder + "/journals";
        std::filesystem::create_directories(journals);
        std::vector<Operation> operations = {
            {"LoadVokFile", [&] { loaded = std::make_unique<tCardBox>(); },
             [&] { static_cast<void>(LoadVokFile(FilePath(vok), *loaded)); }},
            {"SaveVokFile", [] {},
             [&] { static_cast<void>(SaveVokFile(FilePath(folder + "/saved.vok"), *source)); }},
            {"block read, 64 KiB", [] {}, [&] { BlockRead(vok); }},
            {"LoadVokFile, Russian and Japanese", [&] { loaded = std::make_unique<tCardBox>(); },
             [&] { static_cast<void>(LoadVokFile(FilePath(unicodeVok), *loaded)); }},
            {"block read of it, 64 KiB", [] {}, [&] { BlockRead(unicodeVok); }},
            {"block write, 64 KiB, fsync", [] {},
             [&] { BlockWrite(folder + "/block.bin", bytes); }},
            {"ImportText (through the window)", [] {},
             [&] { ImportThroughTheWindow(text, broken); }},
            {"ExportText", [] {},
             [&] { static_cast<void>(ExportText(FilePath(folder + "/export.txt"), *source)); }},
            // Mix as after opening a file (the cards lie in memory in their order), and once
            // more on the mixed box, where every step of a walk lands somewhere else in memory.
            {"Mix(0)",
             [&] {
                 mixed = std::make_unique<tCardBox>();
                 static_cast<void>(LoadVokFile(FilePath(vok), *mixed));
             },
             [&] { mixed->Mix(0); }},
            {"Mix(0) of a mixed box", [] {},
             [&] {
                 if (mixed) {
                     mixed->Mix(0);
                 }
             }},
            {"Compact",
             [&] {
                 sparse = std::make_unique<tCardBox>();
                 FillSparseBox(*sparse, size);
             },
             [&] { sparse->Compact(); }},
            {"AllToInput",
             [&] {
                 full = std::make_unique<tCardBox>();
                 FillBox(*full, size);
             },
             [&] { full->AllToInput(); }},
            // The history: a verdict undone and redone 1000 times; Mix all and an import of as
            // many cards as the box holds, undone.
            {"1000 undo and redo of a verdict",
             [&] {
                 history = OpenHistory(vok, "");
                 Verdict(*history->document, true);
             },
             [&] {
                 for (int i = 0; i < 1000; ++i) {
                     history->document->Undo();
                     history->document->Redo();
                 }
             }},
            {"undo of Mix(0)",
             [&] {
                 history = OpenHistory(vok, "");
                 const Document::Step step(*history->document, StepName::MixAll);
                 history->document->Mix(0);
             },
             [&] { history->document->Undo(); }},
            {"undo of an import",
             [&] {
                 history = OpenHistory(vok, "");
                 ImportStep(*history->document, size);
             },
             [&] { history->document->Undo(); }},
            // A learning step as the window makes it, without and with the journal.
            {"1000 verdicts, no journal", [&] { history = OpenHistory(vok, ""); },
             [&] {
                 for (int step = 0; step < 1000; ++step) {
                     Verdict(*history->document, step % 3 != 0);
                 }
             }},
            {"1000 verdicts, journal", [&] { history = OpenHistory(vok, journals); },
             [&] {
                 for (int step = 0; step < 1000; ++step) {
                     Verdict(*history->document, step % 3 != 0);
                 }
             }},
            // What the day history adds to a verdict: its count on a history of a year of
            // days, and the journal entry that keeps it.
            {"1000 day counts", [&] { yearOfDays = YearOfDays(); },
             [&] {
                 for (int step = 0; step < 1000; ++step) {
                     const DayTally tally{kLastDay,
                                          {step % 3 == 0 ? 0 : 1, step % 3 == 0 ? 1 : 0, 0, 0}};
                     yearOfDays.Add(tally);
                     journalBytes +=
                         EncodeJournalOp(journal_op::Tally{tally.day, tally.counts.known,
                                                           tally.counts.unknown, 0, 0})
                             .Bytes()
                             .size();
                 }
             }},
            // The Statistics window's figures: one pass over every card.
            {"statistics of the box", [] {},
             [&] { statistics = StatisticsOf(*source).hardest.size(); }},
            // The Cards window's list: every card of the box, a search in it, a sort.
            {"Cards: list every card", [] {},
             [&] { finder = std::make_unique<CardFinder>(*source); }},
            {"Cards: search, case and accents aside",
             [&] { finder = std::make_unique<CardFinder>(*source); },
             [&] { finder->SetQuery("ab", false); }},
            {"Cards: sort by question", [&] { finder = std::make_unique<CardFinder>(*source); },
             [&] { finder->SortBy(CardColumn::Question, false); }},
            {"1000 learning steps", [] {},
             [&] {
                 int number = 0;
                 for (int step = 0; step < 1000; ++step) {
                     source->ChooseNext(number);
                     if (step % 3 == 0) {
                         source->Unknown();
                     } else {
                         source->Known();
                     }
                 }
             }},
        };
        if (HaveShapelib()) {
            operations.push_back({"shapelib: read every field", [] {},
                                  [&] {
                                      if (ShapelibRead(dbf) != size) {
                                          std::fprintf(stderr, "shapelib misread %s\n",
                                                       dbf.c_str());
                                      }
                                  }});
            operations.push_back({"shapelib: write the cards", [] {},
                                  [&] { ShapelibWrite(folder + "/shapelib.dbf", *source); }});
        }
        if (!only.empty()) {
            const std::string names = "," + only + ",";
            std::erase_if(operations, [&names](const Operation& operation) {
                return names.find("," + operation.name + ",") == std::string::npos;
            });
        }
        std::vector<std::vector<double>> times(operations.size());
        for (int round = 0; round < repeats; ++round) {
            for (std::size_t i = 0; i < operations.size(); ++i) {
                times[i].push_back(Time(operations[i].setup, operations[i].body));
                // Only the source box stays between operations.
                loaded.reset();
                sparse.reset();
                full.reset();
                if (history && operations[i].name == "undo of Mix(0)") {
                    mixBytes[size] = static_cast<double>(history->document->HistoryBytes());
                }
                if (history && operations[i].name == "undo of an import") {
                    importBytes[size] = static_cast<double>(history->document->HistoryBytes());
                }
                if (history) {
                    history->document->Close();
                }
                history.reset();
                if (operations[i].name != "Mix(0)") {
                    mixed.reset();
                }
                // What one operation left for the disk must not slow the next one's writes.
                ::sync();
            }
        }
        for (std::size_t i = 0; i < operations.size(); ++i) {
            record(operations[i].name, size, Median(times[i]));
        }
        loaded.reset();
        mixed.reset();
        sparse.reset();
        full.reset();
        source.reset();
        perCard[size] = MemoryPerCard(self, vok);
        std::fprintf(stderr, "  resident bytes per card after a load: %.1f\n", perCard[size]);
        perUnicodeCard[size] = MemoryPerCard(self, unicodeVok);
        std::fprintf(stderr, "  the same, Russian and Japanese: %.1f\n", perUnicodeCard[size]);
        std::filesystem::remove(folder + "/saved.vok");
        std::filesystem::remove(folder + "/shapelib.dbf");
        std::filesystem::remove(folder + "/block.bin");
    }

    std::vector<Row> table;
    for (const std::string& name : order) {
        table.push_back(rows[name]);
    }
    PrintTable("operation (median, ms)", sizes, table);
    for (const auto& [name, bytes] :
         {std::pair{"resident bytes per card after a load", &perCard},
          std::pair{"the same, Russian and Japanese", &perUnicodeCard}}) {
        std::printf("| %s |", name);
        for (const int size : sizes) {
            std::printf(" %.1f |", (*bytes)[size]);
        }
        std::printf("\n");
    }
    for (const auto& [name, bytes] :
         {std::pair{"history bytes per card, undo of Mix(0)", &mixBytes},
          std::pair{"history bytes per card, undo of an import", &importBytes}}) {
        std::printf("| %s |", name);
        for (const int size : sizes) {
            std::printf(" %.2f |", bytes->count(size) != 0 ? (*bytes)[size] / size : -1.0);
        }
        std::printf("\n");
    }

    // A figure whose measurements are missing (a size not run, no shapelib) is not known.
    const auto ratio = [](double measured, double base) {
        return measured < 0 || base <= 0 ? -1.0 : measured / base;
    };
    const auto at = [&](const char* name, int size) {
        auto row = rows.find(name);
        if (row == rows.end()) {
            return -1.0;
        }
        auto value = row->second.milliseconds.find(size);
        return value == row->second.milliseconds.end() ? -1.0 : value->second;
    };
    struct Ratio {
        std::string figure;
        double value;
        double goal;
    };
    const int large = 1000000;
    const int medium = 100000;
    std::vector<Ratio> ratios = {
        {"load 1,000,000 / shapelib read",
         ratio(at("LoadVokFile", large), at("shapelib: read every field", large)), 0.33},
        {"save 1,000,000 / shapelib write",
         ratio(at("SaveVokFile", large), at("shapelib: write the cards", large)), 0.10},
        {"load 1,000,000 / block read",
         ratio(at("LoadVokFile", large), at("block read, 64 KiB", large)), 2.5},
        {"save 1,000,000 / block write",
         ratio(at("SaveVokFile", large), at("block write, 64 KiB, fsync", large)), 1.5},
        {"Unicode load 1,000,000 (Russian, Japanese) / block read",
         ratio(at("LoadVokFile, Russian and Japanese", large),
               at("block read of it, 64 KiB", large)),
         2.5},
        {"import 1,000,000 / import 100,000",
         ratio(at("ImportText (through the window)", large),
               at("ImportText (through the window)", medium)),
         11},
        {"import 100,000 / load 100,000",
         ratio(at("ImportText (through the window)", medium), at("LoadVokFile", medium)), 3},
        {"Mix(0) 1,000,000 / load 1,000,000", ratio(at("Mix(0)", large), at("LoadVokFile", large)),
         0.5},
        {"resident bytes per card (1,000,000)", perCard.count(large) != 0 ? perCard[large] : -1,
         150},
        {"resident bytes per card, Russian and Japanese (1,000,000)",
         perUnicodeCard.count(large) != 0 ? perUnicodeCard[large] : -1, 260},
        // Undo of a verdict costs the same on any box.
        {"undo and redo of a verdict, 1,000,000 / 10,000",
         ratio(at("1000 undo and redo of a verdict", large),
               at("1000 undo and redo of a verdict", 10000)),
         2},
        {"undo of Mix(0) 1,000,000, ms", at("undo of Mix(0)", large), 250},
        {"undo of an import of 1,000,000, ms", at("undo of an import", large), 250},
        {"history bytes per card, undo of Mix(0) (1,000,000)",
         mixBytes.count(large) != 0 ? mixBytes[large] / large : -1, 16},
        {"day history cost per verdict (1,000,000), us", at("1000 day counts", large), 50},
        {"statistics of 1,000,000 cards, ms", at("statistics of the box", large), 200},
        // The journal's share of a learning step, in microseconds a verdict.
        {"journal cost per verdict (1,000,000), us",
         at("1000 verdicts, journal", large) < 0
             ? -1.0
             : at("1000 verdicts, journal", large) - at("1000 verdicts, no journal", large),
         50},
    };
    std::printf("\n| figure | measured | goal | met |\n| --- | ---: | ---: | --- |\n");
    bool allMet = true;
    for (const Ratio& row : ratios) {
        const bool known = row.value >= 0;
        const bool met = known && row.value <= row.goal;
        allMet = allMet && (met || !known);
        std::printf("| %s | %s | %g | %s |\n", row.figure.c_str(),
                    known ? std::to_string(row.value).substr(0, 6).c_str() : "n/a", row.goal,
                    known ? (met ? "yes" : "NO") : "not measured");
    }
    return allMet ? 0 : 3;
}

}  // namespace
}  // namespace tallyfold::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "memory") {
        return tallyfold::bench::MemoryMain(argv[2]);
    }
    if (argc == 4 &&
        (std::string(argv[1]) == "generate" || std::string(argv[1]) == "generate-unicode")) {
        // A box for profiling by hand: generate|generate-unicode <cards> <file.vok>
        tallyfold::tCardBox box;
        if (std::string(argv[1]) == "generate") {
            tallyfold::bench::FillBox(box, std::atoi(argv[2]));
        } else {
            tallyfold::bench::FillUnicodeBox(box, std::atoi(argv[2]));
        }
        return tallyfold::SaveVokFile(tallyfold::FilePath(argv[3]), box) ? 0 : 1;
    }
    if (argc == 4 && (std::string(argv[1]) == "load" || std::string(argv[1]) == "save" ||
                      std::string(argv[1]) == "import")) {
        // One operation repeated, for a profiler: load|save <file.vok> <times>, import <lines>
        // <times>
        return tallyfold::bench::RepeatMain(argv[1], argv[2], std::atoi(argv[3]));
    }
    const tallyfold::bench::Options options =
        tallyfold::bench::ParseOptions(argc, argv, 5, "tallyfold-bench");
    const int status = tallyfold::bench::Run(argv[0], options.sizes, options.repeats,
                                             options.folder, options.only);
    std::filesystem::remove_all(options.folder);
    return status;
}
