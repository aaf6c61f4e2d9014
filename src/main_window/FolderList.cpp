// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderList.h"

#include "forms/MouseMoves.h"
#include "main_window/FolderModel.h"

#include <QApplication>
#include <QFile>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <sys/stat.h>

namespace tunefold {

namespace {

// A folder's device and inode; zeros when it is no folder.
std::pair<quint64, quint64> folderId(const QByteArray &path)
{
    struct stat info;
    if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {0, 0};
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

// Draws each row moved in by its folder's depth.
class IndentingDelegate final : public QStyledItemDelegate
{
public:
    explicit IndentingDelegate(FolderList *list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() +
                              m_list->indentation(index.data(FolderModel::DepthRole).toInt()));
        QStyledItemDelegate::paint(painter, indented, index);
    }

private:
    FolderList *m_list;
};

} // namespace

FolderList::FolderList(Twips twips, QWidget *parent)
    : QListView(parent), m_twips(twips),
      m_model(new FolderModel(style()->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this),
                              style()->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this),
                              this)),
      m_watcher(new QFileSystemWatcher(this))
{
    keepMouseMoves(this);
    setFocusPolicy(Qt::StrongFocus);
    setModel(m_model);
    setItemDelegate(new IndentingDelegate(this));
    // Every row is as high as the first: the view need not ask each of a
    // hundred thousand rows for its size.
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::doubleClicked, this, &FolderList::openRow);
    // The folder's own removal, move or unmount; a change of its contents
    // is none of these and is left alone.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!openFolderExists())
            Q_EMIT openFolderGone();
    });
}

QString FolderList::Path() const
{
    return QFile::decodeName(m_model->path());
}

const QByteArray &FolderList::pathBytes() const
{
    return m_model->path();
}

int FolderList::setPath(const QString &folder)
{
    return setPath(QFile::encodeName(folder));
}

int FolderList::setPath(const QByteArray &folder)
{
    if (const int error = m_model->open(cleanFolderPath(folder)); error != 0)
        return error;
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_watcher->addPath(Path());
    m_openFolderId = folderId(pathBytes());
    const QModelIndex open = m_model->index(m_model->openRow());
    setCurrentIndex(open);
    scrollTo(open, QAbstractItemView::PositionAtCenter);
    return 0;
}

bool FolderList::openFolderExists() const
{
    const auto id = folderId(pathBytes());
    return id != std::pair<quint64, quint64>{0, 0} && id == m_openFolderId;
}

int FolderList::openNearestFolder()
{
    QByteArray folder = pathBytes();
    for (;;) {
        const int error = setPath(folder);
        if (error == 0 || folder == "/")
            return error;
        folder = cleanFolderPath(folder + "/..");
    }
}

int FolderList::indentation(int depth) const
{
    const int step = std::max(1, m_twips.toPixels(120));
    return std::min(depth * step, viewport()->width() / 3 / step * step);
}

void FolderList::openRow(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    // A folder that cannot be read stays closed; the list shows what it
    // showed, and the searched folder is still the one open before.
    if (setPath(index.data(FolderModel::PathRole).toByteArray()) != 0)
        QApplication::beep();
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openRow(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void FolderList::mouseMoveEvent(QMouseEvent *event)
{
    QListView::mouseMoveEvent(event);
    event->accept();
}

} // namespace tunefold
