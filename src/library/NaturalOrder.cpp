// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/NaturalOrder.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace tunefold {

void sortNaturally(std::vector<KeptEntry> &entries)
{
    // Qt's collator compares plain code points in the C locale, numbers and
    // case included, so that locale gets English collation instead.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Comparing folder by folder keeps each folder's files together: compared
    // whole, "A/x" and "A b/y" would interleave "A" and "A b" by where "/"
    // falls among the punctuation.
    const auto less = [&collator](const KeptEntry &a, const KeptEntry &b) {
        QStringView restA = a.key, restB = b.key;
        while (true) {
            const qsizetype slashA = restA.indexOf(u'/'), slashB = restB.indexOf(u'/');
            const QStringView partA = slashA < 0 ? restA : restA.left(slashA);
            const QStringView partB = slashB < 0 ? restB : restB.left(slashB);
            if (const int order = collator.compare(partA, partB); order != 0)
                return order < 0;
            if (slashA < 0 || slashB < 0) {
                if ((slashA < 0) != (slashB < 0))
                    return slashA < 0; // a folder's own files before its sub-folders'
                return a.path < b.path;
            }
            restA = restA.mid(slashA + 1);
            restB = restB.mid(slashB + 1);
        }
    };
    std::sort(entries.begin(), entries.end(), less);
}

} // namespace tunefold
