// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace tunefold {

// A black text label that lets the window's background show through, takes
// no focus and reports and keeps the pointer's moves over it.
class Label final : public QLabel
{
    Q_OBJECT

public:
    Label(const QString &text, QWidget *parent);

    // The text colour as a 24-bit value with red in the low byte and blue in
    // the high byte (0xFF0000 is pure blue).
    void setForeColor(quint32 color);

Q_SIGNALS:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A 24-bit colour value (red low, blue high) as a QColor.
[[nodiscard]] QColor colorFromValue(quint32 color);

} // namespace tunefold
