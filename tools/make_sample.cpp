// Writes the sample box that `make run` opens: a small German-English vocabulary, saved by the
// program's own save code, with cards in several partitions so the first start shows a card.
// With --russian-japanese, the box of Russian and Japanese words that the screenshots of every
// script show instead; with --learned, the sample box learned on for six weeks, with its day
// history beside it, for the screenshots of the Statistics window.
//   make_sample [--russian-japanese | --learned] <path of the .vok file>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "box/card_box.h"
#include "files/program_arguments.h"
#include "files/vok_file.h"
#include "tools/learned_box.h"
#include "tools/russian_japanese_box.h"

namespace {

struct Word {
    const char* german;
    const char* english;
};

// German words with umlauts and ß, which the classic file holds.
constexpr Word kWords[] = {
    {"das Haus", "the house"},
    {"der Baum", "the tree"},
    {"die Katze", "the cat"},
    {"der Hund", "the dog"},
    {"das Buch", "the book"},
    {"die T\u00FCr", "the door"},
    {"das Fenster", "the window"},
    {"der Tisch", "the table"},
    {"der Stuhl", "the chair"},
    {"die Stra\u00DF"
     "e",
     "the street"},
    {"die Stadt", "the town"},
    {"das Dorf", "the village"},
    {"der Apfel", "the apple"},
    {"die \u00C4pfel", "the apples"},
    {"das Brot", "the bread"},
    {"die Milch", "the milk"},
    {"das Wasser", "the water"},
    {"der K\u00E4se", "the cheese"},
    {"das Ei", "the egg"},
    {"der Fisch", "the fish"},
    {"das Fleisch", "the meat"},
    {"das Gem\u00FCse", "the vegetables"},
    {"das Obst", "the fruit"},
    {"der Zucker", "the sugar"},
    {"das Salz", "the salt"},
    {"der Kaffee", "the coffee"},
    {"der Tee", "the tea"},
    {"das Bier", "the beer"},
    {"der Wein", "the wine"},
    {"die Suppe", "the soup"},
    {"der Vater", "the father"},
    {"die Mutter", "the mother"},
    {"der Bruder", "the brother"},
    {"die Schwester", "the sister"},
    {"der Sohn", "the son"},
    {"die Tochter", "the daughter"},
    {"der Freund", "the friend"},
    {"die Freundin", "the girlfriend"},
    {"das Kind", "the child"},
    {"die Kinder", "the children"},
    {"der Mann", "the man"},
    {"die Frau", "the woman"},
    {"der Lehrer", "the teacher"},
    {"die Schule", "the school"},
    {"die Arbeit", "the work"},
    {"das B\u00FCro", "the office"},
    {"der Arzt", "the doctor"},
    {"das Krankenhaus", "the hospital"},
    {"der Bahnhof", "the station"},
    {"der Zug", "the train"},
    {"das Auto", "the car"},
    {"das Fahrrad", "the bicycle"},
    {"das Flugzeug", "the aeroplane"},
    {"das Schiff", "the ship"},
    {"die Br\u00FC"
     "cke",
     "the bridge"},
    {"der Fluss", "the river"},
    {"der See", "the lake"},
    {"das Meer", "the sea"},
    {"der Berg", "the mountain"},
    {"der Wald", "the forest"},
    {"die Blume", "the flower"},
    {"das Gras", "the grass"},
    {"der Himmel", "the sky"},
    {"die Sonne", "the sun"},
    {"der Mond", "the moon"},
    {"der Stern", "the star"},
    {"der Regen", "the rain"},
    {"der Schnee", "the snow"},
    {"der Wind", "the wind"},
    {"das Wetter", "the weather"},
    {"der Fr\u00FChling", "spring"},
    {"der Sommer", "summer"},
    {"der Herbst", "autumn"},
    {"der Winter", "winter"},
    {"der Montag", "Monday"},
    {"der Dienstag", "Tuesday"},
    {"der Mittwoch", "Wednesday"},
    {"der Donnerstag", "Thursday"},
    {"der Freitag", "Friday"},
    {"der Samstag", "Saturday"},
    {"der Sonntag", "Sunday"},
    {"heute", "today"},
    {"morgen", "tomorrow"},
    {"gestern", "yesterday"},
    {"fr\u00FCh", "early"},
    {"sp\u00E4t", "late"},
    {"immer", "always"},
    {"nie", "never"},
    {"oft", "often"},
    {"manchmal", "sometimes"},
    {"gro\u00DF", "big"},
    {"klein", "small"},
    {"alt", "old"},
    {"neu", "new"},
    {"jung", "young"},
    {"sch\u00F6n", "beautiful"},
    {"h\u00E4sslich", "ugly"},
    {"gut", "good"},
    {"schlecht", "bad"},
    {"warm", "warm"},
    {"kalt", "cold"},
    {"hei\u00DF", "hot"},
    {"schnell", "fast"},
    {"langsam", "slow"},
    {"leicht", "easy"},
    {"schwer", "difficult"},
    {"hell", "bright"},
    {"dunkel", "dark"},
    {"m\u00FC"
     "de",
     "tired"},
    {"gl\u00FC"
     "cklich",
     "happy"},
    {"traurig", "sad"},
    {"laut", "loud"},
    {"leise", "quiet"},
    {"gehen", "to go"},
    {"kommen", "to come"},
    {"sehen", "to see"},
    {"h\u00F6ren", "to hear"},
    {"sprechen", "to speak"},
    {"lesen", "to read"},
    {"schreiben", "to write"},
    {"essen", "to eat"},
    {"trinken", "to drink"},
    {"schlafen", "to sleep"},
    {"arbeiten", "to work"},
    {"spielen", "to play"},
    {"lernen", "to learn"},
    {"wissen", "to know"},
    {"denken", "to think"},
    {"kaufen", "to buy"},
    {"verkaufen", "to sell"},
    {"\u00F6"
     "ffnen",
     "to open"},
    {"schlie\u00DF"
     "en",
     "to close"},
    {"fahren", "to drive"},
    {"fliegen", "to fly"},
    {"schwimmen", "to swim"},
    {"laufen", "to run"},
    {"singen", "to sing"},
    {"tanzen", "to dance"},
    {"lachen", "to laugh"},
    {"weinen", "to cry"},
    {"helfen", "to help"},
    {"fragen", "to ask"},
    {"antworten", "to answer"},
    {"warten", "to wait"},
    {"vergessen", "to forget"},
    {"erz\u00E4hlen", "to tell"},
    {"w\u00E4hlen", "to choose"},
    {"z\u00E4hlen", "to count"},
    {"\u00FC"
     "ben",
     "to practise"},
    {"die \u00DC"
     "bung",
     "the exercise"},
};

// Where each block of words starts out: a learner a few days into the box.
int PartitionFor(std::size_t index) {
    if (index < 20) {
        return 7;
    }
    if (index < 30) {
        return 4;
    }
    if (index < 45) {
        return 3;
    }
    if (index < 60) {
        return 2;
    }
    if (index < 68) {
        return 1;
    }
    return tallyfold::tCardBox::kInputStack;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = tallyfold::ProgramArguments(argc, argv);
    const bool russianJapanese = !arguments.empty() && arguments.front() == "--russian-japanese";
    const bool learned = !arguments.empty() && arguments.front() == "--learned";
    if (arguments.size() != (russianJapanese || learned ? 2U : 1U)) {
        std::fprintf(stderr, "usage: make_sample [--russian-japanese | --learned] <file.vok>\n");
        return 2;
    }
    const tallyfold::FilePath path(arguments.back());
    tallyfold::tCardBox box;
    if (russianJapanese) {
        tallyfold::tools::FillRussianJapaneseBox(box);
    }
    std::size_t index = 0;
    for (const Word& word :
         russianJapanese ? std::span<const Word>() : std::span<const Word>(kWords)) {
        tallyfold::tVokabel card;
        card.SetTexts(word.german, word.english);
        const int partition = PartitionFor(index);
        card.knownCount = partition <= 7 ? partition - 1 : 0;
        card.unknownCount = static_cast<std::int32_t>(index % 3);
        box.AddToPartition(card, partition);
        ++index;
    }
    if (!tallyfold::SaveVokFile(path, box)) {
        std::fprintf(stderr, "make_sample: could not write %s\n", path.CString());
        return 1;
    }
    if (learned && !tallyfold::tools::LearnForSixWeeks(path)) {
        std::fprintf(stderr, "make_sample: could not learn on %s\n", path.CString());
        return 1;
    }
    std::printf("%s: %d cards\n", path.CString(), box.TotalCards());
    return 0;
}
