// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderModel.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <utility>

namespace tunefold {

namespace {

// The names of a folder's sub-folders, links to folders included, one after
// the other in one block, each closed by a NUL: a hundred thousand names
// cost one allocation, not one each.
struct SubFolders
{
    QByteArray names;
    std::vector<qsizetype> starts; // where each name begins in names
    int error = 0;

    [[nodiscard]] const char *name(qsizetype i) const { return names.constData() + starts[i]; }
};

SubFolders readSubFolders(const QByteArray &folder)
{
    SubFolders result;
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        result.error = errno;
        return result;
    }
    const int dirFd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        // A link, or a file system that does not say: ask, following links.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFolder = ::fstatat(dirFd, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder) {
            result.starts.push_back(result.names.size());
            result.names.append(name, qsizetype(std::strlen(name) + 1));
        }
    }
    if (errno != 0)
        result.error = errno;
    ::closedir(dir);
    return result;
}

// Orders names by their case-folded text; names that differ only in case
// keep a fixed order by their bytes. Up to the first byte beyond ASCII the
// bytes are the text's characters, so most pairs are told apart without
// making any text at all.
bool namedBefore(const char *a, const char *b)
{
    int byName = 0;
    for (std::size_t i = 0;; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) {
            byName = QString::compare(QFile::decodeName(a).toCaseFolded(),
                                      QFile::decodeName(b).toCaseFolded());
            break;
        }
        const int foldedX = x >= 'A' && x <= 'Z' ? x + ('a' - 'A') : x;
        const int foldedY = y >= 'A' && y <= 'Z' ? y + ('a' - 'A') : y;
        if (foldedX != foldedY || x == 0) {
            byName = foldedX - foldedY;
            break;
        }
    }
    return byName != 0 ? byName < 0 : std::strcmp(a, b) < 0;
}

// The first 16 characters of a name as namedBefore() orders them, packed
// into two numbers that compare in the same order: folded ASCII bytes, 0xFF
// from the first byte beyond ASCII on (which orders after every ASCII
// character), 0 after the end. Sorting compares these, in one array, first
// and looks at the names only where they are equal.
struct SortKey
{
    quint64 high = 0;
    quint64 low = 0;
    qsizetype start = 0;
};

SortKey sortKey(const char *name, qsizetype start)
{
    SortKey key;
    key.start = start;
    bool beyondAscii = false;
    for (int i = 0; i < 16; ++i) {
        auto byte = static_cast<unsigned char>(name[i]);
        if (byte == 0 && !beyondAscii)
            break;
        beyondAscii = beyondAscii || byte >= 0x80;
        if (beyondAscii)
            byte = 0xFF;
        else if (byte >= 'A' && byte <= 'Z')
            byte += 'a' - 'A';
        quint64 &half = i < 8 ? key.high : key.low;
        half |= quint64(byte) << (8 * (7 - i % 8));
    }
    return key;
}

void sortByName(SubFolders &found)
{
    std::vector<SortKey> keys;
    keys.reserve(found.starts.size());
    for (const qsizetype start : found.starts)
        keys.push_back(sortKey(found.names.constData() + start, start));
    const char *names = found.names.constData();
    std::sort(keys.begin(), keys.end(), [names](const SortKey &a, const SortKey &b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        return namedBefore(names + a.start, names + b.start);
    });
    for (std::size_t i = 0; i < keys.size(); ++i)
        found.starts[i] = keys[i].start;
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    return folder == "/" ? folder + name : folder + '/' + name;
}

} // namespace

QByteArray cleanFolderPath(const QByteArray &folder)
{
    QList<QByteArray> parts;
    for (const QByteArray &part : folder.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QByteArray result;
    for (const QByteArray &part : std::as_const(parts))
        result += '/' + part;
    return result.isEmpty() ? QByteArray("/") : result;
}

FolderModel::FolderModel(QIcon openIcon, QIcon closedIcon, QObject *parent)
    : QAbstractListModel(parent), m_openIcon(std::move(openIcon)),
      m_closedIcon(std::move(closedIcon))
{
}

int FolderModel::open(const QByteArray &folder)
{
    SubFolders found = readSubFolders(folder);
    if (found.error != 0)
        return found.error;
    sortByName(found);

    beginResetModel();
    m_path = folder;
    m_chain = {QByteArray("/")};
    for (const QByteArray &part : folder.split('/')) {
        if (!part.isEmpty())
            m_chain.append(part);
    }
    m_names = std::move(found.names);
    m_starts = std::move(found.starts);
    endResetModel();
    return 0;
}

const char *FolderModel::subFolder(qsizetype row) const
{
    return m_names.constData() + m_starts[std::size_t(row - m_chain.size())];
}

int FolderModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_chain.size() + qsizetype(m_starts.size()));
}

QVariant FolderModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const qsizetype row = index.row();
    const bool inChain = row < m_chain.size();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return inChain ? QFile::decodeName(m_chain.at(row)) : QFile::decodeName(subFolder(row));
    case Qt::DecorationRole:
        return inChain ? m_openIcon : m_closedIcon;
    case DepthRole:
        return int(std::min(row, m_chain.size()));
    case PathRole: {
        if (!inChain)
            return joinPath(m_path, subFolder(row));
        QByteArray path = "/";
        for (qsizetype i = 1; i <= row; ++i)
            path = joinPath(path, m_chain.at(i));
        return path;
    }
    default:
        return {};
    }
}

} // namespace tunefold
