// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/SvgPicture.h"

#include <QWidget>

namespace tunefold {

// A borderless picture box whose vector picture is stretched to fill it.
// Moves and clicks over it are reported and kept. A plain one takes no
// focus and is a graphic to assistive tools; a pressable one is a button
// there, with a press action, and is reached by Tab, never by a click, so
// the mouse sees no difference.
class PictureBox final : public QWidget
{
    Q_OBJECT

public:
    // name: what the picture shows, for assistive tools.
    PictureBox(const QString &file, const QString &name, QWidget *parent);

    [[nodiscard]] const QString &file() const { return m_picture.file(); }

    // Lets Enter, Space and an assistive tool's press do what a click does;
    // a dotted frame over the picture shows the keyboard focus.
    void setPressable(bool pressable);
    [[nodiscard]] bool isPressable() const { return m_pressable; }

    // Emits clicked() once the event being handled is done, so that a
    // caller that waits for an answer (an assistive tool's request) gets it
    // before a dialog opens.
    void pressLater();

Q_SIGNALS:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    // A left-button press and release, both over the picture; or a press by
    // keyboard or assistive tool on a pressable one.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SvgPicture m_picture;
    bool m_pressed = false;
    bool m_pressable = false;
};

} // namespace tunefold
