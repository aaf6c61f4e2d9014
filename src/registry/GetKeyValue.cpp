// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry/GetKeyValue.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tunefold {
namespace {

constexpr quint32 BufferSize = 1024;

// The decimal text of the unsigned number whose bytes come low byte first,
// which is the hexadecimal numeral those bytes spell from the last to the
// first. Exact for any length, so a number type holding more than four bytes
// never turns into a wrong number; no data, or only zeros, give "0".
QString decimalText(std::span<const std::uint8_t> lowFirst)
{
    std::vector<std::uint8_t> number(lowFirst.rbegin(), lowFirst.rend()); // high byte first
    std::size_t first = 0;
    QString digits;
    for (;;) {
        while (first < number.size() && number[first] == 0)
            ++first;
        if (first == number.size())
            break;
        unsigned remainder = 0; // long division by ten, high byte first
        for (std::size_t i = first; i < number.size(); ++i) {
            const unsigned current = remainder << 8 | number[i];
            number[i] = std::uint8_t(current / 10);
            remainder = current % 10;
        }
        digits += QChar(u'0' + remainder);
    }
    if (digits.isEmpty())
        return QStringLiteral("0");
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace

bool GetKeyValue(RegistryStore &store, HKEY KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal)
{
    HKEY key = 0;
    bool result = false;

    // Read rights are all that reading needs. Asking for write rights too
    // would lock out every user who may read the key but not change it.
    if (store.RegOpenKeyExA(KeyRoot, KeyName.toUtf8(), 0, KEY_READ, key) != ERROR_SUCCESS) {
        key = 0; // whatever a failed open left there, the close gets 0
        KeyVal.clear();
    } else {
        std::array<std::uint8_t, BufferSize> buffer{};
        quint32 byteCount = BufferSize;
        quint32 type = 0;
        if (store.RegQueryValueExA(key, SubKeyRef.toUtf8(), type, buffer, byteCount) !=
            ERROR_SUCCESS) {
            KeyVal.clear();
        } else {
            // Only a last zero byte is cut: a string's terminator, or the top
            // byte of a number, where dropping a zero changes nothing.
            auto data =
                std::span<const std::uint8_t>(buffer).first(std::min(byteCount, BufferSize));
            if (!data.empty() && data.back() == 0)
                data = data.first(data.size() - 1);
            if (type == REG_SZ)
                KeyVal = QString::fromUtf8(reinterpret_cast<const char *>(data.data()),
                                           qsizetype(data.size()));
            else if (type == REG_DWORD)
                KeyVal = decimalText(data);
            result = true;
        }
    }
    store.RegCloseKey(key);
    return result;
}

} // namespace tunefold
