// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelIcon.h"

#include <QList>
#include <algorithm>
#include <array>
#include <string_view>

namespace tunefold::artwork {

namespace {

// A monitor with a blue screen, its stand and keyboard, and a magnifying glass
// with a cyan lens and a red grip held over the screen's right half.
// clang-format off
constexpr std::array<std::string_view, 16> Pixels = {
    "kkkkkkkkkkkk....",
    "kwwwwwwwwwsk....",
    "kwnnnnnnkkkk....",
    "kwnbbbbkwccck...",
    "kwnbbbkwccccck..",
    "kwnbbbkcccccck..",
    "kwnbbbkcccccck..",
    "kwnnnnkcccccck..",
    "ksGGGGGkcccckk..",
    "kkkkkkkkkkkkkGm.",
    "...kGGGk.....mrm",
    "...kkkkk......mr",
    "kkkkkkkkkkkkk..m",
    "kwGwGwGwGwGwk...",
    "ksswwwwwwwssk...",
    "kkkkkkkkkkkkk...",
};
// clang-format on

struct PaletteEntry
{
    char key;
    QRgb colour;
};

// Colours of the classic 16-colour palette; '.' is transparent.
constexpr std::array<PaletteEntry, 16> Palette = {{
    {'.', 0x00000000},
    {'k', 0xff000000}, // black
    {'m', 0xff800000}, // maroon
    {'g', 0xff008000}, // green
    {'o', 0xff808000}, // olive
    {'n', 0xff000080}, // navy
    {'p', 0xff800080}, // purple
    {'t', 0xff008080}, // teal
    {'G', 0xff808080}, // grey
    {'s', 0xffc0c0c0}, // silver
    {'r', 0xffff0000}, // red
    {'l', 0xff00ff00}, // lime
    {'y', 0xffffff00}, // yellow
    {'b', 0xff0000ff}, // blue
    {'c', 0xff00ffff}, // cyan
    {'w', 0xffffffff}, // white
}};

} // namespace

QImage PixelIcon::image()
{
    QImage icon(16, 16, QImage::Format_Indexed8);
    QList<QRgb> table{Palette[0].colour};
    std::array<int, 128> indexOf{};
    indexOf.fill(-1);
    indexOf['.'] = 0;

    for (int y = 0; y < 16; ++y) {
        if (Pixels[y].size() != 16)
            return {};
        for (int x = 0; x < 16; ++x) {
            const unsigned char key = static_cast<unsigned char>(Pixels[y][x]);
            if (key >= indexOf.size())
                return {};
            if (indexOf[key] < 0) {
                const auto *entry =
                    std::find_if(Palette.begin(), Palette.end(),
                                 [key](const PaletteEntry &e) { return e.key == key; });
                if (entry == Palette.end())
                    return {};
                indexOf[key] = int(table.size());
                table.append(entry->colour);
            }
            icon.scanLine(y)[x] = uchar(indexOf[key]);
        }
    }
    icon.setColorTable(table);
    return icon;
}

} // namespace tunefold::artwork
