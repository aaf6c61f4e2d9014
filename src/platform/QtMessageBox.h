// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace tunefold {

// Message boxes as QMessageBox, with an OK button only.
class QtMessageBox final : public MessageBox
{
public:
    // appTitle captions a box shown without a title; parent is the window
    // the box is modal over and may be null.
    explicit QtMessageBox(QString appTitle, QWidget *parent = nullptr);

    void show(const QString &text, int style, const QString &title = {}) override;

private:
    QString m_appTitle;
    QPointer<QWidget> m_parent;
};

// The icon that a style number asks for: 16 critical, 32 question,
// 48 warning, 64 information, none otherwise. Button bits are ignored.
[[nodiscard]] QMessageBox::Icon iconForStyle(int style);

} // namespace tunefold
