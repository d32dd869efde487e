#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/kas_file.h"
#include "table/file_io.h"
#include "table/native_path.h"
#include "tests/support/app_fixture.h"
#include "tests/support/faults.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using testing::AppTest;
using testing::Card;
using testing::Fill;
using testing::Questions;
using Names = std::vector<std::string>;

class FileCommandsTest : public AppTest {
  protected:
    /// A file with two cards and the program started on it.
    void StartOnFile() {
        tCardBox saved;
        saved.AddToPartition(Card("Haus", "house"), 2);
        saved.AddToPartition(Card("Baum", "tree"), 2);
        path = SaveBox(saved);
        Start(path);
    }
    /// A second vocabulary file with one card.
    FilePath OtherFile() {
        tCardBox other;
        other.AddToInput(Card("Katze", "cat"));
        return SaveBox(other, "other.vok");
    }
    int CardsIn(const FilePath& file) {
        tCardBox loaded;
        return LoadVokFile(file, loaded).loaded;
    }

    FilePath path;
};

TEST_F(FileCommandsTest, OpenWithoutChangesReplacesTheBox) {
    StartOnFile();
    const FilePath other = OtherFile();
    backend.AnswerFileDialog(other);
    frame->ChooseMenu(ids::kCmFileOpen);
    ASSERT_EQ(backend.FileDialogs().size(), 1u);
    const auto& dialog = backend.FileDialogs()[0];
    EXPECT_EQ(dialog.kind, platform::FileDialogKind::Open);
    EXPECT_EQ(dialog.data.filter, "Vokabeln (*.vok) | *.vok |");
    EXPECT_EQ(dialog.data.fileName, FilePath("*.vok"));
    EXPECT_EQ(dialog.data.flags, platform::kOfnPathMustExist | platform::kOfnFileMustExist);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_EQ(Question(), "Katze");
    EXPECT_EQ(view->FileName(), other);
    EXPECT_FALSE(view->Changed());
}

TEST_F(FileCommandsTest, OpenCancelledChangesNothing) {
    StartOnFile();
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::No);
    backend.AnswerFileDialog(FilePath());
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(box.TotalCards(), 2);
    EXPECT_EQ(view->FileName(), path);
    EXPECT_TRUE(view->Changed());
}

TEST_F(FileCommandsTest, OpenOfAnUnreadableFileIsReportedAndChangesNothing) {
    StartOnFile();
    const FilePath broken = dir.File("broken.vok");
    testing::WriteBytes(broken, "garbage");
    backend.AnswerFileDialog(broken);
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileOpen);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find(broken.Bytes()), std::string::npos);
    EXPECT_EQ(box.TotalCards(), 2);
    EXPECT_EQ(view->FileName(), path);
}

TEST_F(FileCommandsTest, OpenAsksToSaveChangesFirst) {
    StartOnFile();
    const FilePath other = OtherFile();
    frame->PressEnter();
    frame->PressEnter();  // Haus is known: changed
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(other);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Save existing changes?"});
    EXPECT_EQ(backend.MessageBoxes()[0].request.buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_EQ(backend.MessageBoxes()[0].request.caption, "");
    tCardBox saved;
    ASSERT_TRUE(LoadVokFile(path, saved).opened);
    EXPECT_EQ(Questions(saved, 3), Names{"Haus"});
    EXPECT_EQ(view->FileName(), other);
}

TEST_F(FileCommandsTest, YesWithoutAFileNameAsksForOneFirst) {
    Start();
    box.AddToInput(Card("a", "b"));
    ChangeTheBox();
    const FilePath target = dir.File("named.vok");
    const FilePath other = OtherFile();
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(target);
    backend.AnswerFileDialog(other);
    frame->ChooseMenu(ids::kCmFileOpen);
    ASSERT_EQ(backend.FileDialogs().size(), 2u);
    EXPECT_EQ(backend.FileDialogs()[0].kind, platform::FileDialogKind::Save);
    EXPECT_EQ(CardsIn(target), 1);
    EXPECT_EQ(view->FileName(), other);
}

TEST_F(FileCommandsTest, ACancelledSaveInThePromptStopsOpen) {
    Start();
    box.AddToInput(Card("a", "b"));
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(FilePath());  // Save as cancelled: no Open dialog follows
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(backend.FileDialogs().size(), 1u);
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_TRUE(view->Changed());
}

TEST_F(FileCommandsTest, AFailedSaveIsReportedAndKeepsTheMark) {
    StartOnFile();
    ChangeTheBox();
    const std::string before = testing::ReadBytes(path);
    backend.AnswerMessageBox(DialogResult::Ok);
    {
        testing::ScopedFault fault(FileOperation::Rename, 1, true);
        frame->ChooseMenu(ids::kCmFileSave);
    }
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("could not be saved"), std::string::npos);
    EXPECT_NE(MessageTexts()[0].find(path.Bytes()), std::string::npos);
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(testing::ReadBytes(path), before);
    EXPECT_EQ(view->FileName(), path);
}

TEST_F(FileCommandsTest, AFailedSaveAsKeepsTheOldName) {
    StartOnFile();
    ChangeTheBox();
    backend.AnswerFileDialog(dir.File("missing/folder.vok"));
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(view->FileName(), path);
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(MessageTexts().size(), 1u);
}

TEST_F(FileCommandsTest, SaveAsWritesTheBoxFileBeside) {
    StartOnFile();
    ChangeTheBox();
    const FilePath target = dir.File("copy.vok");
    backend.AnswerFileDialog(target);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    const auto& dialog = backend.FileDialogs().at(0);
    EXPECT_EQ(dialog.kind, platform::FileDialogKind::Save);
    EXPECT_EQ(dialog.data.flags, platform::kOfnPathMustExist);
    EXPECT_EQ(dialog.data.fileName, FilePath("*.vok"));
    EXPECT_EQ(view->FileName(), target);
    EXPECT_FALSE(view->Changed());
    EXPECT_EQ(CardsIn(target), 2);
    EXPECT_TRUE(std::filesystem::exists(dir.File("copy.kas").Bytes()));
    // Save as onto another file that holds cards asks first; No keeps that file.
    tCardBox other;
    testing::Fill(other, 2, 3, "other");
    const FilePath third = SaveBox(other, "third.vok");
    backend.AnswerFileDialog(third);
    backend.AnswerMessageBox(DialogResult::No);
    EXPECT_FALSE(view->SaveFileAs());
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              "third.vok holds 3 cards. Replace them with the 2 cards of this box?");
    EXPECT_EQ(CardsIn(third), 3);
    EXPECT_EQ(view->FileName(), target);
    backend.AnswerFileDialog(third);
    backend.AnswerMessageBox(DialogResult::Yes);
    EXPECT_TRUE(view->SaveFileAs());
    EXPECT_EQ(CardsIn(third), 2);
    EXPECT_EQ(view->FileName(), third);
}

TEST_F(FileCommandsTest, SaveAsGivesANameWithoutExtensionTheVocabularyOne) {
    StartOnFile();
    backend.AnswerFileDialog(dir.File("words"));
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(view->FileName(), dir.File("words.vok"));
    EXPECT_EQ(CardsIn(dir.File("words.vok")), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("words").Bytes()));
    // A name that has an extension, or only a leading dot, is taken as it is given.
    backend.AnswerFileDialog(dir.File("list.txt"));
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(view->FileName(), dir.File("list.txt"));
    backend.AnswerFileDialog(dir.File(".hidden"));
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(view->FileName(), dir.File(".hidden.vok"));
}

// Folders and files named in Greek and Cyrillic, from the command line and every file dialog.
TEST_F(FileCommandsTest, FileNamesInAnyScript) {
    const std::string greek = "\xCE\xBB\xCE\xAD\xCE\xBE\xCE\xB5\xCE\xB9\xCF\x82";
    const std::string cyrillic = "\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xB0";
    std::filesystem::create_directory(NativePath(dir.File(greek)));
    const FilePath words = dir.File(greek + "/" + cyrillic + ".vok");
    tCardBox saved;
    saved.AddToPartition(Card("Haus", "house"), 2);
    ASSERT_TRUE(SaveVokFile(words, saved));
    Start(words);
    EXPECT_EQ(Question(), "Haus");
    frame->PressEnter();
    frame->PressEnter();
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmFileSave));
    EXPECT_EQ(CardsIn(words), 1);
    EXPECT_FALSE(testing::ReadBytes(dir.File(greek + "/" + cyrillic + ".kas")).empty());

    const FilePath exported = dir.File(greek + "/" + cyrillic + ".txt");
    backend.AnswerFileDialog(exported);
    frame->ChooseMenu(ids::kCmFileExport);
    EXPECT_EQ(testing::ReadBytes(exported), "Haus;house\r\n");
    const FilePath list = dir.File(greek + "/" + cyrillic + "-list.txt");
    testing::WriteBytes(list, "Baum;tree\r\n");
    backend.AnswerFileDialog(list);
    backend.AnswerMessageBox(DialogResult::Ok);  // its summary
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_EQ(box.TotalCards(), 2);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              cyrillic + "-list.txt: 1 card added, 0 already in the box, 0 refused.");
    backend.ForgetMessageBoxes();
    const FilePath other = dir.File(greek + "/" + cyrillic + "2.vok");
    backend.AnswerFileDialog(other);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(view->FileName(), other);
    EXPECT_EQ(CardsIn(other), 2);
    backend.AnswerFileDialog(words);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_TRUE(MessageTexts().empty());

    // A message about such a file names it as it is spelt, never with question marks.
    const FilePath missing = dir.File(greek + "/" + cyrillic + "-missing.txt");
    backend.AnswerFileDialog(missing);
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileImport);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.file, missing);
    EXPECT_EQ(MessageTexts()[0], "This file could not be opened:\n" + missing.Bytes());
}

TEST_F(FileCommandsTest, TheSaveAsSettingsAreKeptBetweenUses) {
    StartOnFile();
    backend.AnswerFileDialog(dir.File("a.vok"));
    backend.AnswerFileDialog(dir.File("b.vok"));
    frame->ChooseMenu(ids::kCmFileSaveAs);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    // The second run starts from what the first one chose, name reset to "*.vok".
    EXPECT_EQ(backend.FileDialogs()[1].data.fileName, FilePath("*.vok"));
    EXPECT_EQ(backend.FileDialogs()[1].data.filter, backend.FileDialogs()[0].data.filter);
}

TEST_F(FileCommandsTest, NewAfterOpenKeepsTheFileName) {
    StartOnFile();
    backend.AnswerMessageBox(DialogResult::Cancel);
    frame->ChooseMenu(ids::kCmFileNew);
    EXPECT_EQ(box.TotalCards(), 2);
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileNew);
    const auto& warning = backend.MessageBoxes().at(1).request;
    EXPECT_EQ(warning.text, "All Data will be erased!");
    EXPECT_EQ(warning.buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(warning.icon, platform::MessageIcon::Question);
    EXPECT_EQ(box.TotalCards(), 0);
    EXPECT_EQ(view->FileName(), path);
    EXPECT_TRUE(view->Changed()) << "the box is no longer what the file holds";
    EXPECT_EQ(Question(),
              "The box is empty: Card > New (Ctrl+Shift+N) or File > Import adds cards");
    EXPECT_EQ(frame->Title(), "Tallyfold");
    // The empty box did not come from the file: Save asks before it replaces its cards.
    backend.AnswerMessageBox(DialogResult::No);
    frame->ChooseMenu(ids::kCmFileSave);
    EXPECT_EQ(CardsIn(path), 2);
    EXPECT_EQ(MessageTexts().back(),
              "words.vok holds 2 cards. Replace them with the 0 cards of this box?");
    backend.AnswerMessageBox(DialogResult::Yes);
    frame->ChooseMenu(ids::kCmFileSave);
    EXPECT_EQ(CardsIn(path), 0);
}

TEST_F(FileCommandsTest, CloseQueryAnswers) {
    StartOnFile();
    EXPECT_TRUE(view->CanClose());  // nothing changed: no question
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::No);
    EXPECT_TRUE(view->CanClose());
    backend.AnswerMessageBox(DialogResult::Yes);
    EXPECT_TRUE(view->CanClose());
    EXPECT_FALSE(view->Changed());
    EXPECT_EQ(backend.MessageBoxes().size(), 2u);
}

TEST_F(FileCommandsTest, CloseStaysOpenWhenTheSaveDidNotHappen) {
    Start();
    box.AddToInput(Card("a", "b"));
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(FilePath());
    EXPECT_FALSE(frame->CloseBox());
    EXPECT_FALSE(frame->Destroyed());
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(dir.File("no/such/folder.vok"));
    backend.AnswerMessageBox(DialogResult::Ok);  // the failure is reported
    EXPECT_FALSE(frame->CloseBox());
    backend.AnswerMessageBox(DialogResult::No);
    EXPECT_TRUE(frame->CloseBox());
}

TEST_F(FileCommandsTest, ExitWithAndWithoutChanges) {
    StartOnFile();
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::Yes);  // the file has a name: saved without a dialog
    frame->ChooseMenu(ids::kCmFileExit);
    EXPECT_EQ(backend.QuitCode(), 0);
    ASSERT_EQ(backend.HelpRequests().size(), 1u);
    EXPECT_EQ(backend.HelpRequests()[0].command, platform::HelpCommand::Quit);
    EXPECT_FALSE(view->Changed());
}

TEST_F(FileCommandsTest, ExitRefusedKeepsRunning) {
    Start();
    box.AddToInput(Card("a", "b"));
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(FilePath());
    frame->ChooseMenu(ids::kCmFileExit);
    EXPECT_FALSE(backend.QuitCode().has_value());
    EXPECT_TRUE(backend.HelpRequests().empty());
}

// The desktop's keys reach the File and Help commands from anywhere in the window.
TEST_F(FileCommandsTest, TheStandardKeysChooseTheFileAndHelpCommands) {
    StartOnFile();
    ChangeTheBox();
    ASSERT_TRUE(view->Changed());
    EXPECT_TRUE(frame->PressShortcut("Ctrl+S"));
    EXPECT_FALSE(view->Changed());
    EXPECT_TRUE(backend.FileDialogs().empty());

    backend.AnswerFileDialog(FilePath());
    EXPECT_TRUE(frame->PressShortcut("Ctrl+Shift+S"));
    ASSERT_EQ(backend.FileDialogs().size(), 1u);
    backend.AnswerFileDialog(FilePath());
    EXPECT_TRUE(frame->PressShortcut("Ctrl+O"));
    ASSERT_EQ(backend.FileDialogs().size(), 2u);

    EXPECT_TRUE(frame->PressShortcut("F1"));
    ASSERT_EQ(backend.HelpRequests().size(), 1u);
    EXPECT_EQ(backend.HelpRequests()[0].command, platform::HelpCommand::Contents);

    backend.AnswerMessageBox(DialogResult::Ok);  // "All Data will be erased!"
    EXPECT_TRUE(frame->PressShortcut("Ctrl+N"));
    EXPECT_EQ(box.TotalCards(), 0);
    backend.AnswerMessageBox(DialogResult::No);  // "Save existing changes?"
    EXPECT_TRUE(frame->PressShortcut("Ctrl+Q"));
    EXPECT_EQ(backend.QuitCode(), 0);
}

// A file dropped on the window: a vocabulary file opens (after the save prompt), any other
// file is imported.
TEST_F(FileCommandsTest, ADroppedVocabularyFileOpensAndATextFileIsImported) {
    StartOnFile();
    ChangeTheBox();
    const FilePath other = OtherFile();
    // A name of capitals (another file, where file names keep their case).
    const FilePath upper = dir.File("DROPPED.VOK");
    ASSERT_TRUE(std::filesystem::copy_file(other.Bytes(), upper.Bytes()));
    backend.AnswerMessageBox(DialogResult::Cancel);  // "Save existing changes?"
    frame->DropFile(upper);
    EXPECT_EQ(box.TotalCards(), 2);
    EXPECT_TRUE(view->Changed());
    backend.AnswerMessageBox(DialogResult::No);
    frame->DropFile(upper);
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_EQ(view->FileName(), upper);
    EXPECT_TRUE(backend.FileDialogs().empty());

    const FilePath text = dir.File("words.txt");
    std::FILE* stream = std::fopen(text.CString(), "wb");
    ASSERT_NE(stream, nullptr);
    std::fputs("Hund;dog\nKatze;cat\n", stream);
    std::fclose(stream);
    backend.AnswerMessageBox(DialogResult::Ok);  // the import's summary
    frame->DropFile(text);
    EXPECT_EQ(box.TotalCards(), 2);  // the cat is there already
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(view->FileName(), upper);
}

TEST_F(FileCommandsTest, ExitWithoutChangesAsksNothing) {
    Start();
    frame->ChooseMenu(ids::kCmFileExit);
    EXPECT_EQ(backend.QuitCode(), 0);
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

}  // namespace
}  // namespace tallyfold
