// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/SvgPicture.h"

#include <QWidget>

namespace tunefold {

// A borderless picture box whose vector picture is stretched to fill it. It
// takes no focus; moves and clicks over it are reported and kept.
class PictureBox final : public QWidget
{
    Q_OBJECT

public:
    // name: what the picture shows, for assistive tools.
    PictureBox(const QString &file, const QString &name, QWidget *parent);

    [[nodiscard]] const QString &file() const { return m_picture.file(); }

Q_SIGNALS:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    // A left-button press and release, both over the picture.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    SvgPicture m_picture;
    bool m_pressed = false;
};

} // namespace tunefold
