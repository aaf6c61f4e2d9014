// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileStore.h"

#include "platform/RegFileParser.h"
#include "platform/SmallFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tunefold {
namespace {

// Rights that change a key or its security: granted only with write rights.
constexpr quint32 WriteAccess = 0x2           // KEY_SET_VALUE
                                | 0x4         // KEY_CREATE_SUB_KEY
                                | 0x20        // KEY_CREATE_LINK
                                | 0x10000     // DELETE
                                | 0x40000     // WRITE_DAC
                                | 0x80000     // WRITE_OWNER
                                | 0x10000000  // GENERIC_ALL
                                | 0x40000000; // GENERIC_WRITE

constexpr HKEY FirstRoot = 0x80000000;

// glibc keeps freed blocks for the next allocation; an open may take tens of
// megabytes (a long line, long values) and then nothing more for a long while,
// so it hands them back.
void returnFreedMemory()
{
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

} // namespace

RegFileStore::RegFileStore(const QString &path, WriteRights rights) : m_path(path), m_rights(rights)
{
}

RegFileStore RegFileStore::fromBytes(QByteArrayView text, WriteRights rights)
{
    RegFileStore store(rights);
    store.m_bytes = text.toByteArray();
    return store;
}

QString RegFileStore::machineStorePath(const QString &programFolder)
{
    const QString name = QStringLiteral("machine.reg");
    return programFolder.endsWith(u'/') ? programFolder + name : programFolder + u'/' + name;
}

bool RegFileStore::readKey(const QByteArray &path, RegKey &key) const
{
    if (m_path.isEmpty()) {
        key = RegFileParser::readKey(m_bytes, path);
        return true;
    }
    RegFileParser parser(path);
    const int error = readFileInPieces(m_path, MaxFileSize,
                                       [&parser](QByteArrayView piece) { parser.feed(piece); });
    if (error == 0)
        key = parser.finish();
    return error == 0 || error == ENOENT || error == ENOTDIR; // missing: a store without keys
}

bool RegFileStore::mayWrite() const
{
    if (m_rights == WriteRights::Denied)
        return false;
    return m_path.isEmpty() || ::access(QFile::encodeName(m_path).constData(), W_OK) == 0;
}

QByteArray RegFileStore::keyPath(HKEY root) const
{
    switch (root) {
    case 0x80000000:
        return QByteArrayLiteral("HKEY_CLASSES_ROOT");
    case 0x80000001:
        return QByteArrayLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QByteArrayLiteral("HKEY_LOCAL_MACHINE");
    case 0x80000003:
        return QByteArrayLiteral("HKEY_USERS");
    case 0x80000005:
        return QByteArrayLiteral("HKEY_CURRENT_CONFIG");
    default:
        return m_open.value(root).path; // an open key serves as a root too
    }
}

long RegFileStore::RegOpenKeyExA(HKEY root, const QByteArray &subKey, quint32 /*options*/,
                                 quint32 access, HKEY &result)
{
    result = 0;
    const QByteArray rootPath = keyPath(root);
    if (rootPath.isEmpty())
        return ERROR_INVALID_HANDLE;
    const QByteArray path = RegFileParser::keyPath(rootPath + '\\' + subKey);
    RegKey key;
    const bool readable = readKey(path, key);
    returnFreedMemory(); // the file's text is gone; only the key's values stay
    if (!readable)
        return ERROR_ACCESS_DENIED;
    if (!key.exists)
        return ERROR_FILE_NOT_FOUND;
    if ((access & WriteAccess) != 0 && !mayWrite())
        return ERROR_ACCESS_DENIED;

    // Handles stay below the roots' values and are not reused while open.
    do {
        m_lastHandle = m_lastHandle + 1 >= FirstRoot ? 1 : m_lastHandle + 1;
    } while (m_open.contains(m_lastHandle));
    m_open.insert(m_lastHandle, OpenKey{path, std::move(key.values)});
    result = m_lastHandle;
    return ERROR_SUCCESS;
}

long RegFileStore::RegQueryValueExA(HKEY key, const QByteArray &valueName, quint32 &type,
                                    std::span<std::uint8_t> data, quint32 &byteCount)
{
    const auto open = m_open.constFind(key);
    if (open == m_open.constEnd())
        return ERROR_INVALID_HANDLE;
    const auto value = open->values.constFind(RegFileParser::foldCase(valueName));
    if (value == open->values.constEnd())
        return ERROR_FILE_NOT_FOUND;

    type = value->type;
    const auto capacity = std::min<std::size_t>(byteCount, data.size());
    const auto size = std::size_t(value->data.size());
    byteCount = quint32(size);
    if (size > capacity)
        return ERROR_MORE_DATA;
    std::copy_n(value->data.constData(), size, data.begin());
    return ERROR_SUCCESS;
}

long RegFileStore::RegCloseKey(HKEY key)
{
    if (!m_open.remove(key))
        return ERROR_INVALID_HANDLE;
    if (m_open.isEmpty())
        returnFreedMemory(); // the values of the last key, as large as the file at worst
    return ERROR_SUCCESS;
}

} // namespace tunefold
