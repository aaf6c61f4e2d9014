// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramPointer.h"
#include "doubles/Doubles.h"
#include "main_window/DriveList.h"
#include "main_window/FolderList.h"
#include "main_window/FormSurface.h"
#include "main_window/Label.h"
#include "main_window/PictureBox.h"
#include "main_window/StatusBar.h"
#include "main_window/frmMain.h"
#include "platform/VolumeList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;

namespace {

class ScriptedVolumes final : public VolumeList
{
public:
    explicit ScriptedVolumes(QList<Volume> list) : m_list(std::move(list)) {}
    QList<Volume> volumes() const override { return m_list; }

private:
    QList<Volume> m_list;
};

// A window with scripted dialog, message box and volumes, shown and active.
struct Fixture
{
    explicit Fixture(const QStringList &roots = {QStringLiteral("/")})
    {
        QList<Volume> volumes;
        for (const QString &root : roots)
            volumes.append({root, {}});
        frmMain::Platform platform;
        auto dialogDouble = std::make_unique<test::ScriptedDialog>();
        auto messagesDouble = std::make_unique<test::RecordingMessageBox>();
        dialog = dialogDouble.get();
        messages = messagesDouble.get();
        platform.dialog = std::move(dialogDouble);
        platform.messages = std::move(messagesDouble);
        platform.volumes = std::make_unique<ScriptedVolumes>(volumes);
        platform.pointerFile = QStringLiteral(TUNEFOLD_BIN_DIR "/hand.cur");
        window = std::make_unique<frmMain>(std::move(platform));
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    std::unique_ptr<frmMain> window;
    test::ScriptedDialog *dialog = nullptr;
    test::RecordingMessageBox *messages = nullptr;
};

QColor defaultTextColour(const QWidget *label)
{
    return QApplication::palette(label).color(QPalette::WindowText);
}

} // namespace

class tst_frmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layout();
    void startState();
    void feedback_data();
    void feedback();
    void driveChange_data();
    void driveChange();
    void starClickWritesList();

private:
    QString m_startFolder;
};

void tst_frmMain::init()
{
    m_startFolder = QDir::currentPath();
    ProgramPointer::set(ProgramPointer::Default);
}

void tst_frmMain::cleanup()
{
    QDir::setCurrent(m_startFolder);
}

void tst_frmMain::layout()
{
    Fixture f;
    frmMain &w = *f.window;
    // 15 twips to a pixel, each edge rounded on its own.
    QCOMPARE(w.surface()->size(), QSize(417, 246));
    QCOMPARE(w.Dir1->geometry(), QRect(16, 72, 137, 149));
    QCOMPARE(w.StatusBar1->geometry(), QRect(0, 230, 417, 16));
    QCOMPARE(w.Image2->geometry(), QRect(360, 56, 33, 25));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    // The instruction text is never cut off, and never covers the star.
    QVERIFY(w.Label3->height() >= w.Label3->heightForWidth(w.Label3->width()));
    QCOMPARE(w.surface()->childAt(w.Image2->geometry().topLeft() + QPoint(10, 1)), w.Image2);
}

void tst_frmMain::startState()
{
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    const QString current = QDir::currentPath();
    Fixture f({QStringLiteral("/"), current});
    frmMain &w = *f.window;
    QCOMPARE(w.Drive1->Drive(), current);
    QCOMPARE(w.Dir1->Path(), current);
    QCOMPARE(w.StatusBar1->text(), QStringLiteral("Idle"));
    QCOMPARE(w.Label3->palette().color(QPalette::WindowText), defaultTextColour(w.Label3));
    QVERIFY(!QGuiApplication::overrideCursor());

    // Tab moves between the two lists only.
    QCOMPARE(QApplication::focusWidget(), w.Drive1);
    QTest::keyClick(w.Drive1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Dir1);
    QTest::keyClick(w.Dir1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Drive1);
    QTest::keyClick(w.Drive1, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), w.Dir1);
}

void tst_frmMain::feedback_data()
{
    QTest::addColumn<QStringList>("path"); // where the pointer moves, in turn
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("pointer");

    const QString idle = QStringLiteral("Idle");
    const QString star = QStringLiteral("Click me to begin the search!");
    const int arrow = ProgramPointer::Arrow;
    const int hand = ProgramPointer::Custom;
    const QStringList others{"Drive1", "Dir1", "Label1", "Label2", "Image1", "StatusBar1"};
    QTest::newRow("surface") << QStringList{"surface"} << idle << "black" << arrow;
    QTest::newRow("star") << QStringList{"Image2"} << star << "default" << hand;
    QTest::newRow("star, then the man, missing the surface between")
        << QStringList{"Image2", "Image1"} << star << "default" << hand;
    QTest::newRow("star, then the other controls")
        << QStringList{"Image2"} + others << star << "default" << hand;
    QTest::newRow("star, then the surface")
        << QStringList{"Image2", "surface"} << idle << "black" << arrow;
    QTest::newRow("text") << QStringList{"Label3"} << idle << "blue"
                          << int(ProgramPointer::Default);
    QTest::newRow("text, then the star")
        << QStringList{"Label3", "Image2"} << star << "blue" << hand;
    QTest::newRow("surface, then the text")
        << QStringList{"surface", "Label3"} << idle << "blue" << arrow;
    QTest::newRow("the other controls")
        << others << idle << "default" << int(ProgramPointer::Default);
}

void tst_frmMain::feedback()
{
    QFETCH(QStringList, path);
    QFETCH(QString, status);
    QFETCH(QString, colour);
    QFETCH(int, pointer);

    Fixture f;
    frmMain &w = *f.window;
    const QHash<QString, QWidget *> places = {{"Drive1", w.Drive1},    {"Dir1", w.Dir1},
                                              {"Label1", w.Label1},    {"Label2", w.Label2},
                                              {"Label3", w.Label3},    {"Image1", w.Image1},
                                              {"Image2", w.Image2},    {"StatusBar1", w.StatusBar1},
                                              {"surface", w.surface()}};
    // Left of the folder list, below the captions: nothing but the surface.
    const QPoint bareSurface(6, 120);
    QCOMPARE(w.surface()->childAt(bareSurface), nullptr);

    for (const QString &place : std::as_const(path)) {
        QWidget *target = places.value(place);
        const QPoint at = target == w.surface() ? bareSurface : target->rect().center();
        // Twice: the rules run on every move, not only on entering.
        QTest::mouseMove(target, at);
        QTest::mouseMove(target, at + QPoint(1, 1));
    }

    const QHash<QString, QColor> colours = {{"default", defaultTextColour(w.Label3)},
                                            {"black", QColor(0, 0, 0)},
                                            {"blue", QColor(0, 0, 255)}};
    QCOMPARE(w.StatusBar1->text(), status);
    QCOMPARE(w.Label3->palette().color(QPalette::WindowText), colours.value(colour));
    QCOMPARE(int(ProgramPointer::value()), pointer);
    const QCursor *shown = QGuiApplication::overrideCursor();
    if (pointer == ProgramPointer::Default) {
        QVERIFY(!shown);
    } else {
        QVERIFY(shown);
        QCOMPARE(shown->shape(),
                 pointer == ProgramPointer::Arrow ? Qt::ArrowCursor : Qt::BitmapCursor);
    }
}

void tst_frmMain::driveChange_data()
{
    QTest::addColumn<bool>("currentOnVolume"); // the process's folder lies on the chosen volume
    QTest::addColumn<bool>("rootGone");
    QTest::newRow("volume without the current folder: its root") << false << false;
    QTest::newRow("volume with the current folder: that folder") << true << false;
    QTest::newRow("volume whose root is gone: warning") << false << true;
}

void tst_frmMain::driveChange()
{
    QFETCH(bool, currentOnVolume);
    QFETCH(bool, rootGone);

    QTemporaryDir volume;
    QTemporaryDir elsewhere;
    const QString root = QDir(volume.path()).canonicalPath();
    QVERIFY(QDir().mkpath(root + "/sub"));
    const QString current =
        currentOnVolume ? root + "/sub" : QDir(elsewhere.path()).canonicalPath();

    Fixture f({QStringLiteral("/"), root});
    frmMain &w = *f.window;
    QCOMPARE(w.Drive1->Drive(), QStringLiteral("/"));
    QVERIFY(w.Dir1->setPath(QStringLiteral("/")) == 0);
    QVERIFY(QDir::setCurrent(current));
    if (rootGone)
        QVERIFY(volume.remove());

    QTest::keyClick(w.Drive1, Qt::Key_Down); // a choice by keyboard

    QCOMPARE(w.Drive1->Drive(), root);
    if (rootGone) {
        const test::ShownMessage warning{QStringLiteral("No such file or directory"), 48,
                                         QStringLiteral("Warning")};
        QCOMPARE(f.messages->shown, QList<test::ShownMessage>{warning});
        QCOMPARE(w.Dir1->Path(), QStringLiteral("/"));
    } else {
        QVERIFY(f.messages->shown.isEmpty());
        QCOMPARE(w.Dir1->Path(), currentOnVolume ? current : root);
    }
}

void tst_frmMain::starClickWritesList()
{
    QTemporaryDir folder;
    QFile song(folder.filePath("Song One.MP3"));
    QVERIFY(song.open(QIODevice::WriteOnly));
    QVERIFY(song.resize(3 * 1024 * 1024 / 2));
    song.close();
    QFile other(folder.filePath("notes.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();

    Fixture f;
    QCOMPARE(f.window->Dir1->setPath(folder.path()), 0);
    const QString target = folder.filePath("list.html");
    f.dialog->answers = {target};

    QTest::mouseClick(f.window->Image2, Qt::LeftButton);

    QCOMPARE(f.dialog->shown, 1);
    QCOMPARE(f.dialog->DefaultExt, QStringLiteral("html"));
    QCOMPARE(f.dialog->DialogTitle, QStringLiteral("Save your MP3 list..."));
    QCOMPARE(f.dialog->Filter, QStringLiteral("HTML Files (*.html)|*.html"));
    const test::ShownMessage finished{QStringLiteral("1 MP3's were generated, have a nice day!"),
                                      64, QStringLiteral("Finished")};
    QCOMPARE(f.messages->shown, QList<test::ShownMessage>{finished});
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray document = written.readAll();
    QVERIFY(document.contains("Song One.MP3"));
    QVERIFY(document.contains("1.50 MB</TD>\r\n") || document.contains("1,50 MB</TD>\r\n"));
    QVERIFY(!document.contains("notes.txt"));
    QVERIFY(document.endsWith("</TABLE>\r\n"));
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
