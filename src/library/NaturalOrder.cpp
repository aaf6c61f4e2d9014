// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/NaturalOrder.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <numeric>

namespace tunefold {

void sortNaturally(std::vector<std::string> &names)
{
    if (names.size() < 2)
        return;
    // Qt's collator compares plain code points in the C locale, numbers and
    // case included, so that locale gets English collation instead.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Each name is decoded once; the sort moves indexes.
    std::vector<QString> keys;
    keys.reserve(names.size());
    for (const std::string &name : names)
        keys.push_back(QString::fromUtf8(name.data(), qsizetype(name.size())));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = collator.compare(keys[a], keys[b]); c != 0)
            return c < 0;
        return names[a] < names[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

} // namespace tunefold
