// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtMessageBox.h"

namespace tunefold {

QtMessageBox::QtMessageBox(QString appTitle, QWidget *parent)
    : m_appTitle(std::move(appTitle)), m_parent(parent)
{
}

void QtMessageBox::show(const QString &text, int style, const QString &title)
{
    const QString caption = title.isEmpty() ? m_appTitle : title;
    QMessageBox box(iconForStyle(style), caption, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QMessageBox::Icon iconForStyle(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace tunefold
