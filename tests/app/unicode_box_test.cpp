// A box in any script through the program as the user runs it: the question before a classic
// file becomes a Unicode one, what a load that cannot read says, and a window that cannot show
// every script yet.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/code_page_file.h"
#include "table/create_dbf.h"
#include "table/dbf.h"
#include "tests/support/app_fixture.h"
#include "tests/support/box_state.h"
#include "tests/support/every_script.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using platform::MessageButtons;
using platform::headless::HeadlessDialog;
using testing::AppTest;
using testing::Card;
using testing::Fill;

class UnicodeBoxTest : public AppTest {
  protected:
    void Import(const std::string& utf8) {
        const FilePath path = dir.File("import.txt");
        testing::WriteBytes(path, utf8);
        backend.AnswerFileDialog(path);
        backend.AnswerMessageBox(DialogResult::Ok);  // its summary
        frame->ChooseMenu(ids::kCmFileImport);
        ASSERT_FALSE(backend.MessageBoxes().empty());
        EXPECT_EQ(backend.MessageBoxes().back().request.caption, "Import");
        backend.ForgetMessageBoxes();
    }
    static VokLayout LayoutOf(const FilePath& path) {
        tCardBox loaded;
        return LoadVokFile(path, loaded).layout;
    }
};

TEST_F(UnicodeBoxTest, TheFirstSaveThatMakesAClassicFileUnicodeAsksFirst) {
    tCardBox saved;
    Fill(saved, 1, 3, "w");
    const FilePath path = SaveBox(saved);
    Start(path);
    Import("g\u0119\u015B;goose\n");
    const std::string before = testing::ReadBytes(path);
    backend.AnswerMessageBox(DialogResult::Cancel);
    EXPECT_FALSE(view->SaveFile());
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text,
              "words.vok will be saved as a Unicode file, which Tallyfold 0.1.0 cannot open.");
    EXPECT_EQ(backend.MessageBoxes()[0].request.buttons, MessageButtons::SaveCancel);
    EXPECT_EQ(testing::ReadBytes(path), before);
    EXPECT_TRUE(view->Changed());

    backend.AnswerMessageBox(DialogResult::Ok);
    EXPECT_TRUE(view->SaveFile());
    EXPECT_FALSE(view->Changed());
    EXPECT_EQ(LayoutOf(path), VokLayout::Unicode);
    // Unicode now, the file is saved without a word; a new file asks nothing either.
    frame->PressEnter();
    frame->PressEnter();
    EXPECT_TRUE(view->SaveFile());
    backend.AnswerFileDialog(dir.File("new.vok"));
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(LayoutOf(dir.File("new.vok")), VokLayout::Unicode);
}

TEST_F(UnicodeBoxTest, AClassicBoxIsSavedClassicWithoutAQuestion) {
    tCardBox saved;
    Fill(saved, 1, 3, "w");
    const FilePath path = SaveBox(saved);
    Start(path);
    Import("Stra\u00DFe;street\n\u201Equoted\u201C;\u20AC 5\n");
    EXPECT_TRUE(view->SaveFile());
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(LayoutOf(path), VokLayout::Classic);
    EXPECT_FALSE(IsRegularFile(CodePageFileName(path)));
}

// A Unicode file another tool wrote, with a record this program cannot make a card of.
FilePath WriteForeignFile(const FilePath& path, const std::vector<std::string>& questions) {
    tCreateDBF builder;
    EXPECT_TRUE(builder.AddField("FRAGE", 'C', 254, 0) && builder.AddField("ANTWORT", 'C', 4, 0) &&
                builder.AddField("KASTEN", 'C', 1, 0));
    EXPECT_TRUE(builder.Create(path));
    tDBF table;
    EXPECT_TRUE(table.Open(path));
    for (const std::string& question : questions) {
        const std::span<char> record = table.AppendBlankRecord();
        std::copy(question.begin(), question.end(), record.begin() + 1);
        record[255] = 'a';
        record[259] = 'X';
    }
    EXPECT_TRUE(table.Sync());
    return path;
}

TEST_F(UnicodeBoxTest, ALoadSaysWhatItCouldNotReadAndWhatItCut) {
    const FilePath bad = WriteForeignFile(dir.File("bad.vok"), {"ok",
                                                                "Gr\xFC\xDF"
                                                                "e"});
    backend.AnswerMessageBox(DialogResult::Ok);
    Start(bad);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text,
              "Record 2 holds bytes that are no UTF-8 text. Not read:");
    EXPECT_EQ(backend.MessageBoxes()[0].request.file, bad);
    EXPECT_EQ(box.TotalCards(), 0);

    std::string chinese;
    for (int i = 0; i < 64; ++i) {
        chinese += "\u4E2D";
    }
    const FilePath cut = WriteForeignFile(dir.File("long.vok"), {chinese, chinese, "ok"});
    backend.AnswerFileDialog(cut);
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(box.TotalCards(), 3);
    EXPECT_EQ(backend.MessageBoxes().back().request.text,
              "2 texts were longer than a card holds and were cut to fit:");

    testing::WriteBytes(CodePageFileName(cut), "ISO-8859-1");
    backend.AnswerFileDialog(cut);
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(backend.MessageBoxes().back().request.text,
              "Its .cpg file names the code page \"ISO-8859-1\", not UTF-8. Not read:");
    EXPECT_EQ(box.TotalCards(), 3) << "the box on view stays";
}

// Every script a learner of the languages below writes, through the program as the user runs
// it: typed into the Input dialog, learned, saved, opened again, exported in each format and
// imported back into an empty box, which then holds the same cards.
TEST_F(UnicodeBoxTest, EveryScriptIsTypedLearnedSavedExportedAndImportedBack) {
    std::vector<std::pair<std::string, std::string>> typed = testing::CardsOfEveryScript();
    typed.emplace_back("\"caf\u00E9\"", "caf\u00E9; \u00E0 c\u00F4t\u00E9, bar");  // separators
    Start();
    backend.ExpectDialog(ids::kInputDialog, [&typed](HeadlessDialog& input) {
        for (const auto& [question, answer] : typed) {
            input.Type(ids::kInputQuestion, question);
            input.Type(ids::kInputAnswer, answer);
            input.PressEnter();
        }
        input.PressEscape();
    });
    frame->ChooseMenu(ids::kCmCardNew);
    ASSERT_EQ(box.TotalCards(), static_cast<int>(typed.size()));
    // Learn: the first three known, one not.
    for (int i = 0; i < 3; ++i) {
        frame->PressEnter();
        frame->PressEnter();
    }
    frame->PressEnter();
    frame->PressEscape();
    const testing::BoxState learned = testing::StateOf(box);

    const FilePath path = dir.File("\u8A9E\u5F59.vok");
    backend.AnswerFileDialog(path);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(LayoutOf(path), VokLayout::Unicode);
    backend.AnswerFileDialog(path);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(testing::StateOf(box), learned);

    std::vector<std::pair<std::string, std::string>> cards;
    box.ForEachCard([&cards](const tVokabel& card, int) {
        cards.emplace_back(card.Question(), card.Answer());
        return true;
    });
    for (const char* name : {"out.txt", "out.tsv", "out.csv"}) {
        SCOPED_TRACE(name);
        backend.AnswerFileDialog(dir.File(name));
        frame->ChooseMenu(ids::kCmFileExport);
        // Into an empty box of its own.
        backend.AnswerMessageBox(DialogResult::Ok);  // "All Data will be erased!"
        frame->ChooseMenu(ids::kCmFileNew);
        ASSERT_EQ(box.TotalCards(), 0);
        backend.AnswerFileDialog(dir.File(name));
        backend.AnswerMessageBox(DialogResult::Ok);  // its summary
        frame->ChooseMenu(ids::kCmFileImport);
        std::vector<std::pair<std::string, std::string>> imported;
        box.ForEachCard([&imported](const tVokabel& card, int) {
            imported.emplace_back(card.Question(), card.Answer());
            return true;
        });
        EXPECT_EQ(imported, cards);
        backend.AnswerMessageBox(DialogResult::No);  // the imported box is not saved
        backend.AnswerFileDialog(path);
        frame->ChooseMenu(ids::kCmFileOpen);
    }
    EXPECT_EQ(testing::ReadBytes(dir.File("out.txt")).substr(0, 3), "\xEF\xBB\xBF");
}

}  // namespace
}  // namespace tallyfold
