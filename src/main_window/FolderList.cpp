// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderList.h"

#include "main_window/MouseMoves.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <utility>

namespace tunefold {

namespace {

constexpr int PathRole = Qt::UserRole;

// The names of folder's sub-folders, links to folders included, or the
// errno value of the failure to read it.
struct SubFolders
{
    QList<QByteArray> names;
    int error = 0;
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
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        // A link, or a file system that does not say: ask, following links.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFolder = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder)
            result.names.append(name);
    }
    if (errno != 0)
        result.error = errno;
    ::closedir(dir);
    return result;
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

FolderList::FolderList(QWidget *parent) : QTreeWidget(parent)
{
    keepMouseMoves(this);
    setFocusPolicy(Qt::StrongFocus);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(8);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { openItem(item); });
}

QString FolderList::Path() const
{
    return QFile::decodeName(m_path);
}

int FolderList::setPath(const QString &folder)
{
    return setPath(QFile::encodeName(folder));
}

int FolderList::setPath(const QByteArray &folder)
{
    const QByteArray path = cleanFolderPath(folder);
    SubFolders subFolders = readSubFolders(path);
    if (subFolders.error != 0)
        return subFolders.error;
    // By name without regard to case; names that differ only in case keep
    // a fixed order.
    QList<std::pair<QString, QByteArray>> sorted;
    sorted.reserve(subFolders.names.size());
    for (const QByteArray &name : std::as_const(subFolders.names))
        sorted.append({QFile::decodeName(name), name});
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        const int byName = a.first.compare(b.first, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.second < b.second;
    });

    m_path = path;
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this);

    auto *open = new QTreeWidgetItem(this, {QStringLiteral("/")});
    open->setIcon(0, openIcon);
    open->setData(0, PathRole, QByteArray("/"));
    QByteArray walked = "/";
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty())
            continue;
        walked = joinPath(walked, part);
        open = new QTreeWidgetItem(open, {QFile::decodeName(part)});
        open->setIcon(0, openIcon);
        open->setData(0, PathRole, walked);
    }
    QList<QTreeWidgetItem *> children;
    children.reserve(sorted.size());
    for (const auto &[text, name] : std::as_const(sorted)) {
        auto *child = new QTreeWidgetItem({text});
        child->setIcon(0, closedIcon);
        child->setData(0, PathRole, joinPath(path, name));
        children.append(child);
    }
    open->addChildren(children);
    expandAll();
    setCurrentItem(open);
    scrollToItem(open);
    return 0;
}

void FolderList::openItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    // A folder that cannot be read stays closed; the list shows what it
    // showed, and the searched folder is still the one open before.
    if (setPath(item->data(0, PathRole).toByteArray()) != 0)
        QApplication::beep();
}

// Every folder shown is open or a leaf of the open one: there is nothing to
// expand or collapse, so no branch marks.
void FolderList::drawBranches(QPainter *, const QRect &, const QModelIndex &) const {}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openItem(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderList::mouseMoveEvent(QMouseEvent *event)
{
    QTreeWidget::mouseMoveEvent(event);
    event->accept();
}

} // namespace tunefold
