// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "platform/TagLibTrackReader.h"

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
    QCommandLineOption recursive{{QStringLiteral("r"), QStringLiteral("recursive")},
                                 QStringLiteral("descend into sub-folders")};
    QCommandLineOption format{QStringLiteral("format"), QStringLiteral("the list's format"),
                              QStringLiteral("FORMAT"), QStringLiteral("fragment")};
    QCommandLineOption sort{QStringLiteral("sort"), QStringLiteral("the order"),
                            QStringLiteral("KEY")};
    QCommandLineOption match{QStringLiteral("match"), QStringLiteral("names to list"),
                             QStringLiteral("GLOB")};
    QCommandLineOption audio{QStringLiteral("audio"), QStringLiteral("every audio format")};

    Parser()
    {
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(recursive);
        parser.addOption(format);
        parser.addOption(sort);
        parser.addOption(match);
        parser.addOption(audio);
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
    const QByteArray format = p.parser.value(p.format).toLatin1();
    const std::optional<ListFormat> listFormat = listFormatNamed(format.toStdString());
    const QByteArray sort = p.parser.value(p.sort).toLatin1();
    if (!listFormat || (p.parser.isSet(p.sort) && sort != "name")) {
        result.action = CommandLine::UsageError;
        result.error =
            listFormat ? "unknown sort key '" + sort + "'; KEY is name."
                       : "unknown format '" + format + "'; FORMAT is fragment, page, m3u or json.";
        return result;
    }
    for (const QString &glob : p.parser.values(p.match)) {
        // Patterns are matched against names, which never hold a "/".
        if (glob.contains(QLatin1Char('/')) || glob.isEmpty()) {
            result.action = CommandLine::UsageError;
            result.error = "--match '" + glob.toLatin1() +
                           "' can match no name; GLOB is a name "
                           "pattern such as '*.flac'.";
            return result;
        }
        result.options.namePatterns.push_back(glob.toLatin1().toStdString());
    }
    if (p.parser.isSet(p.audio)) {
        for (const std::string_view suffix : audioSuffixes())
            result.options.namePatterns.push_back("*." + std::string(suffix));
    }
    result.options.recursive = p.parser.isSet(p.recursive);
    result.options.format = *listFormat;
    result.options.sortByName = p.parser.isSet(p.sort);
    result.options.folder = positional[0].toLatin1();
    result.options.output = positional[1].toLatin1();
    return result;
}

QByteArray usageText()
{
    // The suffixes --audio lists, as the reader has them, wrapped to fit.
    QByteArray suffixes = "                      ";
    qsizetype lineStart = 0;
    for (const std::string_view suffix : audioSuffixes()) {
        if (suffixes.size() - lineStart + qsizetype(suffix.size()) >= 76) {
            lineStart = suffixes.size();
            suffixes += "\n                      ";
        }
        suffixes += ' ' + QByteArray(suffix.data(), qsizetype(suffix.size()));
    }
    return "Usage: tunefold-list [OPTION]... [--] FOLDER OUTPUT\n"
           "Writes an HTML list of the *.mp3 entries of FOLDER (or of those --match\n"
           "and --audio choose), with their sizes in megabytes, to OUTPUT; \"-\"\n"
           "writes to standard output. A regular file is replaced only once the\n"
           "whole list is written; a device or a pipe is written as it is.\n"
           "\n"
           "  -h, --help           print this text and exit\n"
           "      --version        print the version and exit\n"
           "  -r, --recursive      also list the entries of sub-folders, depth first,\n"
           "                       named by their path below FOLDER; folders reached\n"
           "                       through links are not entered\n"
           "      --format FORMAT  fragment (the default): the window's HTML document;\n"
           "                       page: a web page with tags, lengths and links;\n"
           "                       m3u: an M3U8 playlist; json: JSON Lines\n"
           "      --match GLOB     list the names matching GLOB instead of *.mp3 (*\n"
           "                       any run, ? one character, case ignored); may be\n"
           "                       given more than once\n"
           "      --audio          list every format read as music:\n" +
           suffixes +
           "\n"
           "      --sort name      sort by path, numbers by value, case ignored; this\n"
           "                       collects every entry first, so memory grows with\n"
           "                       their number (otherwise every format streams)\n"
           "  --                   end the options: what follows is FOLDER and OUTPUT\n"
           "\n"
           "JSON gives title, artist, album, disc, track, year, genre, seconds (to the\n"
           "millisecond) and bitrate; what a file does not say is null.\n"
           "\n"
           "Exit status: 0 when the list was written, 1 when FOLDER has no matching\n"
           "entry, 2 on wrong arguments, when FOLDER cannot be read, or when OUTPUT\n"
           "or standard output cannot be written; also 2, after a complete list,\n"
           "when a sub-folder could not be read or a name could not stand in the\n"
           "format (each is reported on standard error).\n";
}

} // namespace tunefold
