// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace tunefold {

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("print this text and exit")};
    QCommandLineOption version{QStringLiteral("version"),
                               QStringLiteral("print the version and exit")};

    Parser()
    {
        parser.addOption(help);
        parser.addOption(version);
    }
};

} // namespace

CommandLine parseCommandLine(int argc, const char *const *argv)
{
    // The parser wants QStrings. Latin-1 maps each byte to one character and
    // back, so option names still read as they should while every other
    // argument returns as exactly the bytes given; QFile::decodeName would
    // turn a name that is not UTF-8 into U+FFFD, another file's name.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLatin1(argv[i]));

    Parser p;
    CommandLine result;
    if (!p.parser.parse(arguments)) {
        result.action = CommandLine::UsageError;
        result.error = p.parser.errorText().toLatin1();
        return result;
    }
    if (p.parser.isSet(p.help)) {
        result.action = CommandLine::ShowHelp;
        return result;
    }
    if (p.parser.isSet(p.version)) {
        result.action = CommandLine::ShowVersion;
        return result;
    }
    const QStringList positional = p.parser.positionalArguments();
    if (positional.size() != 2) {
        result.action = CommandLine::UsageError;
        result.error = "expected FOLDER and OUTPUT.";
        return result;
    }
    result.options.folder = positional[0].toLatin1();
    result.options.output = positional[1].toLatin1();
    return result;
}

QByteArray usageText()
{
    return "Usage: tunefold-list [OPTION]... [--] FOLDER OUTPUT\n"
           "Writes an HTML list of the *.mp3 entries of FOLDER, with their sizes in\n"
           "megabytes, to OUTPUT; \"-\" writes to standard output. A regular file is\n"
           "replaced only once the whole list is written; a device or a pipe is\n"
           "written as it is.\n"
           "\n"
           "  -h, --help     print this text and exit\n"
           "      --version  print the version and exit\n"
           "  --             end the options: what follows is FOLDER and OUTPUT\n"
           "\n"
           "Exit status: 0 when the list was written, 1 when FOLDER has no *.mp3\n"
           "entry, 2 on wrong arguments, when FOLDER cannot be read, or when OUTPUT\n"
           "or standard output cannot be written.\n";
}

} // namespace tunefold
