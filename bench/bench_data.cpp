#include "bench/bench_data.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace tallyfold::bench {

namespace {

// A small, fixed generator: every run works on the same data.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t Below(std::uint32_t bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>((state_ >> 33) % bound);
    }

  private:
    std::uint64_t state_;
};

const char* const kSyllables[] = {"ka",      "ne",      "ri",  "mo", "tu", "sch", "\u00E4r",
                                  "\u00F6l", "\u00FCn", "st",  "ei", "au", "gr",  "\u00DF",
                                  "pf",      "ber",     "lin", "wa", "ze", "qu"};

// Russian and Japanese: syllables of two bytes a letter and of three a character.
const char* const kRussian[] = {
    "\u043A\u0430", "\u043D\u0435", "\u0440\u0438",       "\u043C\u043E", "\u0442\u0443",
    "\u0449\u0435", "\u0436\u0438", "\u0441\u0442\u044C", "\u043B\u043E", "\u0434\u0430"};
const char* const kJapanese[] = {"\u65E5", "\u672C",       "\u8A9E", "\u5B66", "\u751F",
                                 "\u306E", "\u3067\u3059", "\u30AB", "\u30BF", "\u6F22\u5B57"};

std::string Word(Random& random, std::uint32_t index) {
    // The index keeps every text apart; the syllables vary length and characters.
    std::string text = std::to_string(index);
    const std::uint32_t syllables = 1 + random.Below(20);
    for (std::uint32_t i = 0; i < syllables && text.size() < 58; ++i) {
        text += kSyllables[random.Below(sizeof kSyllables / sizeof *kSyllables)];
        if (random.Below(5) == 0) {
            text += ' ';
        }
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text.substr(0, 63);
}

// A text of `parts` syllables after the index; a blank now and then between words.
template <std::size_t N>
std::string Phrase(Random& random, std::uint32_t index, const char* const (&parts)[N],
                   std::uint32_t most) {
    std::string text = std::to_string(index);
    const std::uint32_t count = 1 + random.Below(most);
    for (std::uint32_t i = 0; i < count; ++i) {
        text += parts[random.Below(N)];
        if (random.Below(4) == 0 && i + 1 < count) {
            text += ' ';
        }
    }
    return text;
}

tVokabel MakeCard(Random& random, std::uint32_t index) {
    tVokabel card;
    card.SetTexts(Word(random, index), Word(random, index));
    card.knownCount = static_cast<std::int32_t>(random.Below(50));
    card.unknownCount = static_cast<std::int32_t>(random.Below(50));
    return card;
}

}  // namespace

void FillBox(tCardBox& box, int count) {
    Random random(42);
    for (int i = 0; i < count; ++i) {
        box.AddToPartition(MakeCard(random, static_cast<std::uint32_t>(i)),
                           1 + i % tCardBox::kInputStack);
    }
}

void FillUnicodeBox(tCardBox& box, int count) {
    Random random(31);
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        tVokabel card;
        // Most texts are a word or two; one in ten a phrase beyond 63 bytes.
        const bool phrase = random.Below(10) == 0;
        card.SetTexts(Phrase(random, index, kRussian, phrase ? 16 : 6),
                      Phrase(random, index, kJapanese, phrase ? 18 : 4));
        card.knownCount = static_cast<std::int32_t>(random.Below(50));
        card.unknownCount = static_cast<std::int32_t>(random.Below(50));
        box.AddToPartition(card, 1 + i % tCardBox::kInputStack);
    }
}

void FillLearnedBox(tCardBox& box, int count) {
    Random random(11);
    int made = 0;
    for (int number = 1; number < tCardBox::kPartitions && made < count; ++number) {
        for (int i = 0; i < box.Capacity(number) && made < count; ++i, ++made) {
            box.AddToPartition(MakeCard(random, static_cast<std::uint32_t>(made)), number);
        }
    }
    for (int i = 0; made < count; ++i, ++made) {
        box.AddToPartition(MakeCard(random, static_cast<std::uint32_t>(made)),
                           i % 2 == 0 ? tCardBox::kPartitions : tCardBox::kInputStack);
    }
}

void WriteCleanTextFile(const std::string& path, int lines) {
    Random random(5);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    for (int i = 0; i < lines; ++i) {
        // Numbered, so that no line repeats; short enough for a card.
        const std::string line = Word(random, static_cast<std::uint32_t>(i)).substr(0, 40) + " " +
                                 std::to_string(i) + ";" +
                                 Word(random, static_cast<std::uint32_t>(i)) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), file);
    }
    std::fclose(file);
}

void FillSparseBox(tCardBox& box, int count) {
    Random random(7);
    for (int i = 0; i < count; ++i) {
        box.AddToPartition(MakeCard(random, static_cast<std::uint32_t>(i)), i % 10 == 0 ? 3 : 7);
    }
}

int WriteTextFile(const std::string& path, int lines) {
    Random random(99);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return -1;
    }
    std::vector<std::string> written;
    written.reserve(static_cast<std::size_t>(lines));
    int broken = 0;
    for (int i = 0; i < lines; ++i) {
        std::string line;
        if (i > 0 && random.Below(100) == 0) {
            line = written[random.Below(static_cast<std::uint32_t>(written.size()))];
            broken += line.find(';') == std::string::npos ? 1 : 0;
        } else if (random.Below(1000) == 0) {
            line = "no separator in this line " + std::to_string(i);
            ++broken;
        } else {
            line = Word(random, static_cast<std::uint32_t>(i)) + ";" +
                   Word(random, static_cast<std::uint32_t>(i));
        }
        written.push_back(line);
        line += "\r\n";
        std::fwrite(line.data(), 1, line.size(), file);
    }
    std::fclose(file);
    return broken;
}

}  // namespace tallyfold::bench
