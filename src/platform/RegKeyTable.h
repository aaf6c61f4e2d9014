// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QtGlobal>
#include <vector>

namespace tunefold {

struct RegValue
{
    quint32 type = 0;
    QByteArray data;
};

// The keys and values of a store, as a flat table of full key paths (root
// included, levels separated by "\"). Paths and value names are compared
// without regard to ASCII case, as the registry compares them; other bytes
// are compared as they stand.
class RegKeyTable
{
public:
    // Adds the key if it is new; returns its index for setValue. Adding the
    // same path twice in any casing gives the same index.
    qsizetype addKey(QByteArrayView path);

    // Sets, or replaces, value name of the key at index key ("" is the
    // unnamed value).
    void setValue(qsizetype key, QByteArrayView name, RegValue value);

    // A key exists when it was added or a key below it was.
    [[nodiscard]] bool exists(QByteArrayView path) const;

    // nullptr when the key has no such value. The pointer is valid until the
    // table changes.
    [[nodiscard]] const RegValue *value(QByteArrayView path, QByteArrayView name) const;

    [[nodiscard]] bool isEmpty() const { return m_keys.empty(); }

    // ASCII letters to lower case; every other byte unchanged.
    [[nodiscard]] static QByteArray foldCase(QByteArrayView text);

private:
    struct Key
    {
        QByteArray path; // folded
        QHash<QByteArray, RegValue> values;
    };

    std::vector<Key> m_keys;
    QHash<QByteArray, qsizetype> m_index; // folded path -> index in m_keys
};

} // namespace tunefold
