#include "platform/qt/qt_command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace tallyfold::platform::qt {

namespace {

// The options every Qt program takes (QApplication reads them, and takes them out of the
// arguments): with a value ("-style Fusion" or "-style=Fusion"), and without.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",      "platformpluginpath",
    "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry",
    "qwindowicon",   "qwindowtitle",
    "session",       "display",
    "geometry",      "style",
    "stylesheet",    "name",
    "title"};
constexpr std::array<std::string_view, 5> kQtFlags = {"reverse", "widgetcount", "nograb", "dograb",
                                                      "sync"};

// How many arguments from `argv[i]` on are one of Qt's own options: 0 for none. Qt takes
// them with one dash or two.
int QtOptionLength(int argc, const char* const* argv, int i) {
    std::string_view argument(argv[i]);
    if (!argument.starts_with('-')) {
        return 0;
    }
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    for (const std::string_view option : kQtOptionsWithValue) {
        if (name == option) {
            return equals != std::string_view::npos ? 1 : (i + 1 < argc ? 2 : 1);
        }
    }
    for (const std::string_view flag : kQtFlags) {
        if (argument == flag) {
            return 1;
        }
    }
    return 0;
}

// The arguments without Qt's own options (before a "--"), the program's name first.
std::vector<const char*> ProgramArguments(int argc, const char* const* argv) {
    std::vector<const char*> arguments;
    bool options = true;
    for (int i = 0; i < argc && argv[i] != nullptr; ++i) {
        if (i > 0 && options) {
            if (std::strcmp(argv[i], "--") == 0) {
                options = false;
            } else if (const int length = QtOptionLength(argc, argv, i); length > 0) {
                i += length - 1;
                continue;
            }
        }
        arguments.push_back(argv[i]);
    }
    return arguments;
}

// The first argument that is no option, as its bytes: a name need not be valid text.
std::string FirstFileArgument(const std::vector<const char*>& arguments) {
    bool options = true;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const char* argument = arguments[i];
        if (options && std::strcmp(argument, "--") == 0) {
            options = false;
            continue;
        }
        if (options && argument[0] == '-' && argument[1] != '\0') {
            continue;
        }
        return argument;
    }
    return {};
}

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv, const QString& version) {
    // Qt's own options are Qt's: QApplication reads them later.
    const std::vector<const char*> own = ProgramArguments(argc, argv);
    QStringList arguments;
    for (const char* argument : own) {
        arguments << QString::fromLocal8Bit(argument);
    }
    if (arguments.isEmpty()) {
        arguments << QStringLiteral("tallyfold");
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Learn vocabulary with a card box."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this text and exit."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(versionOption);
    parser.addPositionalArgument(
        QStringLiteral("FILE.vok"),
        QStringLiteral("The vocabulary file to open (a new name starts a new box)."),
        QStringLiteral("[FILE.vok]"));

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Refuse;
        line.text = QStringLiteral("tallyfold: %1\nTry 'tallyfold --help' for more.\n")
                        .arg(parser.errorText());
        return line;
    }
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::ShowHelp;
        // Without a running application the usage line names no program.
        line.text = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                              QStringLiteral("tallyfold")) +
                    QStringLiteral(
                        "\nIn the window: Enter or k looks and counts a card as known, Escape "
                        "or u as not\nknown. F1 opens the manual.\n");
        return line;
    }
    if (parser.isSet(versionOption)) {
        line.action = CommandLine::Action::ShowVersion;
        line.text = QStringLiteral("tallyfold %1\n").arg(version);
        return line;
    }
    line.file = FirstFileArgument(own);
    return line;
}

}  // namespace tallyfold::platform::qt
