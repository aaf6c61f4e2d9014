// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/Twips.h"

#include <QByteArray>
#include <QListView>
#include <utility>

class QFileSystemWatcher;

namespace tunefold {

class FolderModel;

// The folder list: the folders from "/" down to the open folder, each a step
// further in, then the open folder's sub-folders sorted by name. A single
// click only highlights; a double-click or Enter opens the highlighted
// folder.
class FolderList final : public QListView
{
    Q_OBJECT

public:
    // twips sets the step of each level's indentation.
    FolderList(Twips twips, QWidget *parent);

    // The open folder as text: "/" for the root, no closing "/" otherwise.
    [[nodiscard]] QString Path() const;
    // The same as the file system's bytes.
    [[nodiscard]] const QByteArray &pathBytes() const;

    // Opens folder (absolute; "." and ".." are resolved by name, a closing
    // "/" is dropped) and reads its sub-folders. Returns 0, or the errno
    // value when the folder cannot be read; the list is then unchanged.
    [[nodiscard]] int setPath(const QByteArray &folder);
    [[nodiscard]] int setPath(const QString &folder);

    // Whether the open folder is still the folder at its path: it may have
    // been removed or renamed, or unmounted with its volume, leaving the
    // empty folder it was mounted on.
    [[nodiscard]] bool openFolderExists() const;
    // Opens the nearest folder above the open one (or the open one itself)
    // that can be read. Returns 0, or the errno value of the root's reading
    // when none can; the list is then unchanged.
    [[nodiscard]] int openNearestFolder();

    // How far in the row of a folder depth levels below "/" is drawn: a step
    // per level, but never more than a third of the width, so that a name
    // deep down still shows.
    [[nodiscard]] int indentation(int depth) const;

Q_SIGNALS:
    // The open folder was removed, moved or unmounted, as far as the system
    // tells; the list still shows it.
    void openFolderGone();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void openRow(const QModelIndex &index);

    Twips m_twips;
    FolderModel *m_model;
    QFileSystemWatcher *m_watcher;
    // The open folder's device and inode, as it was opened.
    std::pair<quint64, quint64> m_openFolderId;
};

} // namespace tunefold
