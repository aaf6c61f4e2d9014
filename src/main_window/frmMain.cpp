// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/frmMain.h"

#include "about/frmAbout.h"
#include "assets/Assets.h"
#include "forms/FormSurface.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Placement.h"
#include "forms/ProgramPointer.h"
#include "forms/Twips.h"
#include "list/ListGeneration.h"
#include "main_window/DriveList.h"
#include "main_window/FolderList.h"
#include "main_window/StatusBar.h"
#include "platform/FileOutput.h"
#include "platform/PosixFolderSearch.h"
#include "platform/QtCommonDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtVolumeList.h"

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>

namespace tunefold {

namespace {

// The client area below the menu bar, in twips.
constexpr int ClientWidth = 6252;
constexpr int ClientHeight = 3696;

constexpr quint32 Black = 0x000000;
constexpr quint32 Blue = 0xFF0000;

const QString IdleText = QStringLiteral("Idle");
const QString StarText = QStringLiteral("Click me to begin the search!");
const QString DriveCaption = QStringLiteral("Drive:");
const QString FolderCaption = QStringLiteral("Look in:");
const QString Instructions = QStringLiteral("What now?  First choose a drive, then choose a folder "
                                            "to search in.  Then just click the star!");

// The instruction text's box: three lines of the layout's font.
constexpr int InstructionsLeft = 2880, InstructionsTop = 240;
constexpr int InstructionsWidth = 2772, InstructionsHeight = 612;
// The captions size themselves to their text; each has the room above its
// list, over the list's width.
constexpr int CaptionWidth = 2052, CaptionHeight = 240;

} // namespace

frmMain::frmMain(double twipsScale, ProgramIdentity identity, Platform platform, QWidget *parent)
    : QMainWindow(parent), m_twips(twipsScale), m_identity(std::move(identity)),
      m_dialog(std::move(platform.dialog)), m_messages(std::move(platform.messages)),
      m_volumes(std::move(platform.volumes)), m_pointerFile(std::move(platform.pointerFile))
{
    initAssets();
    if (!m_dialog)
        m_dialog = std::make_unique<QtCommonDialog>(this);
    if (!m_messages)
        m_messages = std::make_unique<QtMessageBox>(m_identity.title, this);
    if (!m_volumes)
        m_volumes = std::make_unique<QtVolumeList>();
    if (m_pointerFile.isEmpty())
        m_pointerFile = m_identity.file(QStringLiteral("hand.cur"));

    setWindowTitle(QStringLiteral("Harrowfen's Tunefold"));
    // At a scale held back to fit a small screen the desktop's font would
    // overflow the boxes; the window, its menu bar and status line included,
    // takes the largest that fits. Otherwise it follows the desktop's.
    if (const QFont fitted = fontFitting(QApplication::font(), twipsScale, layoutTexts());
        fitted != QApplication::font())
        setFont(fitted);
    // A fixed frame: minimise and close, but no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    createMenus();
    createControls();
    showStartFolder();
    connectHandlers();
    Form_Load();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    centreOnScreen();
}

frmMain::~frmMain() = default;

QList<TextBox> frmMain::layoutTexts()
{
    return {
        {DriveCaption, CaptionWidth, CaptionHeight, TextBox::Line},
        {FolderCaption, CaptionWidth, CaptionHeight, TextBox::Line},
        {Instructions, InstructionsWidth, InstructionsHeight, TextBox::Wrapped},
    };
}

QSize frmMain::clientTwips()
{
    return {ClientWidth, ClientHeight};
}

int frmMain::menuBarHeight(const QFont &font)
{
    // One row of menu titles, whichever they are.
    QMenuBar bar;
    bar.setFont(font);
    bar.addMenu(QStringLiteral("&File"));
    return bar.sizeHint().height();
}

void frmMain::createMenus()
{
    MenuFile = menuBar()->addMenu(QStringLiteral("&File"));
    MenuExit = MenuFile->addAction(QStringLiteral("E&xit"));
    MenuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    MenuAbout = MenuHelp->addAction(QStringLiteral("&About..."));
}

void frmMain::createControls()
{
    m_surface = new FormSurface(QString::fromLatin1(BackgroundPicture),
                                BackgroundSize * m_twips.scale(), this);
    m_surface->setFixedSize(m_twips.rect(0, 0, ClientWidth, ClientHeight).size());
    setCentralWidget(m_surface);

    // Created in the order of their tab positions: that is also the focus
    // chain, and the later ones lie on top where boxes touch.
    Drive1 = new DriveList(*m_volumes, m_surface);
    // On Linux Qt names a drop-down after its current entry and leaves its
    // name to the caption linked to it as buddy, as screen readers expect.
    Drive1->setAccessibleName(QStringLiteral("Drive"));
    Drive1->setAccessibleDescription(QStringLiteral("The volume to search on"));
    Drive1->setGeometry(m_twips.rect(240, 360, 2052, 288));
    Dir1 = new FolderList(m_twips, m_surface);
    Dir1->setAccessibleName(QStringLiteral("Look in"));
    Dir1->setAccessibleDescription(
        QStringLiteral("The folder to search; Enter opens the highlighted one"));
    Dir1->setGeometry(m_twips.rect(240, 1080, 2052, 2232));
    // The two captions size themselves to their text.
    Label1 = new Label(DriveCaption, m_surface);
    Label1->move(m_twips.rect(240, 120, 420, 192).topLeft());
    Label1->adjustSize();
    Label1->setBuddy(Drive1);
    Label2 = new Label(FolderCaption, m_surface);
    Label2->move(m_twips.rect(240, 840, 552, 192).topLeft());
    Label2->adjustSize();
    Label2->setBuddy(Dir1);
    StatusBar1 = new StatusBar(m_surface);
    StatusBar1->setGeometry(m_twips.rect(0, 3444, ClientWidth, 252));
    StatusBar1->setText(IdleText);
    StatusBar1->setAccessibleDescription(QStringLiteral("Status"));
    Label3 = new Label(Instructions, m_surface);
    Label3->setWordWrap(true);
    Label3->setGeometry(
        m_twips.rect(InstructionsLeft, InstructionsTop, InstructionsWidth, InstructionsHeight));
    Image1 = new PictureBox(QStringLiteral(":/assets/shrug.svg"),
                            QStringLiteral("A man who shrugs"), m_surface);
    Image1->setGeometry(m_twips.rect(3000, 960, 2340, 2388));
    Image2 = new PictureBox(QStringLiteral(":/assets/star.svg"), QStringLiteral("Star"), m_surface);
    Image2->setAccessibleDescription(QStringLiteral("Begins the search in the open folder"));
    Image2->setGeometry(m_twips.rect(5400, 840, 492, 372));
    // The keyboard's way to the search: Tab after the folder list, then
    // Enter or Space. A click never gives it the focus.
    Image2->setPressable(true);

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, Image2);
    Drive1->setFocus();
}

// The process's current folder, on its volume. A current folder that has
// been removed or cannot be read leaves the list at the root instead of
// empty.
void frmMain::showStartFolder()
{
    const QString current = QDir::currentPath();
    Drive1->chooseVolumeOf(current);
    if (current.isEmpty() || Dir1->setPath(current) != 0)
        (void)Dir1->setPath(QByteArray("/"));
}

void frmMain::connectHandlers()
{
    connect(Drive1, &QComboBox::currentIndexChanged, this, &frmMain::Drive1_Change);
    connect(Drive1, &DriveList::mountsChanged, this, &frmMain::keepOpenFolder);
    connect(Dir1, &FolderList::openFolderGone, this, &frmMain::keepOpenFolder);
    connect(m_surface, &FormSurface::mouseMoved, this, &frmMain::Form_MouseMove);
    connect(Image2, &PictureBox::clicked, this, &frmMain::Image2_Click);
    connect(Image2, &PictureBox::mouseMoved, this, &frmMain::Image2_MouseMove);
    connect(Label3, &Label::mouseMoved, this, &frmMain::Label3_MouseMove);
    connect(MenuAbout, &QAction::triggered, this, &frmMain::MenuAbout_Click);
    connect(MenuExit, &QAction::triggered, this, &frmMain::MenuExit_Click);
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only now does the frame have its real size.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen();
    }
}

void frmMain::centreOnScreen()
{
    const QScreen *onScreen = screen();
    if (!onScreen)
        return;
    const QRect available = onScreen->availableGeometry();
    move(placedInside(available, available.center(), frameGeometry().size()));
}

// When the open folder has gone (its volume unmounted, the folder removed),
// opens the nearest folder above it that is left, or the drive list's first
// volume, and shows the volume that holds it. Returns whether it moved.
bool frmMain::keepOpenFolder()
{
    if (Dir1->openFolderExists())
        return false;
    if (Dir1->openNearestFolder() != 0 && Drive1->count() > 0)
        (void)Dir1->setPath(Drive1->itemData(0).toString());
    // Quietly: a drive change would move the folder list once more.
    const QSignalBlocker quiet(Drive1);
    Drive1->chooseVolumeOf(Dir1->Path());
    return true;
}

// Loads the hand pointer. The setting stays as it is, so nothing changes on
// the screen until the pointer first passes over the star.
void frmMain::Form_Load()
{
    // The pointer grows with the window, device pixels included: at a
    // display scale of 2 it is drawn at twice its file's size.
    const QScreen *onScreen = screen();
    ProgramPointer::setCustomImage(scaledPointer(loadPointerFile(m_pointerFile), m_twips.scale(),
                                                 onScreen ? onScreen->devicePixelRatio() : 1));
}

// Moves the folder list to the chosen volume's current folder: the process's
// current folder if it lies there, otherwise the volume's root.
void frmMain::Drive1_Change()
{
    const QString drive = Drive1->Drive();
    const QString current = QDir::currentPath();
    const QString folder = volumeRootOf(Drive1->volumes(), current) == drive ? current : drive;
    if (const int error = Dir1->setPath(folder); error != 0)
        m_messages->show(qt_error_string(error), Exclamation, QStringLiteral("Warning"));
}

void frmMain::Form_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF)
{
    StatusBar1->setText(IdleText);
    StatusBar1->setAccessibleDescription(QStringLiteral("Status"));
    Label3->setForeColor(Black);
    ProgramPointer::set(ProgramPointer::Arrow);
}

void frmMain::Image2_Click()
{
    // A folder that went without notice is not searched; the list now shows
    // where it moved to.
    if (keepOpenFolder())
        return;
    PosixFolderSearch search;
    FileOutput output;
    tunefold::Image2_Click(Dir1->pathBytes(), search, *m_dialog, output, *m_messages);
}

void frmMain::Image2_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF)
{
    StatusBar1->setText(StarText);
    ProgramPointer::set(ProgramPointer::Custom);
}

void frmMain::Label3_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF)
{
    Label3->setForeColor(Blue);
}

// Help > About...: returns once the About window has closed.
void frmMain::MenuAbout_Click()
{
    frmAbout::showModal(this, m_twips.scale(), m_identity);
}

// Ends the program at once: every event loop returns, nested ones included,
// and no further event is handled.
void frmMain::MenuExit_Click()
{
    QCoreApplication::exit(0);
}

} // namespace tunefold
