// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Mp3Files.h"
#include "platform/TagLibTrackReader.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>

#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

using namespace tunefold;

namespace {

struct Tags
{
    const char *title = "", *artist = "", *album = "", *genre = "";
    unsigned year = 0, track = 0;
    const char *disc = "";
};

void setTags(TagLib::Tag &tag, const Tags &tags)
{
    tag.setTitle(TagLib::String(tags.title, TagLib::String::UTF8));
    tag.setArtist(TagLib::String(tags.artist, TagLib::String::UTF8));
    tag.setAlbum(TagLib::String(tags.album, TagLib::String::UTF8));
    tag.setGenre(tags.genre);
    tag.setYear(tags.year);
    tag.setTrack(tags.track);
}

} // namespace

// Tags and figures of every format from files the encoders make here; the
// lengths are checked against what FFmpeg decodes from the same files.
class tst_TrackReader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_missing;

    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    bool run(const char *program, const QStringList &arguments, QByteArray *out = nullptr)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QString::fromLatin1(program), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return false;
        if (out)
            *out = process.readAllStandardOutput();
        return true;
    }
    bool ffmpeg(const QString &arguments)
    {
        return run("ffmpeg", QStringLiteral("-v error -y ").append(arguments).split(u' '));
    }
    // Milliseconds of audio FFmpeg decodes, resampled to 48 kHz mono.
    int decodedMilliseconds(const char *name)
    {
        QByteArray pcm;
        if (!run("ffmpeg",
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path(name),
                  QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-ac"),
                  QStringLiteral("1"), QStringLiteral("-ar"), QStringLiteral("48000"),
                  QStringLiteral("-")},
                 &pcm))
            return -2;
        return int(pcm.size() / 96);
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"ffmpeg", "lame", "flac", "oggenc", "opusenc"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                m_missing += QString::fromLatin1(tool) + u' ';
        }
        if (!m_missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("not installed: ") + m_missing));
        // A second of tone, and two seconds of silence before three of it.
        QVERIFY(ffmpeg(QStringLiteral("-f lavfi -i sine=frequency=440:duration=1 -ac 2 tone.wav")));
        QVERIFY(ffmpeg(QStringLiteral(
            "-f lavfi -i anullsrc=r=44100:cl=stereo:d=2 -f lavfi -i sine=frequency=440:duration=3 "
            "-filter_complex [1]aformat=channel_layouts=stereo[t];[0][t]concat=n=2:v=0:a=1 "
            "quiet-loud.wav")));
        const auto lame = [&](const char *options, const char *name, const char *wav = "tone.wav") {
            return run("lame", QString::fromLatin1(options).split(u' ') +
                                   QStringList{QStringLiteral("--silent"), QString::fromLatin1(wav),
                                               path(name)});
        };
        for (const char *name : {"v23.mp3", "v24.mp3", "v1.mp3", "ape.mp3", "all.mp3"})
            QVERIFY(lame("-b 128", name));
        // Long enough for the encoder's 45 ms of padding not to move the
        // average by more than 1 kbit/s.
        QVERIFY(lame("-V 2", "vbr.mp3", "quiet-loud.wav"));
        // -t leaves the Xing frame out: only the frames tell the length.
        QVERIFY(lame("-V 2 -t", "quiet-loud.mp3", "quiet-loud.wav"));
        QVERIFY(lame("-b 64 -t", "cbr64.mp3"));
        QVERIFY(run("flac", {QStringLiteral("-s"), QStringLiteral("tone.wav")}));
        QVERIFY(run("oggenc", {QStringLiteral("-Q"), QStringLiteral("tone.wav")}));
        QVERIFY(run("opusenc", {QStringLiteral("--quiet"), QStringLiteral("tone.wav"),
                                QStringLiteral("tone.opus")}));
        QVERIFY(ffmpeg(QStringLiteral("-i tone.wav -c:a aac -b:a 128k tone.m4a")));
        QVERIFY(ffmpeg(QStringLiteral("-i tone.wav -c:a pcm_s16le tagged.wav")));

        const Tags all{"Tytuł ♪", "Artist", "Album", "Jazz", 1999, 7, "2/3"};
        for (const auto &[name, version] :
             {std::pair{"v23.mp3", TagLib::ID3v2::v3}, std::pair{"v24.mp3", TagLib::ID3v2::v4}}) {
            TagLib::MPEG::File file(path(name).toUtf8().constData());
            setTags(*file.ID3v2Tag(true), all);
            file.ID3v2Tag()->setProperties(file.ID3v2Tag()->properties());
            TagLib::PropertyMap disc = file.ID3v2Tag()->properties();
            disc.replace("DISCNUMBER", TagLib::StringList("2/3"));
            file.ID3v2Tag()->setProperties(disc);
            QVERIFY(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version));
        }
        {
            TagLib::MPEG::File file(path("v1.mp3").toUtf8().constData());
            setTags(*file.ID3v1Tag(true), {"One", "V1", "Old", "Rock", 1980, 3, ""});
            QVERIFY(file.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers));
        }
        {
            TagLib::MPEG::File file(path("ape.mp3").toUtf8().constData());
            setTags(*file.APETag(true), {"Ape", "Ape artist", "", "Blues", 2001, 4, ""});
            file.APETag()->addValue("DISC", "1");
            QVERIFY(file.save(TagLib::MPEG::File::APE, TagLib::File::StripOthers));
        }
        {
            // Each field from the first tag that has it: ID3v2, APE, ID3v1.
            TagLib::MPEG::File file(path("all.mp3").toUtf8().constData());
            setTags(*file.ID3v2Tag(true), {"Two", "", "", "", 0, 9, ""});
            setTags(*file.APETag(true), {"Ape", "Ape artist", "", "", 0, 4, ""});
            file.APETag()->addValue("DISC", "5");
            setTags(*file.ID3v1Tag(true), {"One", "V1", "Old", "Rock", 1980, 3, ""});
            QVERIFY(file.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone,
                              TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate));
        }
        for (const char *name : {"tone.flac", "tone.ogg", "tone.opus", "tone.m4a", "tagged.wav"}) {
            TagLib::FileRef file(path(name).toUtf8().constData());
            QVERIFY2(file.tag(), name);
            setTags(*file.tag(), all);
            TagLib::PropertyMap properties = file.file()->properties();
            properties.replace("DISCNUMBER", TagLib::StringList("2/3"));
            file.file()->setProperties(properties);
            QVERIFY2(file.save(), name);
        }
        QFile text(path("notes.flac"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not music\n") > 0);
    }

    void formats_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("tags"); // title|artist|album|genre|year|track|disc
        QTest::addColumn<int>("kilobits");    // 0: the average, size over length
        QTest::addColumn<int>("tolerance");   // milliseconds from the decoded length
        const QByteArray all = "Tytuł ♪|Artist|Album|Jazz|1999|7|2";
        QTest::newRow("ID3v2.3") << QByteArray("v23.mp3") << all << 128 << 10;
        QTest::newRow("ID3v2.4") << QByteArray("v24.mp3") << all << 128 << 10;
        QTest::newRow("ID3v1") << QByteArray("v1.mp3") << QByteArray("One|V1|Old|Rock|1980|3|0")
                               << 128 << 10;
        QTest::newRow("APE") << QByteArray("ape.mp3")
                             << QByteArray("Ape|Ape artist||Blues|2001|4|1") << 128 << 10;
        QTest::newRow("three tags")
            << QByteArray("all.mp3") << QByteArray("Two|Ape artist|Old|Rock|1980|9|5") << 128 << 10;
        QTest::newRow("VBR with Xing")
            << QByteArray("vbr.mp3") << QByteArray("||||0|0|0") << 0 << 10;
        QTest::newRow("VBR without Xing, quiet then loud")
            << QByteArray("quiet-loud.mp3") << QByteArray("||||0|0|0") << 0 << 10;
        QTest::newRow("CBR without Xing")
            << QByteArray("cbr64.mp3") << QByteArray("||||0|0|0") << 64 << 30;
        // FLAC keeps kilobytes of padding for tags: not audio, not counted.
        QTest::newRow("FLAC") << QByteArray("tone.flac") << all << -1 << 50;
        QTest::newRow("Ogg Vorbis") << QByteArray("tone.ogg") << all << -1 << 50;
        QTest::newRow("Opus") << QByteArray("tone.opus") << all << -1 << 50;
        QTest::newRow("M4A") << QByteArray("tone.m4a") << all << 128 << 50;
        QTest::newRow("WAV") << QByteArray("tagged.wav") << all << 1411 << 50;
    }
    void formats()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, tags);
        QFETCH(int, kilobits);
        QFETCH(int, tolerance);
        TagLibTrackReader reader;
        TrackInfo info;
        reader.read(AT_FDCWD, QFile::encodeName(m_dir.filePath(QString::fromLatin1(name))), info);
        QVERIFY(info.audio);
        const QByteArray read =
            QByteArray::fromStdString(info.title + '|' + info.artist + '|' + info.album + '|' +
                                      info.genre + '|' + std::to_string(info.year) + '|' +
                                      std::to_string(info.track) + '|' + std::to_string(info.disc));
        QCOMPARE(read, tags);
        const int decoded = decodedMilliseconds(name.constData());
        QVERIFY2(
            std::abs(info.milliseconds - decoded) <= tolerance,
            qPrintable(QStringLiteral("%1 ms, decoded %2").arg(info.milliseconds).arg(decoded)));
        const QFileInfo file(m_dir.filePath(QString::fromLatin1(name)));
        if (kilobits > 0) {
            QCOMPARE(info.kilobitsPerSecond, kilobits);
        } else if (kilobits == 0) {
            // Tags are a few hundred bytes here: at most 1 kbit/s of the size.
            const double average = double(file.size()) * 8 / info.milliseconds;
            QVERIFY2(std::abs(info.kilobitsPerSecond - average) <= 1.5,
                     qPrintable(
                         QStringLiteral("%1 against %2").arg(info.kilobitsPerSecond).arg(average)));
        }
    }

    void notAudio()
    {
        TagLibTrackReader reader;
        TrackInfo info;
        info.audio = true;
        reader.read(AT_FDCWD, QFile::encodeName(path("notes.flac")), info);
        QVERIFY(!info.audio);
        QCOMPARE(info.milliseconds, -1);
    }

    // A Xing header may claim any count: the length is held at the largest
    // figure, not overflowed.
    void hugeFrameCount()
    {
        QVERIFY(test::writeMp3(QFile::encodeName(path("huge.mp3")), nullptr, 4, 0xFFFFFFFF));
        TagLibTrackReader reader;
        TrackInfo info;
        reader.read(AT_FDCWD, QFile::encodeName(path("huge.mp3")), info);
        QVERIFY(info.audio);
        QCOMPARE(info.milliseconds, std::numeric_limits<int>::max());
    }

    // --audio must not promise a format the installed TagLib cannot read.
    void suffixesTagLibReads()
    {
        const TagLib::StringList known = TagLib::FileRef::defaultFileExtensions();
        for (const std::string_view suffix : audioSuffixes())
            QVERIFY2(known.contains(TagLib::String(std::string(suffix))), suffix.data());
    }
};

QTEST_GUILESS_MAIN(tst_TrackReader)
#include "tst_trackreader.moc"
