#include "table/file_path.h"

#include <gtest/gtest.h>

namespace tallyfold {
namespace {

TEST(FilePath, FileNameIsTheLastPart) {
    EXPECT_EQ(FilePath("/home/ann/lists/words.vok").FileName(), "words.vok");
    EXPECT_EQ(FilePath("words.vok").FileName(), "words.vok");
    EXPECT_EQ(FilePath("/home/ann/").FileName(), "");
    EXPECT_EQ(FilePath().FileName(), "");
}

TEST(FilePath, FolderAsWrittenInThePath) {
    EXPECT_EQ(FilePath("/home/ann/words.vok").Folder(), FilePath("/home/ann"));
    EXPECT_EQ(FilePath("lists/words.vok").Folder(), FilePath("lists"));
    EXPECT_EQ(FilePath("words.vok").Folder(), FilePath("."));
    EXPECT_EQ(FilePath("/words.vok").Folder(), FilePath("/"));
}

// The separator the program puts between a folder and a name.
#if defined(_WIN32)
const std::string kAdded = "\\";
#else
const std::string kAdded = "/";
#endif

TEST(FilePath, SuffixAndChild) {
    EXPECT_EQ(FilePath("/a/words.vok").WithSuffix(".tmp-1"), FilePath("/a/words.vok.tmp-1"));
    EXPECT_EQ(FilePath("/a").Child("b.vok"), FilePath("/a" + kAdded + "b.vok"));
    EXPECT_EQ(FilePath("/a/").Child("b.vok"), FilePath("/a/b.vok"));
    EXPECT_EQ(FilePath("/").Child("b.vok"), FilePath("/b.vok"));
    EXPECT_EQ(FilePath("/a/words.vok").Folder().Child("words.kas"),
              FilePath("/a" + kAdded + "words.kas"));
}

#if defined(_WIN32)

TEST(FilePath, WindowsPathsTakeBothSlashesDrivesAndShares) {
    const FilePath path(
        "C:\\\xC3\x9C"
        "bungen\\Vokabeln\\w\xC3\xB6rter.vok");
    EXPECT_EQ(path.FileName(), "w\xC3\xB6rter.vok");
    EXPECT_EQ(path.Folder(), FilePath("C:\\\xC3\x9C"
                                      "bungen\\Vokabeln"));
    EXPECT_EQ(path.WithExtension(".kas").FileName(), "w\xC3\xB6rter.kas");
    EXPECT_EQ(FilePath("C:/lists\\words.vok").Folder(), FilePath("C:/lists"));
    EXPECT_EQ(FilePath("C:\\words.vok").Folder(), FilePath("C:\\"));
    EXPECT_EQ(FilePath("C:\\").Child("words.vok"), FilePath("C:\\words.vok"));
    // Drive-relative: the folder is the drive's current one.
    EXPECT_EQ(FilePath("C:words.vok").FileName(), "words.vok");
    EXPECT_EQ(FilePath("C:words.vok").Folder(), FilePath("C:"));
    EXPECT_EQ(FilePath("C:").Child("words.vok"), FilePath("C:words.vok"));
    EXPECT_EQ(FilePath("\\\\server\\share\\words.vok").Folder(), FilePath("\\\\server\\share\\"));
    EXPECT_EQ(FilePath("\\\\server\\share\\lists\\words.vok").Folder(),
              FilePath("\\\\server\\share\\lists"));
    EXPECT_EQ(FilePath("\\words.vok").Folder(), FilePath("\\"));
    // A dot in a folder's name starts no extension of the file.
    EXPECT_EQ(FilePath("C:\\a.b\\words").Extension(), "");
}

#else

TEST(FilePath, ABackslashIsPartOfAPosixName) {
    EXPECT_EQ(FilePath("/a/b\\c.vok").FileName(), "b\\c.vok");
    EXPECT_EQ(FilePath("C:words.vok").Folder(), FilePath("."));
}

#endif

TEST(FilePath, TheExtensionIsTheFileNames) {
    EXPECT_EQ(FilePath("/a/words.vok").Extension(), ".vok");
    EXPECT_EQ(FilePath("/a.b/words").Extension(), "");
    EXPECT_EQ(FilePath(".words").Extension(), "");
    EXPECT_EQ(FilePath("words.old.vok").Extension(), ".vok");
    EXPECT_EQ(FilePath("/a.b/words").WithExtension(".kas"), FilePath("/a.b/words.kas"));
    EXPECT_EQ(FilePath("/a/words.vok").WithExtension(".kas"), FilePath("/a/words.kas"));
    EXPECT_EQ(FilePath("/a/.words").WithExtension(".vok"), FilePath("/a/.words.vok"));
}

TEST(FilePath, AnExtensionIsFoundInAnyCase) {
    EXPECT_TRUE(FilePath("a/words.VOK").HasExtension(".vok"));
    EXPECT_TRUE(FilePath("words.Csv").HasExtension(".csv"));
    EXPECT_FALSE(FilePath("words.vok.txt").HasExtension(".vok"));
    EXPECT_FALSE(FilePath("vok").HasExtension(".vok"));
    EXPECT_FALSE(FilePath(".vok").HasExtension(".vok"));             // a hidden file named "vok"
    EXPECT_FALSE(FilePath("words.v\xD6k").HasExtension(".v\xF6k"));  // ASCII letters only
}

TEST(FilePath, BytesInAnyScriptStayAsTheyAre) {
    const std::string greek =
        "/home/\xCE\xB1\xCE\xB2/\xCE\xBB\xCE\xAD\xCE\xBE\xCE\xB5\xCE\xB9\xCF\x82.vok";
    const FilePath path(greek);
    EXPECT_EQ(path.Bytes(), greek);
    EXPECT_EQ(path.FileName(), "\xCE\xBB\xCE\xAD\xCE\xBE\xCE\xB5\xCE\xB9\xCF\x82.vok");
    EXPECT_EQ(path.Folder().Bytes(), "/home/\xCE\xB1\xCE\xB2");
}

}  // namespace
}  // namespace tallyfold
