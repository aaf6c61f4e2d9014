// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <cstdint>
#include <span>

namespace tunefold {

// A key handle. The roots are fixed handles; 0 is "no key".
using HKEY = quint32;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

// Statuses, with the values that stored data and callers rely on.
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_MORE_DATA = 234;

// Value type codes.
inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_EXPAND_SZ = 2;
inline constexpr quint32 REG_BINARY = 3;
inline constexpr quint32 REG_DWORD = 4;
inline constexpr quint32 REG_MULTI_SZ = 7;

// Access rights asked for when a key is opened.
inline constexpr quint32 KEY_READ = 0x20019;
inline constexpr quint32 KEY_READ_WRITE = 0x2003F; // read and write, without DELETE

// A hierarchical store of typed values: root, key path and value name map to
// a type code and a run of bytes. Texts are narrow (the store's own bytes).
class RegistryStore
{
public:
    virtual ~RegistryStore() = default;

    // subKey's levels are separated by "\". On success result is a handle
    // to pass to the other two calls.
    [[nodiscard]] virtual long RegOpenKeyExA(HKEY root, const QByteArray &subKey, quint32 options,
                                             quint32 access, HKEY &result) = 0;
    // byteCount holds data's capacity on entry and the data's length on
    // return; with ERROR_MORE_DATA it holds the length needed.
    [[nodiscard]] virtual long RegQueryValueExA(HKEY key, const QByteArray &valueName,
                                                quint32 &type, std::span<std::uint8_t> data,
                                                quint32 &byteCount) = 0;
    // Accepts any handle, 0 included.
    virtual long RegCloseKey(HKEY key) = 0;
};

} // namespace tunefold
