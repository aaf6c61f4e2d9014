// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tunefold {

class CommonDialog;
class FolderSearch;
class MessageBox;
class OutputFile;
struct FolderEntry;

struct ListOutcome
{
    enum Kind {
        NoMatch,   // nothing matched; no target was asked for
        Cancelled, // the user chose no target
        Failed,    // the target could not be written; a file that was to be
                   // replaced is as it was
        Written,   // the whole document is in place
    };
    Kind kind = NoMatch;
    std::uint64_t count = 0;  // rows written
    QByteArray target;        // where the document went, as the file system names it
    QString error;            // the system's reason, for Failed
    bool refusedSome = false; // an entry was left out: the format cannot hold its name
};

struct EntriesWritten
{
    bool written = false;     // false when the output failed
    std::uint64_t count = 0;  // rows written
    bool refusedSome = false; // some entry was left out: the format cannot hold its name
};

// Writes a whole document to output: the first and every further match of
// search, header and footer included. folder is the folder searched;
// decimalPoint is the locale's separator for sizes, as UTF-8.
using EntryWriting = std::function<EntriesWritten(const QByteArray &folder, FolderSearch &search,
                                                  const FolderEntry &first, OutputFile &output,
                                                  const std::string &decimalPoint)>;

// The window's document: names and sizes in the order the search finds them.
[[nodiscard]] EntriesWritten writeFragment(const QByteArray &folder, FolderSearch &search,
                                           const FolderEntry &first, OutputFile &output,
                                           const std::string &decimalPoint);

// Asks where to write; std::nullopt means the user cancelled.
using TargetChooser = std::function<std::optional<QByteArray>()>;

// Builds the search pattern for a folder: "/" joins the folder and "*.mp3"
// unless the folder already ends in one.
[[nodiscard]] QByteArray mp3Pattern(const QByteArray &folder);

// Searches folder for "*.mp3" and, when something matches, asks chooseTarget
// where to write and writes the list document there while the search goes on.
// decimalPoint is the locale's separator for the size column; writeEntries
// makes the document (the window's by default).
[[nodiscard]] ListOutcome generateList(const QByteArray &folder, FolderSearch &search,
                                       const TargetChooser &chooseTarget, OutputFile &output,
                                       const QString &decimalPoint,
                                       const EntryWriting &writeEntries = writeFragment);

// What a click on the star does: list generation with the window's dialog and
// message boxes. Ends silently on any failure.
void Image2_Click(const QByteArray &folder, FolderSearch &search, CommonDialog &CD,
                  OutputFile &output, MessageBox &messages);

// The final message's text for count rows.
[[nodiscard]] QString finishedText(std::uint64_t count);

inline constexpr char NoFilesText[] = "Sorry, there are no MP3's in this directory";
inline constexpr char NoFilesTitle[] = "No files found";
inline constexpr char FinishedTitle[] = "Finished";

} // namespace tunefold
