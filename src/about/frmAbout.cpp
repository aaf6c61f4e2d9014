// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmAbout.h"

#include "about/AboutTexts.h"
#include "about/SysInfoLauncher.h"
#include "assets/Assets.h"
#include "forms/Placement.h"
#include "forms/Twips.h"
#include "platform/DetachedProgramStarter.h"
#include "platform/QtMessageBox.h"
#include "platform/RegFileStore.h"

#include <QApplication>
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

QRect pixels(const Twips &twips, const QRect &box)
{
    return twips.rect(box.x(), box.y(), box.width(), box.height());
}

TextBox wrapped(const QString &text, const QRect &box)
{
    return {text, box.width(), box.height(), TextBox::Wrapped};
}

// Left-aligned, wrapping at word boundaries, never resizing itself: text
// below its height is cut off. The background shows through, and the text
// stays black on it whatever the desktop's colours.
QLabel *makeLabel(QWidget *parent, const Twips &twips, const char *name, const QRect &box,
                  const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(pixels(twips, box));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent, double twipsScale, ProgramIdentity identity,
                   Launcher startSysInfo)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_twips(twipsScale), m_identity(std::move(identity)), m_startSysInfo(std::move(startSysInfo)),
      m_background(QString::fromLatin1(BackgroundPicture), BackgroundSize * twipsScale)
{
    setObjectName(QStringLiteral("frmAbout"));
    // As the main window: a font that fits the boxes at a scale held back
    // to fit a small screen.
    if (const QFont fitted = fontFitting(QApplication::font(), twipsScale, layoutTexts(m_identity));
        fitted != QApplication::font())
        setFont(fitted);
    setWindowTitle(QStringLiteral("About MyApp"));
    setWindowIcon(QIcon(QStringLiteral(":/assets/icon16.png")));
    setFixedSize(m_twips.rect(0, 0, ClientWidth, ClientHeight).size());
    setSizeGripEnabled(false);
    createControls();
    Form_Load();
}

void frmAbout::createControls()
{
    // Created in tab order, so OK comes first and System Info... second.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(pixels(m_twips, OkBox));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    cmdSysInfo = new QPushButton(SysInfoCaption, this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(pixels(m_twips, SysInfoBox));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    setTabOrder(cmdOK, cmdSysInfo);

    Label1 = makeLabel(this, m_twips, "Label1", NoticeBox, about::makersNotice());
    lblTitle = makeLabel(this, m_twips, "lblTitle", TitleBox, QStringLiteral("Application Title"));
    lblVersion = makeLabel(this, m_twips, "lblVersion", VersionBox, QStringLiteral("Version"));
    lblDisclaimer = makeLabel(this, m_twips, "lblDisclaimer", DisclaimerBox, about::legalWarning());

    cmdOK->setFocus();
}

QList<TextBox> frmAbout::layoutTexts(const ProgramIdentity &identity)
{
    return {
        wrapped(identity.title, TitleBox),
        wrapped(about::versionText(identity.version), VersionBox),
        wrapped(about::makersNotice(), NoticeBox),
        wrapped(about::legalWarning(), DisclaimerBox),
        {QStringLiteral("OK"), OkBox.width(), OkBox.height(), TextBox::Button},
        {SysInfoCaption, SysInfoBox.width(), SysInfoBox.height(), TextBox::Button},
    };
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + m_identity.title);
    lblVersion->setText(about::versionText(m_identity.version));
    lblTitle->setText(m_identity.title);
}

void frmAbout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background.pixmap(size(), devicePixelRatioF()));
    // Line1: an etched separator, a grey line with a white one below it, 1 and
    // 2 layout pixels (15 twips each) thick. Filled rectangles keep each line
    // on exactly its own rows, which a pen centred on the line would not.
    const auto line = [this, &painter](int x1, int y, int x2, int thickness, const QColor &colour) {
        const int left = m_twips.toPixels(x1);
        painter.fillRect(QRect(left, m_twips.toPixels(y), m_twips.toPixels(x2) - left,
                               std::max(1, m_twips.toPixels(thickness * 15))),
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

void frmAbout::showModal(QWidget *mainWindow, double twipsScale, const ProgramIdentity &identity)
{
    // QDialog centres itself over its parent, and a window with a parent is
    // kept out of the taskbar. Closing by any means ends exec().
    frmAbout dialog(mainWindow, twipsScale, identity, {});
    // The message stands over the About box, which stays open beneath it.
    QtMessageBox messages(identity.title, &dialog);
    dialog.m_startSysInfo = [&messages, &identity] {
        // A new store on every press, so an edited machine.reg counts at once.
        RegFileStore store(RegFileStore::machineStorePath(identity.folder));
        DetachedProgramStarter starter;
        tunefold::StartSysInfo(store, starter, messages);
    };
    // Centred on the main window, but inside its screen. The box's frame is
    // not drawn before it is shown: reckoned as thick as the main window's.
    if (const QScreen *screen = mainWindow->screen()) {
        dialog.adjustSize();
        const QSize frame = dialog.size() + mainWindow->frameGeometry().size() - mainWindow->size();
        dialog.move(
            placedInside(screen->availableGeometry(), mainWindow->frameGeometry().center(), frame));
    }
    dialog.exec();
}

} // namespace tunefold
