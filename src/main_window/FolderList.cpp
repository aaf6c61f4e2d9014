// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderList.h"

#include "forms/MouseMoves.h"
#include "main_window/FolderModel.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace tunefold {

namespace {

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
                              style()->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this), this))
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
    const QModelIndex open = m_model->index(m_model->openRow());
    setCurrentIndex(open);
    scrollTo(open, QAbstractItemView::PositionAtCenter);
    return 0;
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
