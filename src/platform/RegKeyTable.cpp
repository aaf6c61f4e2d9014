// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegKeyTable.h"

#include <utility>

namespace tunefold {

qsizetype RegKeyTable::addKey(QByteArrayView path)
{
    QByteArray folded = foldCase(path);
    const auto found = m_index.constFind(folded);
    if (found != m_index.constEnd())
        return *found;
    const auto index = qsizetype(m_keys.size());
    m_index.insert(folded, index);
    m_keys.push_back(Key{std::move(folded), {}});
    return index;
}

void RegKeyTable::setValue(qsizetype key, QByteArrayView name, RegValue value)
{
    if (key < 0 || key >= qsizetype(m_keys.size()))
        return;
    m_keys[std::size_t(key)].values.insert(foldCase(name), std::move(value));
}

bool RegKeyTable::exists(QByteArrayView path) const
{
    QByteArray folded = foldCase(path);
    if (m_index.contains(folded))
        return true;
    // Keys that no section names are rare and looked up rarely (an open),
    // so a scan keeps the table linear in the file's size: storing every
    // ancestor of a deep path would be quadratic.
    folded += '\\';
    for (const Key &key : m_keys) {
        if (key.path.startsWith(folded))
            return true;
    }
    return false;
}

const RegValue *RegKeyTable::value(QByteArrayView path, QByteArrayView name) const
{
    const auto found = m_index.constFind(foldCase(path));
    if (found == m_index.constEnd())
        return nullptr;
    const auto &values = m_keys[std::size_t(*found)].values;
    const auto value = values.constFind(foldCase(name));
    return value == values.constEnd() ? nullptr : &*value;
}

QByteArray RegKeyTable::foldCase(QByteArrayView text)
{
    QByteArray folded(text.data(), text.size());
    for (char &c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return folded;
}

} // namespace tunefold
