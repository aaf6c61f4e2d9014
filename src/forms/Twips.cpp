// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace tunefold {

namespace {

constexpr double ScaleStep = 1.0 / 64;
// Far beyond any desktop; a font that needs more gets it cut.
constexpr double LargestScale = 8;
// Steps a font shrinks by, and the size it stops at: by then the layout is
// past reading anyway.
constexpr double PointStep = 0.25;
constexpr double SmallestPoints = 4;

bool fits(const QFontMetrics &metrics, const TextBox &box, double scale)
{
    // Twips::rect() rounds each edge on its own, so a box can come out a pixel
    // narrower or lower than its size alone would round to.
    const int width = twipsToPixels(box.width, scale) - 1;
    const int height = twipsToPixels(box.height, scale) - 1;
    QSize needed;
    if (box.kind == TextBox::Button) {
        QStyleOptionButton option;
        option.text = box.text;
        option.fontMetrics = metrics;
        needed = QApplication::style()->sizeFromContents(
            QStyle::CT_PushButton, &option, metrics.size(Qt::TextShowMnemonic, box.text));
    } else {
        const int flags = Qt::AlignLeft | Qt::AlignTop |
                          (box.kind == TextBox::Wrapped ? Qt::TextWordWrap : Qt::TextSingleLine);
        needed = metrics.boundingRect(QRect(0, 0, width, 1 << 20), flags, box.text).size();
    }
    return needed.width() <= width && needed.height() <= height;
}

bool allFit(const QFontMetrics &metrics, const QList<TextBox> &boxes, double scale)
{
    return std::all_of(boxes.begin(), boxes.end(),
                       [&](const TextBox &box) { return fits(metrics, box, scale); });
}

} // namespace

double fitTwipsScale(const QFont &font, qreal dpi, const QList<TextBox> &boxes)
{
    const QFontMetrics metrics(font);
    // The layout's 13-pixel line at 96 DPI.
    double scale = std::max({1.0, dpi / 96.0, metrics.lineSpacing() / 13.0});
    while (scale < LargestScale && !allFit(metrics, boxes, scale))
        scale += ScaleStep;
    return scale;
}

QFont fontFitting(const QFont &font, double scale, const QList<TextBox> &boxes)
{
    QFont fitted = font;
    while (fitted.pointSizeF() - PointStep >= SmallestPoints &&
           !allFit(QFontMetrics(fitted), boxes, scale))
        fitted.setPointSizeF(fitted.pointSizeF() - PointStep);
    return fitted;
}

double scaleWithin(double scale, QSize twips, QSize room)
{
    return std::max(1.0, std::min({scale, room.width() * 15.0 / twips.width(),
                                   room.height() * 15.0 / twips.height()}));
}

} // namespace tunefold
