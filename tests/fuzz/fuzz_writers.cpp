// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// An entry of any name and tag bytes, through every format that shows tags:
// the page keeps the markup of a harmless entry, with only entities and
// UTF-8 in its text; the JSON line parses as an object; the playlist entry
// stays its two lines, or the name is refused.
#include "library/ListWriter.h"
#include "platform/OutputFile.h"
#include "platform/TrackReader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

using namespace tunefold;

namespace {

class StringOutput final : public OutputFile
{
public:
    std::string bytes;
    bool open(const QByteArray &) override { return true; }
    bool write(std::string_view more) override
    {
        bytes += more;
        return true;
    }
    bool commit() override { return true; }
    void discard() override {}
    QString errorString() const override { return {}; }
};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The document for one entry, header and footer included; empty when the
// format refuses the name.
std::string listed(ListFormat format, std::string_view path, const TrackInfo &track,
                   std::uint64_t size)
{
    StringOutput output;
    const auto writer = makeListWriter(format, output, ListSetup{"music", ",", {}, {}});
    if (writer->refusal(path))
        return {};
    require(writer->writeHeader() && writer->writeEntry({path, size, &track}) &&
            writer->writeFooter());
    return output.bytes;
}

// The names of the page's tags in order, after checking that no tag holds
// a stray "<" or an open quote and that the text between them is UTF-8 with
// every "&" starting an entity.
std::string tagNames(const std::string &page)
{
    require(QString::fromUtf8(page).toUtf8().toStdString() == page);
    std::string names;
    std::size_t at = 0;
    while (at < page.size()) {
        const std::size_t open = page.find('<', at);
        const std::string_view text =
            std::string_view(page).substr(at, open == std::string::npos ? open : open - at);
        require(text.find('>') == std::string_view::npos);
        for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
             amp = text.find('&', amp + 1)) {
            const std::size_t end = text.find_first_not_of(
                "#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", amp + 1);
            require(end != std::string_view::npos && end > amp + 1 && text[end] == ';');
        }
        if (open == std::string::npos)
            break;
        const std::size_t close = page.find('>', open);
        require(close != std::string::npos);
        const std::string_view tag = std::string_view(page).substr(open + 1, close - open - 1);
        require(tag.find('<') == std::string_view::npos);
        std::size_t quotes = 0;
        for (const char c : tag)
            quotes += c == '"';
        require(quotes % 2 == 0);
        names += tag.substr(0, tag.find_first_of(" >"));
        names += ' ';
        at = close + 1;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    TrackInfo track;
    track.track = input.ConsumeIntegral<unsigned>();
    track.milliseconds = input.ConsumeIntegral<int>();
    track.kilobitsPerSecond = input.ConsumeIntegral<int>();
    track.year = input.ConsumeIntegral<unsigned>();
    track.disc = input.ConsumeIntegral<unsigned>();
    track.audio = input.ConsumeBool();
    const auto bytes = input.ConsumeIntegral<std::uint64_t>();
    track.title = input.ConsumeRandomLengthString();
    track.artist = input.ConsumeRandomLengthString();
    track.album = input.ConsumeRandomLengthString();
    track.genre = input.ConsumeRandomLengthString();
    // A name never holds a NUL: the file system ends names there.
    std::string path = input.ConsumeRemainingBytesAsString();
    path = path.substr(0, path.find('\0'));
    if (path.empty())
        return 0;

    TrackInfo plain;
    plain.title = plain.artist = plain.album = plain.genre = "x";
    plain.year = plain.disc = 1;
    // What is not audio is marked in a page and left out of a playlist.
    plain.audio = track.audio;
    plain.track = 1;
    plain.milliseconds = 1000;
    plain.kilobitsPerSecond = 128;
    require(tagNames(listed(ListFormat::Page, path, track, bytes)) ==
            tagNames(listed(ListFormat::Page, "x.mp3", plain, 1)));

    const std::string json = listed(ListFormat::Json, path, track, bytes);
    require(!json.empty() && json.back() == '\n' && json.find('\n') == json.size() - 1);
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    require(error.error == QJsonParseError::NoError && parsed.isObject() &&
            parsed.object().value(QStringLiteral("path")).isString());

    const std::string playlist = listed(ListFormat::M3u, path, track, bytes);
    const std::string header = listed(ListFormat::M3u, "x.mp3", plain, 1);
    if (!playlist.empty()) {
        std::size_t lines = 0;
        for (const char c : playlist)
            lines += c == '\n' || c == '\r';
        std::size_t headerLines = 0;
        for (const char c : header)
            headerLines += c == '\n' || c == '\r';
        require(lines == headerLines);
    } else {
        require(path.find_first_of("\r\n") != std::string::npos);
    }
    return 0;
}
