// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QIcon>
#include <QList>
#include <vector>

namespace tunefold {

// The rows of the folder list: "/", each folder down to the open one, then
// the open folder's sub-folders by name. A folder of a hundred thousand
// sub-folders costs one name each, not an item object: texts and paths are
// made only for the rows on the screen.
//
// Paths are held as the file system's bytes, so a folder whose name is not
// valid UTF-8 can still be opened and searched.
class FolderModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        PathRole = Qt::UserRole, // QByteArray: the row's folder
        DepthRole,               // int: 0 for "/", one more per level below
    };

    FolderModel(QIcon openIcon, QIcon closedIcon, QObject *parent);

    // Reads folder (absolute and clean) and shows it open. Returns 0, or the
    // errno value when it cannot be read; the rows are then unchanged.
    [[nodiscard]] int open(const QByteArray &folder);

    [[nodiscard]] const QByteArray &path() const { return m_path; }
    // The open folder's row: the last of the folders from "/" down.
    [[nodiscard]] int openRow() const { return int(m_chain.size()) - 1; }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;

private:
    [[nodiscard]] const char *subFolder(qsizetype row) const;

    QByteArray m_path;
    QList<QByteArray> m_chain; // "/", then the path's components
    // The open folder's sub-folders: their names, each closed by a NUL, and
    // where each begins, by name.
    QByteArray m_names;
    std::vector<qsizetype> m_starts;
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

// folder made absolute against "/" and cleaned by name: no empty, "." or
// ".." components, no closing "/" except for the root.
[[nodiscard]] QByteArray cleanFolderPath(const QByteArray &folder);

} // namespace tunefold
