// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>
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

// font, or where its texts overflow their boxes at scale (one held back to fit
// a small screen), the same font at the largest point size, in quarter
// points, at which every box holds its text. A font sized in pixels comes
// back as it is.
[[nodiscard]] QFont fontFitting(const QFont &font, double scale, const QList<TextBox> &boxes);

// scale, or less where twips (a width and a height) would come out larger
// than room in pixels, but never below 1: the layout as drawn, which fits
// any screen.
[[nodiscard]] double scaleWithin(double scale, QSize twips, QSize room);

[[nodiscard]] inline int twipsToPixels(int twips, double scale)
{
    return qRound(twips * scale / 15.0);
}

// The layout's twips in logical pixels at one scale (logical pixels per 15
// twips), which the application fits once and hands to each window.
class Twips
{
public:
    explicit Twips(double scale) : m_scale(scale) {}

    [[nodiscard]] double scale() const { return m_scale; }
    [[nodiscard]] int toPixels(int twips) const { return twipsToPixels(twips, m_scale); }

    // Each edge is rounded on its own, so controls that touch in twips still
    // touch in pixels and nothing leaves the client area.
    [[nodiscard]] QRect rect(int left, int top, int width, int height) const
    {
        const int x = toPixels(left);
        const int y = toPixels(top);
        return QRect(x, y, toPixels(left + width) - x, toPixels(top + height) - y);
    }

private:
    double m_scale;
};

} // namespace tunefold
