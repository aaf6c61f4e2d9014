// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "platform/TagLibTrackReader.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QUtf8StringView>
#include <algorithm>

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
    QCommandLineOption absolute{QStringLiteral("absolute"), QStringLiteral("absolute paths")};
    QCommandLineOption base{QStringLiteral("base"), QStringLiteral("the URL of FOLDER"),
                            QStringLiteral("URL")};

    Parser()
    {
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(recursive);
        parser.addOption(format);
        parser.addOption(sort);
        parser.addOption(match);
        parser.addOption(audio);
        parser.addOption(absolute);
        parser.addOption(base);
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
    const QByteArray base = p.parser.value(p.base).toLatin1();
    const auto refuse = [&result](const QByteArray &error) {
        result.action = CommandLine::UsageError;
        result.error = error;
        return result;
    };
    if (!listFormat)
        return refuse("unknown format '" + format +
                      "'; FORMAT is fragment, page, m3u, json or csv.");
    if (p.parser.isSet(p.sort) && sort != "name" && sort != "none")
        return refuse("unknown sort key '" + sort + "'; KEY is name or none.");
    if (p.parser.isSet(p.base) && p.parser.isSet(p.absolute))
        return refuse("--absolute and --base exclude each other.");
    // The URL goes into every playlist line and page link as it stands.
    const bool blank = std::any_of(base.begin(), base.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
    });
    if (p.parser.isSet(p.base) && (base.isEmpty() || blank || !QUtf8StringView(base).isValidUtf8()))
        return refuse("--base needs a URL in UTF-8 without blanks or control characters.");
    for (const QString &glob : p.parser.values(p.match)) {
        // Patterns are matched against names, which never hold a "/".
        if (glob.contains(QLatin1Char('/')) || glob.isEmpty())
            return refuse("--match '" + glob.toLatin1() +
                          "' can match no name; GLOB is a name pattern such as '*.flac'.");
        result.options.namePatterns.push_back(glob.toLatin1().toStdString());
    }
    if (p.parser.isSet(p.audio)) {
        for (const std::string_view suffix : audioSuffixes())
            result.options.namePatterns.push_back("*." + std::string(suffix));
    }
    result.options.recursive = p.parser.isSet(p.recursive);
    result.options.format = *listFormat;
    // Players and browsers show a library in the order people expect; the
    // fragment and JSON Lines keep the file system's, as they always had.
    const bool sortsByDefault = *listFormat == ListFormat::Page || *listFormat == ListFormat::M3u ||
                                *listFormat == ListFormat::Csv;
    result.options.sortByName = p.parser.isSet(p.sort) ? sort == "name" : sortsByDefault;
    result.options.absolute = p.parser.isSet(p.absolute);
    result.options.base = base;
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
           "  -r, --recursive      also list the entries of sub-folders, named by their\n"
           "                       path below FOLDER; folders reached through links are\n"
           "                       not entered\n"
           "      --format FORMAT  fragment (the default): the window's HTML document;\n"
           "                       page: a web page with tags, lengths and links, a\n"
           "                       table for each folder; m3u: an M3U8 playlist;\n"
           "                       json: JSON Lines; csv: comma-separated values\n"
           "      --match GLOB     list the names matching GLOB instead of *.mp3 (*\n"
           "                       any run, ? one character, case ignored); may be\n"
           "                       given more than once\n"
           "      --audio          list every format read as music:\n" +
           suffixes +
           "\n"
           "      --sort KEY       name: folder by folder, each one's names read and\n"
           "                       sorted (numbers by value, case ignored) before the\n"
           "                       walk goes on, its own files first, then its\n"
           "                       sub-folders in the same order, so memory grows with\n"
           "                       the largest folder, not the whole tree; the default\n"
           "                       for page, m3u and csv. none: the file system's\n"
           "                       order, depth first; the default for fragment and json\n"
           "      --absolute       page and m3u: absolute paths (file: URLs in a page)\n"
           "      --base URL       page and m3u: URL, a \"/\" and the percent-encoded path\n"
           "                       below FOLDER, for a list published on a web server\n"
           "  --                   end the options: what follows is FOLDER and OUTPUT\n"
           "\n"
           "Page, m3u, json and csv list regular files only; a file that cannot be\n"
           "read as audio is left out of a playlist and marked in a page. A page's\n"
           "links and a playlist's entries lead from OUTPUT's own folder to each file\n"
           "(absolute paths when the two share no folder but /); when OUTPUT is \"-\",\n"
           "a device or a pipe, they are FOLDER as given joined with the path below\n"
           "it, as find(1) prints them. JSON Lines and CSV give the path below FOLDER.\n"
           "\n"
           "JSON and CSV give title, artist, album, disc, track, year, genre, seconds\n"
           "(to the millisecond) and bitrate; what a file does not say is null in JSON.\n"
           "\n"
           "Exit status: 0 when the list was written, 1 when FOLDER has no matching\n"
           "entry, 2 on wrong arguments, when FOLDER cannot be read, or when OUTPUT\n"
           "or standard output cannot be written; also 2, after a complete list,\n"
           "when a sub-folder could not be read or a name could not stand in the\n"
           "format (each is reported on standard error).\n";
}

} // namespace tunefold
