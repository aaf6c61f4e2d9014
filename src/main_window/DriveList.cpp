// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/DriveList.h"

#include "forms/MouseMoves.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStylePainter>
#include <utility>

namespace tunefold {

DriveList::DriveList(VolumeList &volumes, QWidget *parent) : QComboBox(parent), m_source(volumes)
{
    keepMouseMoves(this);
    setFocusPolicy(Qt::StrongFocus);
    view()->setTextElideMode(Qt::ElideMiddle);
    refresh();
    m_source.watch([this] {
        refresh();
        Q_EMIT mountsChanged();
    });
}

void DriveList::refresh()
{
    QList<Volume> volumes = m_source.volumes();
    if (volumes == m_volumes)
        return;
    const QString chosen = Drive();
    m_volumes = std::move(volumes);
    const QSignalBlocker quiet(this);
    clear();
    for (const Volume &volume : std::as_const(m_volumes)) {
        const QString text = volume.label.isEmpty()
                                 ? volume.rootPath
                                 : QStringLiteral("%1 [%2]").arg(volume.rootPath, volume.label);
        addItem(text, volume.rootPath);
    }
    if (!chosen.isEmpty())
        setCurrentIndex(std::max(0, findData(volumeRootOf(m_volumes, chosen))));
}

void DriveList::showPopup()
{
    refresh();
    QComboBox::showPopup();
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

// As QComboBox paints itself, but with the chosen entry cut in the middle
// when it is wider than the box.
void DriveList::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText =
        fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void DriveList::mouseMoveEvent(QMouseEvent *event)
{
    QComboBox::mouseMoveEvent(event);
    event->accept();
}

} // namespace tunefold
