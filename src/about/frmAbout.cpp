// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmAbout.h"

#include "about/AboutTexts.h"
#include "about/SysInfoLauncher.h"
#include "app/AppIdentity.h"
#include "app/Assets.h"
#include "main_window/Twips.h"
#include "main_window/frmMain.h"
#include "platform/DetachedProgramStarter.h"
#include "platform/QtMessageBox.h"
#include "platform/RegFileStore.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace tunefold {

namespace {

// The client area, in twips.
constexpr int ClientWidth = 5736;
constexpr int ClientHeight = 3564;

// The boxes, in twips.
constexpr QRect OkBox(4245, 2625, 1260, 345);
constexpr QRect SysInfoBox(4260, 3075, 1245, 345);
constexpr QRect NoticeBox(1080, 720, 3972, 252);
constexpr QRect TitleBox(1056, 240, 3888, 240);
constexpr QRect VersionBox(1080, 480, 3888, 228);
constexpr QRect DisclaimerBox(255, 2625, 3870, 825);

const QString SysInfoCaption = QStringLiteral("&System Info...");

QRect pixels(const QRect &twips)
{
    return twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

TextBox wrapped(const QString &text, const QRect &box)
{
    return {text, box.width(), box.height(), TextBox::Wrapped};
}

// Left-aligned, wrapping at word boundaries, never resizing itself: text
// below its height is cut off. The background shows through, and the text
// stays black on it whatever the desktop's colours.
QLabel *makeLabel(QWidget *parent, const char *name, const QRect &box, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(pixels(box));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent, Launcher startSysInfo)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_startSysInfo(std::move(startSysInfo)),
      m_background(QString::fromLatin1(BackgroundPicture), BackgroundSize * twipsScale())
{
    setObjectName(QStringLiteral("frmAbout"));
    setFont(twipsFont());
    setWindowTitle(QStringLiteral("About MyApp"));
    setWindowIcon(QIcon(QStringLiteral(":/assets/icon16.png")));
    setFixedSize(twipsRect(0, 0, ClientWidth, ClientHeight).size());
    setSizeGripEnabled(false);
    createControls();
    Form_Load();
}

void frmAbout::createControls()
{
    // Created in tab order, so OK comes first and System Info... second.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(pixels(OkBox));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    cmdSysInfo = new QPushButton(SysInfoCaption, this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(pixels(SysInfoBox));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    setTabOrder(cmdOK, cmdSysInfo);

    Label1 = makeLabel(this, "Label1", NoticeBox, about::makersNotice());
    lblTitle = makeLabel(this, "lblTitle", TitleBox, QStringLiteral("Application Title"));
    lblVersion = makeLabel(this, "lblVersion", VersionBox, QStringLiteral("Version"));
    lblDisclaimer = makeLabel(this, "lblDisclaimer", DisclaimerBox, about::legalWarning());

    cmdOK->setFocus();
}

QList<TextBox> frmAbout::layoutTexts()
{
    return {
        wrapped(QLatin1String(app::Title), TitleBox),
        wrapped(about::versionText(app::Major, app::Minor, app::Revision), VersionBox),
        wrapped(about::makersNotice(), NoticeBox),
        wrapped(about::legalWarning(), DisclaimerBox),
        {QStringLiteral("OK"), OkBox.width(), OkBox.height(), TextBox::Button},
        {SysInfoCaption, SysInfoBox.width(), SysInfoBox.height(), TextBox::Button},
    };
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + QLatin1String(app::Title));
    lblVersion->setText(about::versionText(app::Major, app::Minor, app::Revision));
    lblTitle->setText(QLatin1String(app::Title));
}

void frmAbout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background.pixmap(size(), devicePixelRatioF()));
    // Line1: an etched separator, a grey line with a white one below it, 1 and
    // 2 layout pixels (15 twips each) thick. Filled rectangles keep each line
    // on exactly its own rows, which a pen centred on the line would not.
    const auto line = [&painter](int x1, int y, int x2, int thickness, const QColor &colour) {
        const int left = twipsToPixels(x1);
        painter.fillRect(QRect(left, twipsToPixels(y), twipsToPixels(x2) - left,
                               std::max(1, twipsToPixels(thickness * 15))),
                         colour);
    };
    line(90, 2451, 5660, 1, QColor(128, 128, 128));
    line(105, 2466, 5660, 2, QColor(255, 255, 255));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (m_startSysInfo)
        m_startSysInfo();
}

void frmAbout::showModal(QWidget *mainWindow)
{
    // QDialog centres itself over its parent, and a window with a parent is
    // kept out of the taskbar. Closing by any means ends exec().
    frmAbout dialog(mainWindow, {});
    // The message stands over the About box, which stays open beneath it.
    QtMessageBox messages(&dialog);
    dialog.m_startSysInfo = [&messages] {
        // A new store on every press, so an edited machine.reg counts at once.
        RegFileStore store(RegFileStore::machineStorePath());
        DetachedProgramStarter starter;
        tunefold::StartSysInfo(store, starter, messages);
    };
    // Centred on the main window, but inside its screen.
    if (const QScreen *screen = mainWindow->screen()) {
        dialog.adjustSize();
        dialog.move(placedInside(screen->availableGeometry(), mainWindow->frameGeometry().center(),
                                 dialog.frameGeometry().size()));
    }
    dialog.exec();
}

} // namespace tunefold
