// Records of a Unicode vocabulary file made of the input: the first two bytes give the widths of
// the two text fields, the rest fills the records. The load must either refuse the file for a
// text that is no UTF-8 (there is one) or give cards whose every side a card may have; saved and
// loaded again, the box must be the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "box/card_box.h"
#include "files/vok_file.h"
#include "fuzz/fuzz_files.h"
#include "table/create_dbf.h"
#include "table/dbf.h"
#include "text/card_side.h"
#include "text/utf8.h"

namespace {

struct Placed {
    int number;
    std::string question;
    std::string answer;
};

std::vector<Placed> CardsOf(const tallyfold::tCardBox& box) {
    std::vector<Placed> cards;
    box.ForEachCard([&cards](const tallyfold::tVokabel& card, int number) {
        cards.push_back({number, std::string(card.Question()), std::string(card.Answer())});
        return true;
    });
    return cards;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// Whether a field's text, as a load takes it, is UTF-8.
bool FieldIsUtf8(std::string_view field) {
    field = WithoutTrailingBlanks(field);
    return tallyfold::unicode::IsValidUtf8(field.substr(0, field.find('\0')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    if (size < 2) {
        return 0;
    }
    const int questionWidth = 1 + data[0] % 254;
    const int answerWidth = 1 + data[1] % 254;
    const std::string bytes = fuzz::BytesOf(data + 2, size - 2);
    const FilePath path(fuzz::ScratchFolder() + "/words.vok");
    bool allUtf8 = true;
    {
        tCreateDBF builder;
        if (!builder.AddField("FRAGE", 'C', questionWidth, 0) ||
            !builder.AddField("ANTWORT", 'C', answerWidth, 0) ||
            !builder.AddField("KASTEN", 'C', 1, 0) || !builder.Create(path)) {
            std::abort();
        }
        tDBF table;
        if (!table.Open(path)) {
            std::abort();
        }
        const std::size_t recordText = static_cast<std::size_t>(questionWidth + answerWidth + 1);
        for (std::size_t at = 0; at < bytes.size() && at / recordText < 200; at += recordText) {
            const std::span<char> record = table.AppendBlankRecord();
            const std::string_view fields = std::string_view(bytes).substr(at, recordText);
            std::copy(fields.begin(), fields.end(), record.begin() + 1);
            allUtf8 = allUtf8 &&
                      FieldIsUtf8(std::string_view(record.data() + 1,
                                                   static_cast<std::size_t>(questionWidth))) &&
                      FieldIsUtf8(std::string_view(record.data() + 1 + questionWidth,
                                                   static_cast<std::size_t>(answerWidth)));
        }
        if (!table.Sync()) {
            std::abort();
        }
    }
    tCardBox first;
    const LoadResult result = LoadVokFile(path, first);
    if (result.opened == !allUtf8 || (!result.opened && result.refused != LoadRefusal::NotUtf8)) {
        std::abort();
    }
    if (result.opened) {
        const std::vector<Placed> before = CardsOf(first);
        for (const Placed& card : before) {
            for (const std::string& side : {card.question, card.answer}) {
                if (!unicode::IsValidUtf8(side) || side.size() > unicode::kMaxSideBytes ||
                    side.find('\0') != std::string::npos ||
                    unicode::BytesThatFitASide(side) != side.size()) {
                    std::abort();
                }
            }
        }
        const FilePath saved(fuzz::ScratchFolder() + "/saved.vok");
        if (!SaveVokFile(saved, first)) {
            std::abort();
        }
        tCardBox second;
        const std::vector<Placed> after =
            LoadVokFile(saved, second).opened ? CardsOf(second) : std::vector<Placed>();
        if (after.size() != before.size()) {
            std::abort();
        }
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i].number != before[i].number ||
                after[i].question != WithoutTrailingBlanks(before[i].question) ||
                after[i].answer != WithoutTrailingBlanks(before[i].answer)) {
                std::abort();
            }
        }
    }
    fuzz::ClearScratch(
        {"words.vok", "words.kas", "words.cpg", "saved.vok", "saved.kas", "saved.cpg"});
    return 0;
}
