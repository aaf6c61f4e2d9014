// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Any bytes as a file name: the name cell must stay one line without raw
// markup, its NULs only at the end, and its width 260 characters (or the
// text and a single NUL when the escaped text is wider).
#include "list/ListDocument.h"
#include "platform/NarrowText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A file name never holds a NUL: the file system ends names there.
    std::string_view name(reinterpret_cast<const char *>(data), size);
    name = name.substr(0, name.find('\0'));

    std::string field;
    tunefold::appendNameField(field, name);

    const std::size_t textEnd = field.find('\0');
    if (textEnd == std::string::npos)
        std::abort();
    const std::string_view text = std::string_view(field).substr(0, textEnd);
    if (text.find_first_of("<>\r\n") != std::string_view::npos)
        std::abort();
    if (field.find_first_not_of('\0', textEnd) != std::string::npos)
        std::abort();
    const std::size_t width = tunefold::narrowCharCount(text);
    const std::size_t nuls = field.size() - textEnd;
    if (nuls != (width < 260 ? 260 - width : 1))
        std::abort();
    return 0;
}
