// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QTreeWidget>

namespace tunefold {

// The folder list: the folders from "/" down to the open folder, then the
// open folder's sub-folders sorted by name. A single click only highlights;
// a double-click or Enter opens the highlighted folder.
//
// Paths are held as the file system's bytes, so a folder whose name is not
// valid UTF-8 can still be opened and searched.
class FolderList final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent);

    // The open folder as text: "/" for the root, no closing "/" otherwise.
    [[nodiscard]] QString Path() const;
    // The same as the file system's bytes.
    [[nodiscard]] const QByteArray &pathBytes() const { return m_path; }

    // Opens folder (absolute; "." and ".." are resolved by name, a closing
    // "/" is dropped) and reads its sub-folders. Returns 0, or the errno
    // value when the folder cannot be read; the list is then unchanged.
    [[nodiscard]] int setPath(const QByteArray &folder);
    [[nodiscard]] int setPath(const QString &folder);

protected:
    void drawBranches(QPainter *painter, const QRect &rect,
                      const QModelIndex &index) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void openItem(QTreeWidgetItem *item);

    QByteArray m_path;
};

// folder made absolute against "/" and cleaned by name: no empty, "." or
// ".." components, no closing "/" except for the root.
[[nodiscard]] QByteArray cleanFolderPath(const QByteArray &folder);

} // namespace tunefold
