// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegKeyTable.h"
#include "platform/RegistryStore.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace tunefold {

// The registry on this system: a text file in the "REGEDIT4" export format
// (see RegFileParser), read once when the store is made.
//
// Statuses: open gives ERROR_FILE_NOT_FOUND for a key that no section names
// or lies above, ERROR_ACCESS_DENIED when the file exists but cannot be read
// (a folder, a device, a file over MaxFileSize) or when write rights are asked
// for and the process may not write the file. A missing file is a store
// without keys.
class RegFileStore final : public RegistryStore
{
public:
    enum class WriteRights {
        AsFileAllows, // granted when the process may write the file
        Denied,       // never granted: a store the user may only read
    };

    // Files larger than this are refused rather than read into memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
    // The registry's status for a handle it does not know.
    static constexpr long ERROR_INVALID_HANDLE = 6;

    explicit RegFileStore(const QString &path, WriteRights rights = WriteRights::AsFileAllows);

    // A store of text in memory. With AsFileAllows write rights are always
    // granted, as no file stands behind it.
    [[nodiscard]] static RegFileStore fromBytes(QByteArrayView text,
                                                WriteRights rights = WriteRights::AsFileAllows);

    // The store that stands for HKEY_LOCAL_MACHINE: machine.reg in the
    // program's folder.
    [[nodiscard]] static QString machineStorePath();

    [[nodiscard]] long RegOpenKeyExA(HKEY root, const QByteArray &subKey, quint32 options,
                                     quint32 access, HKEY &result) override;
    [[nodiscard]] long RegQueryValueExA(HKEY key, const QByteArray &valueName, quint32 &type,
                                        std::span<std::uint8_t> data, quint32 &byteCount) override;
    long RegCloseKey(HKEY key) override;

private:
    explicit RegFileStore(WriteRights rights) : m_rights(rights) {}

    void load();
    [[nodiscard]] bool mayWrite() const;
    [[nodiscard]] QByteArray keyPath(HKEY root) const;

    QString m_path; // empty for a store made from bytes
    WriteRights m_rights;
    bool m_readable = true;
    RegKeyTable m_table;
    QHash<HKEY, QByteArray> m_open; // handle -> full key path
    HKEY m_lastHandle = 0;
};

} // namespace tunefold
