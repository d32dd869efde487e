#include "platform/qt/qt_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyfold::platform::qt {
namespace {

CommandLine Read(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "/usr/bin/tallyfold");
    return ReadCommandLine(static_cast<int>(arguments.size()), arguments.data(),
                           QStringLiteral("1.2.3"));
}

TEST(CommandLine, HelpAndVersionInShortAndLongForm) {
    for (const char* option : {"-h", "--help"}) {
        const CommandLine line = Read({option, "words.vok"});
        EXPECT_EQ(line.action, CommandLine::Action::ShowHelp) << option;
        EXPECT_TRUE(line.text.startsWith(QStringLiteral("Usage: tallyfold [options] [FILE.vok]")))
            << line.text.toStdString();
        EXPECT_TRUE(line.text.contains(QStringLiteral("--version")));
    }
    for (const char* option : {"-v", "--version"}) {
        const CommandLine line = Read({option});
        EXPECT_EQ(line.action, CommandLine::Action::ShowVersion) << option;
        EXPECT_EQ(line.text, QStringLiteral("tallyfold 1.2.3\n"));
    }
}

// An option the program does not know is no file name: nothing would be saved under it.
TEST(CommandLine, AnUnknownOptionIsRefused) {
    for (const char* option : {"--bogus", "-x", "--help=now"}) {
        const CommandLine line = Read({option, "words.vok"});
        EXPECT_EQ(line.action, CommandLine::Action::Refuse) << option;
        EXPECT_TRUE(line.text.contains(QStringLiteral("tallyfold --help"))) << option;
        EXPECT_TRUE(line.file.empty());
    }
}

// Qt's own options are left to Qt, in each form Qt takes them.
TEST(CommandLine, QtsOwnOptionsAreQts) {
    for (const std::vector<const char*>& arguments :
         {std::vector<const char*>{"-style", "Fusion", "words.vok"},
          std::vector<const char*>{"-style=Fusion", "words.vok"},
          std::vector<const char*>{"--platform", "offscreen", "words.vok"},
          std::vector<const char*>{"-reverse", "words.vok", "-qwindowgeometry", "640x480"}}) {
        const CommandLine line = Read(arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Run) << arguments[0];
        EXPECT_EQ(line.file, "words.vok") << arguments[0];
    }
    EXPECT_EQ(Read({"-style", "Fusion"}).file, "") << "Fusion is the style's name";
    EXPECT_EQ(Read({"--", "-style"}).file, "-style") << "a file after --";
    EXPECT_EQ(Read({"-styles"}).action, CommandLine::Action::Refuse);
}

TEST(CommandLine, TheFirstFileIsOpenedAndDoubleDashEndsTheOptions) {
    EXPECT_EQ(Read({}).file, "");
    EXPECT_EQ(Read({}).action, CommandLine::Action::Run);
    EXPECT_EQ(Read({"a.vok", "b.vok"}).file, "a.vok");
    EXPECT_EQ(Read({"--", "--bogus"}).file, "--bogus");
    EXPECT_EQ(Read({"--", "--bogus"}).action, CommandLine::Action::Run);
    EXPECT_EQ(Read({"-", "a.vok"}).file, "-");
    // The name's bytes as given, valid text or not, and of any length.
    EXPECT_EQ(Read({"f\xE4hre.vok"}).file, "f\xE4hre.vok");
    const std::string longPath = "/" + std::string(400, 'x') + ".vok";
    EXPECT_EQ(Read({longPath.c_str()}).file, longPath);
}

}  // namespace
}  // namespace tallyfold::platform::qt
