#include "platform/qt/qt_command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstring>

namespace tallyfold::platform::qt {

namespace {

// The first argument that is no option, as its bytes: a name need not be valid text.
std::string FirstFileArgument(int argc, const char* const* argv) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument == nullptr) {
            break;
        }
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
    QStringList arguments;
    for (int i = 0; i < argc && argv[i] != nullptr; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
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
    line.file = FirstFileArgument(argc, argv);
    return line;
}

}  // namespace tallyfold::platform::qt
