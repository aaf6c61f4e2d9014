// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/DriveList.h"

#include "main_window/MouseMoves.h"

#include <QMouseEvent>
#include <utility>

namespace tunefold {

DriveList::DriveList(QList<Volume> volumes, QWidget *parent)
    : QComboBox(parent), m_volumes(std::move(volumes))
{
    keepMouseMoves(this);
    setFocusPolicy(Qt::StrongFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    for (const Volume &volume : std::as_const(m_volumes)) {
        const QString text = volume.label.isEmpty()
                                 ? volume.rootPath
                                 : QStringLiteral("%1 [%2]").arg(volume.rootPath, volume.label);
        addItem(text, volume.rootPath);
    }
}

QString DriveList::Drive() const
{
    return currentData().toString();
}

void DriveList::chooseVolumeOf(const QString &path)
{
    const int index = findData(volumeRootOf(m_volumes, path));
    if (index >= 0)
        setCurrentIndex(index);
}

void DriveList::mouseMoveEvent(QMouseEvent *event)
{
    QComboBox::mouseMoveEvent(event);
    event->accept();
}

} // namespace tunefold
