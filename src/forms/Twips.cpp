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

} // namespace

double fitTwipsScale(const QFont &font, qreal dpi, const QList<TextBox> &boxes)
{
    const QFontMetrics metrics(font);
    // The layout's 13-pixel line at 96 DPI.
    double scale = std::max({1.0, dpi / 96.0, metrics.lineSpacing() / 13.0});
    while (scale < LargestScale &&
           !std::all_of(boxes.begin(), boxes.end(),
                        [&](const TextBox &box) { return fits(metrics, box, scale); }))
        scale += ScaleStep;
    return scale;
}

} // namespace tunefold
