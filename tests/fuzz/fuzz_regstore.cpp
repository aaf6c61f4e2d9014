// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Any bytes as a store file. The first line names a key under
// HKEY_LOCAL_MACHINE and the second a value, so that the fuzzer also steers
// the lookups; the whole input, those lines included, is the file.
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <array>
#include <cstddef>
#include <cstdint>

using namespace tunefold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(data, qsizetype(size));
    // CR LF and a lone CR end a line as LF does, as in the store.
    const QList<QByteArray> lines =
        text.toByteArray().replace("\r\n", "\n").replace('\r', '\n').split('\n');
    const QByteArray keyPath = lines.value(0);
    const QByteArray valueName = lines.value(1);

    RegFileStore store = RegFileStore::fromBytes(text, RegFileStore::WriteRights::Denied);
    HKEY key = 0;
    const long status = store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key);
    HKEY refused = 1;
    const long writeStatus =
        store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ_WRITE, refused);
    // Write rights are denied; a missing key is reported as such first.
    if (refused != 0 || writeStatus != (status == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : status))
        __builtin_trap();

    // The store's promises about counts, whatever the buffer's capacity. A
    // failed open left the handle 0, which the store refuses.
    std::array<std::uint8_t, 64> buffer{};
    for (quint32 capacity : {0u, 1u, 64u}) {
        quint32 type = 0;
        quint32 count = capacity;
        const long queried = store.RegQueryValueExA(key, valueName, type, buffer, count);
        const bool fits = count <= capacity;
        if ((queried == ERROR_SUCCESS && !fits) || (queried == ERROR_MORE_DATA && fits))
            __builtin_trap();
    }
    // An open key serves as the root of another open.
    HKEY child = 0;
    if (store.RegOpenKeyExA(key, valueName, 0, KEY_READ, child) == ERROR_SUCCESS)
        (void)store.RegCloseKey(child);
    (void)store.RegCloseKey(key);

    QString keyVal;
    (void)GetKeyValue(store, HKEY_LOCAL_MACHINE, QString::fromUtf8(keyPath),
                      QString::fromUtf8(valueName), keyVal);
    return 0;
}
