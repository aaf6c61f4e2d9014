// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/ProgramIdentity.h"
#include "forms/Twips.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/VolumeList.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QMenu;

namespace tunefold {

class DriveList;
class FolderList;
class FormSurface;
class Label;
class PictureBox;
class StatusBar;

// The program's main window: pick a drive and a folder, click the star, and
// the folder's MP3 list is written where the save dialog says.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    // The window's ties to the system. Any left empty gets the real one: the
    // Qt save dialog and message boxes, the mounted volumes, hand.cur in the
    // identity's folder.
    struct Platform
    {
        std::unique_ptr<CommonDialog> dialog;
        std::unique_ptr<MessageBox> messages;
        std::unique_ptr<VolumeList> volumes;
        QString pointerFile;
    };

    // Builds the window at twipsScale (logical pixels per 15 twips) and runs
    // Form_Load. Throws RuntimeError when the pointer file cannot be loaded;
    // the window is then never shown.
    frmMain(double twipsScale, ProgramIdentity identity, Platform platform = {},
            QWidget *parent = nullptr);
    ~frmMain() override;

    // The texts the layout fits into its boxes, for the logical inch.
    [[nodiscard]] static QList<TextBox> layoutTexts();
    // The client area below the menu bar in twips, and the menu bar's height
    // in pixels with font: what the window takes of the screen, reckoned
    // before it is built.
    [[nodiscard]] static QSize clientTwips();
    [[nodiscard]] static int menuBarHeight(const QFont &font);

    // The controls, named as the window's design names them.
    DriveList *Drive1 = nullptr;
    FolderList *Dir1 = nullptr;
    Label *Label1 = nullptr;
    Label *Label2 = nullptr;
    StatusBar *StatusBar1 = nullptr;
    Label *Label3 = nullptr;
    PictureBox *Image1 = nullptr;
    PictureBox *Image2 = nullptr;
    QMenu *MenuFile = nullptr;
    QAction *MenuExit = nullptr;
    QMenu *MenuHelp = nullptr;
    QAction *MenuAbout = nullptr;

    // The save dialog that list generation uses; it keeps the last choice.
    [[nodiscard]] CommonDialog &CD() { return *m_dialog; }
    [[nodiscard]] MessageBox &messages() { return *m_messages; }
    [[nodiscard]] FormSurface *surface() const { return m_surface; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createMenus();
    void createControls();
    void showStartFolder();
    void connectHandlers();
    void centreOnScreen();
    bool keepOpenFolder();

    void Form_Load();
    void Drive1_Change();
    void Form_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, QPointF position);
    void Image2_Click();
    void Image2_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, QPointF position);
    void Label3_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, QPointF position);
    void MenuAbout_Click();
    void MenuExit_Click();

    Twips m_twips;
    ProgramIdentity m_identity;
    std::unique_ptr<CommonDialog> m_dialog;
    std::unique_ptr<MessageBox> m_messages;
    std::unique_ptr<VolumeList> m_volumes;
    QString m_pointerFile;
    FormSurface *m_surface = nullptr;
    bool m_placed = false;
};

} // namespace tunefold
