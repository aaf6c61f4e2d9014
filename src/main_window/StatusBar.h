// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace tunefold {

// A status bar with one text over its whole width. Unlike QStatusBar it has
// no size grip and no temporary messages: the text stays until replaced.
class StatusBar final : public QLabel
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget *parent);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

} // namespace tunefold
