// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/Twips.h"

#include "about/frmAbout.h"
#include "main_window/frmMain.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace tunefold {

namespace {

double s_scale = 0;
QFont s_font;

constexpr double ScaleStep = 1.0 / 64;
// Far beyond any desktop; a font that needs more gets it cut.
constexpr double LargestScale = 8;

bool fits(const QFontMetrics &metrics, const TextBox &box, double scale)
{
    // twipsRect() rounds each edge on its own, so a box can come out a pixel
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

double largestScaleOn(const QRect &available, const QFont &font)
{
    // The frame is not known before the window is shown: a title bar of two
    // lines and thin borders, as desktops draw them at this font.
    const int line = QFontMetrics(font).height();
    const int border = std::max(2, line / 8);
    const int menuBar = line + line / 2 + 4;
    const double byWidth = (available.width() - 2 * border) * 15.0 / 6252;
    const double byHeight = (available.height() - 2 * line - 2 * border - menuBar) * 15.0 / 3696;
    return std::max(ScaleStep, std::min(byWidth, byHeight));
}

double twipsScale()
{
    if (s_scale <= 0) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen ? screen->logicalDotsPerInch() : 96;
        const QList<TextBox> texts = frmMain::layoutTexts() + frmAbout::layoutTexts();
        s_font = QApplication::font();
        s_scale = fitTwipsScale(s_font, dpi, texts);
        // A window taller or wider than the screen loses its menu or its
        // status line: the scale stops at what the screen holds, and the
        // font shrinks until the texts fit that scale again.
        const double cap = screen ? largestScaleOn(screen->availableGeometry(), s_font) : s_scale;
        if (s_scale > cap) {
            QFont smaller = s_font;
            while (smaller.pointSizeF() > 1 &&
                   fitTwipsScale(smaller, std::min(dpi, cap * 96), texts) > cap)
                smaller.setPointSizeF(smaller.pointSizeF() - 0.25);
            s_font = smaller;
            s_scale = cap;
        }
    }
    return s_scale;
}

QFont twipsFont()
{
    (void)twipsScale();
    return s_font;
}

void setTwipsScale(double scale)
{
    s_scale = scale;
    s_font = QApplication::font();
}

} // namespace tunefold
