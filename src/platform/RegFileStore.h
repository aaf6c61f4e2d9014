// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegFileParser.h"
#include "platform/RegistryStore.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace tunefold {

// The registry on this system: a text file in the registry's export format
// (see RegFileParser). Every open reads the file afresh and keeps only the
// values of the key it opens, so memory follows what a lookup needs, not the
// file, and an edited file counts at once.
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

    // Larger files are refused. An open holds at most one line of the file
    // and the values of one key, in UTF-8: one and a half times this size at
    // worst (a UTF-16LE file of three-byte characters).
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
    [[nodiscard]] static QString machineStorePath(const QString &programFolder);

    [[nodiscard]] long RegOpenKeyExA(HKEY root, const QByteArray &subKey, quint32 options,
                                     quint32 access, HKEY &result) override;
    [[nodiscard]] long RegQueryValueExA(HKEY key, const QByteArray &valueName, quint32 &type,
                                        std::span<std::uint8_t> data, quint32 &byteCount) override;
    long RegCloseKey(HKEY key) override;

private:
    explicit RegFileStore(WriteRights rights) : m_rights(rights) {}

    // The key at path (as RegFileParser::keyPath gives it); false when the
    // file exists but cannot be read.
    [[nodiscard]] bool readKey(const QByteArray &path, RegKey &key) const;
    [[nodiscard]] bool mayWrite() const;
    [[nodiscard]] QByteArray keyPath(HKEY root) const;

    struct OpenKey
    {
        QByteArray path; // as RegFileParser::keyPath gives it
        QHash<QByteArray, RegValue> values;
    };

    QString m_path; // empty for a store made from bytes
    QByteArray m_bytes;
    WriteRights m_rights;
    QHash<HKEY, OpenKey> m_open;
    HKEY m_lastHandle = 0;
};

} // namespace tunefold
