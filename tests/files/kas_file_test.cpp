#include "files/kas_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/vok_file.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::ReadBytes;
using testing::TempDir;

TEST(KasFileName, ReplacesTheExtension) {
    EXPECT_EQ(KasFileName(FilePath("words.vok")).Bytes(), "words.kas");
    EXPECT_EQ(KasFileName(FilePath("/home/ann/lists/words.vok")).Bytes(),
              "/home/ann/lists/words.kas");
    EXPECT_EQ(KasFileName(FilePath("words.old.vok")).Bytes(), "words.old.kas");
}

TEST(KasFileName, ADotInAFolderNameIsNoExtension) {
    EXPECT_EQ(KasFileName(FilePath("/home/first.last/lists/words")).Bytes(),
              "/home/first.last/lists/words.kas");
    EXPECT_EQ(KasFileName(FilePath("de.en/words")).Bytes(), "de.en/words.kas");
    EXPECT_EQ(KasFileName(FilePath("de.en/.words")).Bytes(), "de.en/.words.kas");
    EXPECT_EQ(KasFileName(FilePath("/a.b/words.vok")).Bytes(), "/a.b/words.kas");
}

TEST(KasFile, ASaveIntoAFolderWithADotTouchesNothingOutsideIt) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("first.last").Bytes());
    const FilePath unrelated = dir.File("first.kas");
    testing::WriteBytes(unrelated, "belongs to something else");
    tCardBox box;
    box.AddToInput(testing::Card("Haus", "house"));
    ASSERT_TRUE(SaveVokFile(dir.File("first.last/words"), box));
    EXPECT_EQ(ReadBytes(unrelated), "belongs to something else");
    EXPECT_FALSE(ReadBytes(dir.File("first.last/words.kas")).empty());
}

TEST(KasFileName, NoDotAfterTheFirstCharacterAppends) {
    EXPECT_EQ(KasFileName(FilePath("words")).Bytes(), "words.kas");
    EXPECT_EQ(KasFileName(FilePath(".words")).Bytes(), ".words.kas");
    EXPECT_EQ(KasFileName(FilePath("")).Bytes(), ".kas");
}

TEST(KasFile, RowsForCountsAndCapacities) {
    TempDir dir;
    const std::vector<int> counts = {0, 3, 0, 0, 0, 0, 1};
    ASSERT_TRUE(WriteKasFile(dir.File("w.vok"), counts));
    tKastenDB table;
    ASSERT_TRUE(table.Open(dir.File("w.kas")));
    ASSERT_EQ(table.RecordCount(), 9u);
    const char* names[] = {"1. Fach", "2. Fach", "3. Fach", "4. Fach", "5. Fach",
                           "6. Fach", "7. Fach", "Ablage",  "Eingabe"};
    const char* letters = "ABCDEFGZX";
    const int capacities[] = {10, 20, 40, 80, 160, 320, 640, 999999, 999999};
    for (std::uint32_t i = 0; i < 9; ++i) {
        ASSERT_TRUE(table.GoTo(i));
        EXPECT_EQ(table.Name.Text(), names[i]);
        EXPECT_EQ(table.Bez.Text(), std::string(1, letters[i]));
        EXPECT_EQ(table.Max.Value(), capacities[i]);
        if (i < 7) {
            EXPECT_EQ(table.Anzahl.Value(), counts[i]);
            EXPECT_EQ(table.MaxAlter.Value(), counts[i]);
        }
    }
    char raw[8];
    ASSERT_TRUE(table.GoTo(7));
    EXPECT_EQ(table.GetField(table.FieldIndex("ANZAHL"), raw), 0);  // blank
    ASSERT_TRUE(table.GoTo(1));
    EXPECT_EQ(table.GetField(table.FieldIndex("MAX"), raw), 6);
    EXPECT_STREQ(raw, "    20");
}

TEST(KasFile, NeverWrittenOverTheVocabularyFile) {
    TempDir dir;
    tCardBox box;
    testing::Fill(box, 1, 2);
    // A vocabulary file saved under the box file's extension gets no box file at all.
    ASSERT_TRUE(SaveVokFile(dir.File("cards.kas"), box));
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(dir.File("cards.kas"), loaded).loaded, 2);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"cards.kas"});
    // Without an extension the box file is the name plus ".kas".
    ASSERT_TRUE(SaveVokFile(dir.File("plain"), box));
    EXPECT_EQ(LoadVokFile(dir.File("plain"), loaded).loaded, 2);
    EXPECT_FALSE(ReadBytes(dir.File("plain.kas")).empty());
}

TEST(KasFile, ABoxFileThatCannotBeWrittenDoesNotFailTheSave) {
    TempDir dir;
    tCardBox box;
    box.AddToInput(testing::Card("Haus", "house"));
    std::filesystem::create_directory(dir.File("words.kas").Bytes());  // in the box file's way
    ASSERT_TRUE(SaveVokFile(dir.File("words.vok"), box));
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(dir.File("words.vok"), loaded).loaded, 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("words.kas").Bytes()));
    EXPECT_FALSE(WriteKasFile(dir.File("words.vok"), std::vector<int>(7, 0)));
}

TEST(KasFile, AFailedOpenIsRecordedAsSuch) {
    tKastenDB table;
    EXPECT_FALSE(table.Open(FilePath("/nonexistent/folder/x.kas")));
    EXPECT_EQ(table.LastError(), DbfError::CannotOpen);
    EXPECT_FALSE(table.WriteFailed());
}

}  // namespace
}  // namespace tallyfold
