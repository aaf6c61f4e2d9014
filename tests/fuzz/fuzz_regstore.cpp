// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Any bytes as a store file. The first line names a key under
// HKEY_LOCAL_MACHINE and the second a value, so that the fuzzer also steers
// the lookups; the whole input, those lines included, is the file.
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

using namespace tunefold;

namespace {

QByteArrayView line(QByteArrayView text, qsizetype &pos)
{
    const qsizetype start = std::min(pos, text.size());
    qsizetype end = text.indexOf('\n', start);
    if (end < 0)
        end = text.size();
    pos = end + 1;
    const QByteArrayView found = text.sliced(start, end - start);
    return found.endsWith('\r') ? found.first(found.size() - 1) : found;
}

// The store's promises about counts, checked on every lookup.
void query(RegistryStore &store, HKEY key, const QByteArray &name)
{
    std::array<std::uint8_t, 64> buffer{};
    for (quint32 capacity : {0u, 1u, 64u}) {
        quint32 type = 0;
        quint32 count = capacity;
        const long status = store.RegQueryValueExA(key, name, type, buffer, count);
        if (status == ERROR_SUCCESS && count > capacity)
            __builtin_trap();
        if (status == ERROR_MORE_DATA && count <= capacity)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(data, qsizetype(size));
    qsizetype pos = 0;
    const QByteArray keyPath = line(text, pos).toByteArray();
    const QByteArray valueName = line(text, pos).toByteArray();

    RegFileStore store = RegFileStore::fromBytes(text, RegFileStore::WriteRights::Denied);
    HKEY key = 0;
    const long status = store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key);
    HKEY refused = 1;
    const long writeStatus =
        store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ_WRITE, refused);
    // Write rights are denied; a missing key is reported as such first.
    if (refused != 0 || writeStatus != (status == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : status))
        __builtin_trap();
    if (status == ERROR_SUCCESS) {
        query(store, key, valueName);
        query(store, key, QByteArray());
        HKEY child = 0;
        if (store.RegOpenKeyExA(key, valueName, 0, KEY_READ, child) == ERROR_SUCCESS)
            (void)store.RegCloseKey(child);
        (void)store.RegCloseKey(key);
    }

    QString keyVal;
    (void)GetKeyValue(store, HKEY_LOCAL_MACHINE, QString::fromUtf8(keyPath),
                      QString::fromUtf8(valueName), keyVal);
    (void)GetKeyValue(store, HKEY_LOCAL_MACHINE,
                      QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                      QStringLiteral("PATH"), keyVal);
    return 0;
}
