// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QtMath>

namespace tunefold {

// The windows' layout is given in twips, 1440 to the logical inch. It was
// drawn for a 13-pixel line of text at 96 dots per inch, 15 twips to a
// pixel; on a desktop with a larger font or more dots per inch the logical
// inch grows with them, so that every text still fits its box and the
// windows keep their proportions.

// A text that the layout fits into a box (width and height in twips).
struct TextBox
{
    enum Kind {
        Line,    // one line, as a caption that sizes itself to its text
        Wrapped, // words wrapped within the width, cut off below the height
        Button,  // a push button's caption, with the style's margins
    };
    QString text;
    int width = 0;
    int height = 0;
    Kind kind = Line;
};

// Logical pixels per 15 twips: at least the logical DPI over 96 and the
// font's line spacing over 13 pixels, raised in steps of 1/64 until every box
// holds its text in font. dpi is the logical DPI that font's point size is
// measured at (the screen's).
[[nodiscard]] double fitTwipsScale(const QFont &font, qreal dpi, const QList<TextBox> &boxes);

// The scale of this run: fitted to the desktop's default font and the primary
// screen's logical DPI for the texts of both windows when first asked for,
// then fixed; but never more than the screen's available geometry holds.
[[nodiscard]] double twipsScale();
// The windows' font at that scale: the desktop's, or a smaller one that fits
// the boxes where the screen capped the scale.
[[nodiscard]] QFont twipsFont();
// Fixes the scale instead; 0 makes the next twipsScale() fit it afresh.
void setTwipsScale(double scale);

[[nodiscard]] inline int twipsToPixels(int twips, double scale)
{
    return qRound(twips * scale / 15.0);
}

[[nodiscard]] inline int twipsToPixels(int twips)
{
    return twipsToPixels(twips, twipsScale());
}

// Each edge is rounded on its own, so controls that touch in twips still
// touch in pixels and nothing leaves the client area.
[[nodiscard]] inline QRect twipsRect(int left, int top, int width, int height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

} // namespace tunefold
