// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/ListWriter.h"

#include "library/JsonLinesWriter.h"
#include "library/PageWriter.h"
#include "library/PlaylistWriter.h"
#include "list/ListDocument.h"
#include "platform/OutputFile.h"

namespace tunefold {

namespace {

// Large enough that the system sees few writes, small enough to stay in cache.
constexpr std::size_t BlockSize = 256 * 1024;

// The window's document, which never looks inside a file.
class FragmentWriter final : public ListWriter
{
public:
    FragmentWriter(OutputFile &output, std::string decimalPoint)
        : ListWriter(output), m_document(output, std::move(decimalPoint))
    {
    }
    bool readsTracks() const override { return false; }
    bool writeHeader() override { return m_document.writeHeader(); }
    bool writeEntry(const ListEntry &entry) override
    {
        return m_document.writeEntry(entry.path, entry.size);
    }
    bool writeFooter() override { return m_document.writeFooter(); }

private:
    ListDocument m_document;
};

} // namespace

std::optional<ListFormat> listFormatNamed(std::string_view name)
{
    if (name == "fragment")
        return ListFormat::Fragment;
    if (name == "page")
        return ListFormat::Page;
    if (name == "m3u")
        return ListFormat::M3u;
    if (name == "json")
        return ListFormat::Json;
    return std::nullopt;
}

ListWriter::ListWriter(OutputFile &output) : m_output(output) {}

bool ListWriter::flushIfFull()
{
    return m_block.size() < BlockSize || flush();
}

bool ListWriter::flush()
{
    const bool written = m_output.write(m_block);
    m_block.clear();
    return written;
}

std::unique_ptr<ListWriter> makeListWriter(ListFormat format, OutputFile &output,
                                           std::string_view folder, std::string decimalPoint)
{
    switch (format) {
    case ListFormat::Page:
        return std::make_unique<PageWriter>(output, folder, std::move(decimalPoint));
    case ListFormat::M3u:
        return std::make_unique<PlaylistWriter>(output);
    case ListFormat::Json:
        return std::make_unique<JsonLinesWriter>(output);
    case ListFormat::Fragment:
        break;
    }
    return std::make_unique<FragmentWriter>(output, std::move(decimalPoint));
}

} // namespace tunefold
