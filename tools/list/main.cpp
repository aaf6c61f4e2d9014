// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-list FOLDER OUTPUT: the star's list without the window, for
// scripts and for machines without a display.

#include "CommandLine.h"
#include "OutputLinks.h"
#include "StdoutOutput.h"
#include "app/AppIdentity.h"
#include "library/EntryWriting.h"
#include "library/NaturalOrder.h"
#include "library/RegularFiles.h"
#include "list/ListGeneration.h"
#include "platform/CoverImage.h"
#include "platform/FileOutput.h"
#include "platform/NaturalFolderSearch.h"
#include "platform/PosixFolderSearch.h"
#include "platform/TagLibTrackReader.h"

#include <QLocale>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {

using namespace tunefold;

constexpr int Listed = 0;
constexpr int NothingMatched = 1;
constexpr int Trouble = 2;

// A name is told as its bytes, but a control character in it would split
// the message's one line or drive the terminal: those show as \n, \r, \t
// or \xHH.
QByteArray shown(const QByteArray &name)
{
    QByteArray text;
    for (const char c : name) {
        if (c == '\n' || c == '\r' || c == '\t')
            text += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        else if (uchar(c) < 0x20 || c == 0x7F)
            text += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
        else
            text += c;
    }
    return text;
}

void complain(const QByteArray &name, const QByteArray &reason)
{
    // Nothing is left to tell anyone when standard error itself fails.
    (void)writeAll(STDERR_FILENO, "tunefold-list: " + shown(name) + ": " + reason + '\n');
}

// Standard output carries the document or the last word; losing either is a
// failure the caller must see, a full disk behind a redirection included.
int say(int fd, const QByteArray &text)
{
    if (const int error = writeAll(fd, text); error != 0) {
        complain(fd == STDOUT_FILENO ? "standard output" : "standard error", std::strerror(error));
        return Trouble;
    }
    return Listed;
}

// A folder that cannot be searched is the user's mistake and gets its
// reason; only a folder that was read to the end and held no match is
// "no MP3's".
int checkFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        complain(folder, std::strerror(errno));
        return Trouble;
    }
    ::close(fd);
    return Listed;
}

int list(const ListOptions &options)
{
    if (const int status = checkFolder(options.folder); status != Listed)
        return status;
    const bool toStdout = options.output == "-";
    // What could not be read or written is told as it happens and turns
    // the final status into 2; the list goes on with everything else.
    const auto problem = [](std::string_view path, int error) {
        complain(QByteArray(path.data(), qsizetype(path.size())), std::strerror(error));
    };
    PosixFolderSearch fileSystemOrder(options.recursive, problem);
    NaturalFolderSearch naturalOrder(options.recursive, sortNaturally, problem);
    FolderSearch &search =
        options.sortByName ? static_cast<FolderSearch &>(naturalOrder) : fileSystemOrder;
    QByteArray folder = options.folder;
    if (!folder.endsWith('/'))
        folder += '/';
    ListRequest request{options.format,
                        [] { return std::make_unique<TagLibTrackReader>(); },
                        [&folder](std::string_view path, const char *reason) {
                            complain(folder + QByteArray(path.data(), qsizetype(path.size())),
                                     reason);
                        },
                        {}};
    request.setup.title = realFolderName(options.folder);
    request.setup.links = linksFor(options);
    request.setup.coverImage = [&folder](std::string_view below) {
        return findCoverImage(folder.toStdString() + std::string(below));
    };
    StdoutOutput stdoutOutput;
    FileOutput fileOutput;
    OutputFile &output = toStdout ? static_cast<OutputFile &>(stdoutOutput) : fileOutput;
    const ListOutcome outcome = generateList(
        options.folder, search, [&] { return std::optional<QByteArray>(options.output); }, output,
        QLocale::system().decimalPoint(), entryWriting(std::move(request)), options.namePatterns);

    switch (outcome.kind) {
    case ListOutcome::NoMatch:
        (void)say(STDERR_FILENO, QByteArray(NoFilesText) + '\n');
        return NothingMatched;
    case ListOutcome::Written: {
        const int status = say(toStdout ? STDERR_FILENO : STDOUT_FILENO,
                               finishedText(outcome.count).toLocal8Bit() + '\n');
        return search.partial() || outcome.refusedSome ? Trouble : status;
    }
    case ListOutcome::Cancelled:
    case ListOutcome::Failed:
        break;
    }
    complain(toStdout ? QByteArray("standard output") : options.output,
             outcome.error.toLocal8Bit());
    return Trouble;
}

// A standard stream started closed would be taken by the next file opened,
// and the list or a message written into it. Each gets /dev/null, read-only
// for standard output, so that writing the list or the last word there
// still fails (EBADF) and says so.
void holdStandardStreams()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int opened = ::open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            (void)dup2(opened, fd);
            ::close(opened);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    holdStandardStreams();
    const CommandLine commandLine = parseCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::ShowHelp:
        return say(STDOUT_FILENO, usageText());
    case CommandLine::ShowVersion:
        return say(STDOUT_FILENO, "tunefold-list " + app::versionNumber().toLatin1() + '\n');
    case CommandLine::UsageError:
        (void)writeAll(STDERR_FILENO,
                       "tunefold-list: " + commandLine.error + " Try 'tunefold-list --help'.\n");
        return Trouble;
    case CommandLine::List:
        break;
    }
    // Unwinding runs the output's clean-up: the old OUTPUT stays, and no
    // temporary file is left.
    try {
        return list(commandLine.options);
    } catch (const std::bad_alloc &) {
        complain(commandLine.options.output, std::strerror(ENOMEM));
        return Trouble;
    }
}
