// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "doubles/Mp3Files.h"
#include "doubles/Processes.h"
#include "platform/TagLibTrackReader.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

using namespace tunefold;

namespace {

// fields is "title|artist|album|genre|year|track", as the rows below read.
void setTags(TagLib::Tag &tag, const char *fields)
{
    const QList<QByteArray> f = QByteArray(fields).split('|');
    tag.setTitle(TagLib::String(f[0].constData(), TagLib::String::UTF8));
    tag.setArtist(TagLib::String(f[1].constData(), TagLib::String::UTF8));
    tag.setAlbum(TagLib::String(f[2].constData(), TagLib::String::UTF8));
    tag.setGenre(f[3].constData());
    tag.setYear(f[4].toUInt());
    tag.setTrack(f[5].toUInt());
}

} // namespace

// Tags and figures of every format from files the encoders make here; the
// lengths are checked against what FFmpeg decodes from the same files.
class tst_TrackReader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QByteArray path(const char *name) const
    {
        return QFile::encodeName(m_dir.filePath(QString::fromLatin1(name)));
    }
    // Runs a command of blank-separated arguments in the test's folder.
    bool run(const QString &command, QByteArray *out = nullptr) const
    {
        QStringList arguments = command.split(u' ');
        const test::Run ran = test::run(arguments.takeFirst(), arguments, m_dir.path());
        if (out)
            *out = ran.out;
        return ran.status == 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"ffmpeg", "lame", "flac", "oggenc", "opusenc"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("not installed: ") + QString::fromLatin1(tool)));
        }
        // A second of tone, and two seconds of silence before three of it.
        // -V 2 -t leaves the Xing frame out: only the frames tell the length.
        // The VBR file with one is long enough for the encoder's 45 ms of
        // padding not to move its average by 1 kbit/s.
        for (const char *command :
             {"ffmpeg -v error -f lavfi -i sine=frequency=440:duration=1 -ac 2 tone.wav",
              "ffmpeg -v error -f lavfi -i anullsrc=r=44100:cl=stereo:d=2 -f lavfi -i "
              "sine=frequency=440:duration=3 -filter_complex "
              "[1]aformat=channel_layouts=stereo[t];[0][t]concat=n=2:v=0:a=1 quiet-loud.wav",
              "lame --silent -b 128 tone.wav v23.mp3", "lame --silent -b 128 tone.wav v24.mp3",
              "lame --silent -b 128 quiet-loud.wav all.mp3",
              "lame --silent -b 64 -t tone.wav cbr64.mp3",
              "lame --silent -V 2 quiet-loud.wav vbr.mp3",
              "lame --silent -V 2 -t quiet-loud.wav quiet-loud.mp3", "flac -s tone.wav",
              "oggenc -Q tone.wav", "opusenc --quiet tone.wav tone.opus",
              "ffmpeg -v error -i tone.wav -c:a aac -b:a 128k tone.m4a",
              "ffmpeg -v error -i tone.wav -c:a pcm_s16le tagged.wav"})
            QVERIFY2(run(QString::fromUtf8(command)), command);

        const char *all = "Tytuł ♪|Artist|Album|Jazz|1999|7";
        const auto setDisc = [](auto &tagged) {
            TagLib::PropertyMap properties = tagged.properties();
            properties.replace("DISCNUMBER", TagLib::StringList("2/3"));
            tagged.setProperties(properties);
        };
        for (const auto &[name, version] :
             {std::pair{"v23.mp3", TagLib::ID3v2::v3}, std::pair{"v24.mp3", TagLib::ID3v2::v4}}) {
            TagLib::MPEG::File file(path(name));
            setTags(*file.ID3v2Tag(true), all);
            setDisc(*file.ID3v2Tag());
            QVERIFY(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version));
        }
        // Each field from the first tag that has it: ID3v2, APE, ID3v1; the
        // last two at the end, past the reader's first window.
        TagLib::MPEG::File three(path("all.mp3"));
        setTags(*three.ID3v2Tag(true), "Two|||||9");
        setTags(*three.APETag(true), "Ape|Ape artist||||4");
        three.APETag()->addValue("DISC", "5");
        setTags(*three.ID3v1Tag(true), "One|V1|Old|Rock|1980|3");
        QVERIFY(three.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone, TagLib::ID3v2::v4,
                           TagLib::File::DoNotDuplicate));
        for (const char *name : {"tone.flac", "tone.ogg", "tone.opus", "tone.m4a", "tagged.wav"}) {
            TagLib::FileRef file(path(name));
            QVERIFY2(file.tag(), name);
            setTags(*file.tag(), all);
            setDisc(*file.file());
            QVERIFY2(file.save(), name);
        }
    }

    void formats_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("tags"); // title|artist|album|genre|year|track|disc
        QTest::addColumn<int>("kilobits");    // 0: the average, size over length
        QTest::addColumn<int>("tolerance");   // milliseconds from the decoded length
        const QByteArray all = "Tytuł ♪|Artist|Album|Jazz|1999|7|2", none = "||||0|0|0";
        QTest::newRow("ID3v2.3") << QByteArray("v23.mp3") << all << 128 << 10;
        QTest::newRow("ID3v2.4") << QByteArray("v24.mp3") << all << 128 << 10;
        QTest::newRow("three tags")
            << QByteArray("all.mp3") << QByteArray("Two|Ape artist|Old|Rock|1980|9|5") << 128 << 10;
        QTest::newRow("VBR with Xing") << QByteArray("vbr.mp3") << none << 0 << 10;
        QTest::newRow("VBR without Xing, quiet then loud")
            << QByteArray("quiet-loud.mp3") << none << 0 << 10;
        QTest::newRow("CBR without Xing") << QByteArray("cbr64.mp3") << none << 64 << 30;
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
        reader.read(AT_FDCWD, path(name.constData()), info);
        QVERIFY(info.audio);
        const QByteArray read =
            QByteArray::fromStdString(info.title + '|' + info.artist + '|' + info.album + '|' +
                                      info.genre + '|' + std::to_string(info.year) + '|' +
                                      std::to_string(info.track) + '|' + std::to_string(info.disc));
        QCOMPARE(read, tags);
        // Milliseconds of audio FFmpeg decodes, resampled to 48 kHz mono.
        QByteArray pcm;
        const QString decode = QStringLiteral("ffmpeg -v error -i %1 -f s16le -ac 1 -ar 48000 -");
        const int decoded =
            run(decode.arg(QString::fromLatin1(name)), &pcm) ? int(pcm.size() / 96) : -2;
        QVERIFY2(
            std::abs(info.milliseconds - decoded) <= tolerance,
            qPrintable(QStringLiteral("%1 ms, decoded %2").arg(info.milliseconds).arg(decoded)));
        if (kilobits > 0)
            QCOMPARE(info.kilobitsPerSecond, kilobits);
        // Tags are a few hundred bytes here: at most 1 kbit/s of the size.
        const double average =
            double(QFileInfo(QFile::decodeName(path(name))).size()) * 8 / info.milliseconds;
        if (kilobits == 0)
            QVERIFY2(std::abs(info.kilobitsPerSecond - average) <= 1.5, qPrintable(read));
    }

    // Text under a music file's name is no audio; a Xing header may claim
    // any count, which holds the length at the largest figure.
    void oddFiles()
    {
        test::writeFile(QFile::decodeName(path("notes.flac")), "not music\n");
        QVERIFY(test::writeMp3(path("huge.mp3"), nullptr, 4, 0xFFFFFFFF));
        TagLibTrackReader reader;
        TrackInfo info;
        reader.read(AT_FDCWD, path("notes.flac"), info);
        QVERIFY(!info.audio);
        QCOMPARE(info.milliseconds, -1);
        reader.read(AT_FDCWD, path("huge.mp3"), info);
        QCOMPARE(info.milliseconds, std::numeric_limits<int>::max());
    }

    // Files made to wear a reader out: 50 GB of holes, sizes claimed far
    // beyond the file, thousands of frames. Each read returns, within 128 MB
    // more address space, with no tags and figures only where there is audio.
    void hostileFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // then zeros up to 50 GB where that is not empty
        QTest::addColumn<int>("milliseconds"); // -1: not audio
        // Silent MPEG-2.5 Layer III, mono, at 8 kHz: 72 ms a frame.
        const auto frames = [](int count, int kilobits) {
            const QByteArray head = QByteArray("\xFF\xE3") + char(kilobits / 8 << 4 | 8) + '\xC0';
            return head.leftJustified(72 * kilobits / 8, '\0').repeated(count);
        };
        QTest::newRow("50 GB of zeros") << QByteArray() << -1;
        QTest::newRow("tag claiming 256 MB")
            << QByteArray("ID3\4\0\0\x7F\x7F\x7F\x7F", 10) + "abc" << -1;
        QTest::newRow("frame claiming 2 GB")
            << QByteArray("ID3\3\0\0\0\0\1\0TIT2\x7F\xFF\xFF\xFF", 18).leftJustified(138, '\0') +
                   frames(100, 8)
            << 7200;
        QTest::newRow("10,000 frames, two rates") << frames(5000, 8) + frames(5000, 16) << 720000;
    }
    void hostileFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, milliseconds);
        test::writeFile(QFile::decodeName(path("x.mp3")), bytes);
        QVERIFY(!bytes.isEmpty() || QFile::resize(QFile::decodeName(path("x.mp3")), 50LL << 30));
        QFile statm(QStringLiteral("/proc/self/statm")); // pages mapped already, and 128 MB more
        QVERIFY(statm.open(QIODevice::ReadOnly));
        const rlim_t room =
            statm.readAll().split(' ')[0].toULongLong() * sysconf(_SC_PAGESIZE) + (128 << 20);
        const pid_t child = fork();
        if (child == 0) {
            TrackInfo info;
            const rlimit limit{room, room};
            try { // not to QtTest's handler of a crash, which starts a debugger
                if (setrlimit(RLIMIT_AS, &limit) != 0)
                    _exit(8); // unbounded, the read would prove nothing
                TagLibTrackReader().read(AT_FDCWD, path("x.mp3"), info);
            } catch (const std::bad_alloc &) {
                _exit(4);
            }
            const bool figures = milliseconds < 0
                                     ? !info.audio && info.milliseconds == -1
                                     : std::abs(info.milliseconds - milliseconds) <= 72;
            const bool tags = !(info.title + info.artist + info.album + info.genre).empty() ||
                              info.year || info.track;
            _exit(!figures + 2 * tags); // 1: wrong figures, 2: tags, 4: out of memory, 8: no limit
        }
        int status = -1;
        QVERIFY(child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
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
