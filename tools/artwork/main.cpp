// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-artwork: makes the two pieces of artwork that are not plain
// vector pictures, in the folder given as its one argument:
//   hand.cur    - the 32 x 32 hand pointer, rendered from hand.svg in that folder
//   icon16.png  - the 16 x 16, 16-colour window icon, from the pixel table in PixelIcon.cpp
// To regenerate both files in src/assets:
//   cmake --build <build-folder> --target regenerate-artwork
// which builds this tool and runs <build-folder>/bin/tunefold-artwork <source>/src/assets.
//
// The build also runs it as tunefold-artwork <picture.svg> <icon.png> <size>
// to render the desktop's larger icons from the scalable one.

#include "CursorFile.h"
#include "PixelIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

using namespace tunefold::artwork;

constexpr QSize CursorSize{32, 32};
// The tip of the index finger in hand.svg: the top pixel row of its outline.
constexpr QPoint Hotspot{11, 1};

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// The renderer always smooths edges; a pointer wants hard ones, so every pixel
// becomes transparent, black or white. hand.svg keeps its edges on half units
// so that next to nothing is lost here.
QImage renderCursor(const QString &svgPath)
{
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid())
        return {};
    QImage image(CursorSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = line[x];
            if (qAlpha(px) < 128)
                line[x] = qRgba(0, 0, 0, 0);
            else
                line[x] = qGray(qUnpremultiply(px)) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err() << "cannot write " << path << ": " << file.errorString() << Qt::endl;
        return false;
    }
    return true;
}

// Reads a written file back the way the program will, so that a file Qt
// cannot read never reaches the source tree unnoticed.
bool readsBack(const QString &path, const QByteArray &format, QSize expected)
{
    QImageReader reader(path, format);
    const QImage image = reader.read();
    if (image.size() != expected) {
        err() << path << " does not read back as " << expected.width() << "x" << expected.height()
              << " " << format << ": " << reader.errorString() << Qt::endl;
        return false;
    }
    return true;
}

bool makeCursor(const QDir &folder)
{
    const QImage image = renderCursor(folder.filePath(QStringLiteral("hand.svg")));
    if (image.isNull()) {
        err() << "cannot render " << folder.filePath(QStringLiteral("hand.svg")) << Qt::endl;
        return false;
    }
    const QString path = folder.filePath(QStringLiteral("hand.cur"));
    return writeFile(path, CursorFile::encode(image, Hotspot)) &&
           readsBack(path, "cur", CursorSize);
}

bool makeIcon(const QDir &folder)
{
    const QImage icon = PixelIcon::image();
    if (icon.isNull()) {
        err() << "the icon's pixel table is malformed" << Qt::endl;
        return false;
    }
    const QString path = folder.filePath(QStringLiteral("icon16.png"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !icon.save(&file, "PNG") || !file.commit()) {
        err() << "cannot write " << path << Qt::endl;
        return false;
    }
    return readsBack(path, "png", QSize(16, 16));
}

// A square PNG of the scalable icon. The PNG writer stores no time or
// other varying data, so the same picture gives the same bytes.
bool renderIcon(const QString &svgPath, const QString &pngPath, int size)
{
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid() || size < 1) {
        err() << "cannot render " << svgPath << " at size " << size << Qt::endl;
        return false;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    QSaveFile file(pngPath);
    if (!file.open(QIODevice::WriteOnly) ||
        !image.convertToFormat(QImage::Format_ARGB32).save(&file, "PNG") || !file.commit()) {
        err() << "cannot write " << pngPath << Qt::endl;
        return false;
    }
    return readsBack(pngPath, "png", QSize(size, size));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4)
        return renderIcon(args.at(1), args.at(2), args.at(3).toInt()) ? 0 : 1;
    if (args.size() != 2) {
        err() << "usage: tunefold-artwork <assets-folder>\n"
                 "       tunefold-artwork <picture.svg> <icon.png> <size>"
              << Qt::endl;
        return 2;
    }
    const QDir folder(args.at(1));
    return makeCursor(folder) && makeIcon(folder) ? 0 : 1;
}
