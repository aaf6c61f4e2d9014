// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/ListGeneration.h"

#include "list/ListDocument.h"
#include "platform/CommonDialog.h"
#include "platform/FolderSearch.h"
#include "platform/MessageBox.h"
#include "platform/OutputFile.h"

#include <QFile>
#include <QLocale>

namespace tunefold {

namespace {

// Ends the search on every way out of generateList().
class SearchGuard
{
public:
    explicit SearchGuard(FolderSearch &search) : m_search(search) {}
    ~SearchGuard() { m_search.close(); }
    SearchGuard(const SearchGuard &) = delete;
    SearchGuard &operator=(const SearchGuard &) = delete;

private:
    FolderSearch &m_search;
};

} // namespace

QByteArray mp3Pattern(const QByteArray &folder)
{
    QByteArray pattern = folder;
    if (!pattern.endsWith('/'))
        pattern += '/';
    return pattern + "*.mp3";
}

QString finishedText(std::uint64_t count)
{
    return QString::number(count) + QStringLiteral(" MP3's were generated, have a nice day!");
}

EntriesWritten writeFragment(const QByteArray &, FolderSearch &search, const FolderEntry &first,
                             OutputFile &output, const std::string &decimalPoint)
{
    EntriesWritten rows;
    ListDocument document(output, decimalPoint);
    if (!document.writeHeader())
        return rows;
    FolderEntry entry = first;
    bool written = true;
    do {
        written = document.writeEntry(entry.name, entry.size);
        if (written)
            ++rows.count;
    } while (written && search.findNext(entry));
    rows.written = written && document.writeFooter();
    return rows;
}

ListOutcome generateList(const QByteArray &folder, FolderSearch &search,
                         const TargetChooser &chooseTarget, OutputFile &output,
                         const QString &decimalPoint, const EntryWriting &writeEntries)
{
    ListOutcome outcome;
    SearchGuard guard(search);
    FolderEntry entry;
    // The first match is looked for before anyone is asked where to save, so
    // a folder without music costs the user no dialog.
    const QByteArray pattern = mp3Pattern(folder);
    if (!search.findFirst(std::string_view(pattern.constData(), pattern.size()), entry))
        return outcome;

    const std::optional<QByteArray> target = chooseTarget();
    if (!target) {
        outcome.kind = ListOutcome::Cancelled;
        return outcome;
    }
    outcome.target = *target;
    outcome.kind = ListOutcome::Failed;
    if (!output.open(*target)) {
        outcome.error = output.errorString();
        return outcome;
    }

    const EntriesWritten rows =
        writeEntries(folder, search, entry, output, decimalPoint.toStdString());
    outcome.count = rows.count;
    outcome.refusedSome = rows.refusedSome;
    if (!rows.written || !output.commit()) {
        outcome.error = output.errorString();
        output.discard();
        return outcome;
    }
    outcome.kind = ListOutcome::Written;
    return outcome;
}

void Image2_Click(const QByteArray &folder, FolderSearch &search, CommonDialog &CD,
                  OutputFile &output, MessageBox &messages)
{
    const auto askForTarget = [&CD]() -> std::optional<QByteArray> {
        CD.DefaultExt = QStringLiteral("html");
        CD.DialogTitle = QStringLiteral("Save your MP3 list...");
        CD.Filter = QStringLiteral("HTML Files (*.html)|*.html");
        CD.CancelError = true;
        if (!CD.ShowSave())
            return std::nullopt;
        return QFile::encodeName(CD.FileName);
    };
    const ListOutcome outcome =
        generateList(folder, search, askForTarget, output, QLocale::system().decimalPoint());
    switch (outcome.kind) {
    case ListOutcome::NoMatch:
        messages.show(QString::fromLatin1(NoFilesText), OkOnly, QString::fromLatin1(NoFilesTitle));
        break;
    case ListOutcome::Written:
        messages.show(finishedText(outcome.count), Information, QString::fromLatin1(FinishedTitle));
        break;
    case ListOutcome::Cancelled:
    case ListOutcome::Failed:
        // The click ends silently: the user chose to stop, or the old file
        // is still there as it was.
        break;
    }
}

} // namespace tunefold
