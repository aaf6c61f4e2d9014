// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-list FOLDER OUTPUT: the star's list without the window, for
// scripts and for machines without a display.

#include "StdoutOutput.h"
#include "list/ListGeneration.h"
#include "platform/PosixFolderSearch.h"
#include "platform/SaveFileOutput.h"

#include <QFile>
#include <QLocale>
#include <cstdio>
#include <cstring>

namespace {

constexpr char Usage[] = "Usage: tunefold-list FOLDER OUTPUT\n"
                         "Writes an HTML list of the *.mp3 entries of FOLDER, with their sizes in\n"
                         "megabytes, to OUTPUT, replacing it; \"-\" writes to standard output.\n"
                         "\n"
                         "Exit status: 0 when the list was written, 1 when nothing matched,\n"
                         "2 on wrong arguments or when OUTPUT cannot be written (it is then left\n"
                         "as it was).\n";

void printLine(std::FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    using namespace tunefold;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc != 3) {
        std::fputs("tunefold-list: expected FOLDER and OUTPUT (see tunefold-list --help)\n",
                   stderr);
        return 2;
    }

    // The folder goes to the search as the bytes it was given, so a name
    // that is not valid UTF-8 still works.
    const QByteArray folder(argv[1]);
    const bool toStdout = std::strcmp(argv[2], "-") == 0;
    const QString target = QFile::decodeName(argv[2]);

    PosixFolderSearch search;
    StdoutOutput stdoutOutput;
    SaveFileOutput fileOutput;
    OutputFile &output = toStdout ? static_cast<OutputFile &>(stdoutOutput) : fileOutput;
    const ListOutcome outcome = generateList(
        folder, search, [&target] { return std::optional<QString>(target); }, output,
        QLocale::system().decimalPoint());

    switch (outcome.kind) {
    case ListOutcome::NoMatch:
        printLine(stderr, QString::fromLatin1(NoFilesText));
        return 1;
    case ListOutcome::Written:
        printLine(toStdout ? stderr : stdout, finishedText(outcome.count));
        return 0;
    case ListOutcome::Cancelled:
    case ListOutcome::Failed:
        break;
    }
    printLine(stderr, QStringLiteral("tunefold-list: %1: %2").arg(target, outcome.error));
    return 2;
}
