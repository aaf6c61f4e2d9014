// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/ProgramIdentity.h"
#include "forms/SvgPicture.h"
#include "forms/Twips.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace tunefold {

// The About box: title, version, the maker's notice and a legal warning over
// the background picture, with OK and System Info.... It keeps nothing
// between openings; each opening builds a new one.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    // What System Info... does on each press; it must report its own failures.
    using Launcher = std::function<void()>;

    // twipsScale: logical pixels per 15 twips, as the main window has it.
    frmAbout(QWidget *parent, double twipsScale, ProgramIdentity identity, Launcher startSysInfo);

    // Opens a new About box, modal and centred over mainWindow, and returns
    // once it has closed. System Info... looks the program up in machine.reg
    // in identity's folder and tells of failure in a message box.
    static void showModal(QWidget *mainWindow, double twipsScale, const ProgramIdentity &identity);

    // The texts the layout fits into its boxes, for the logical inch.
    [[nodiscard]] static QList<TextBox> layoutTexts(const ProgramIdentity &identity);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    Twips m_twips;
    ProgramIdentity m_identity;
    Launcher m_startSysInfo;
    SvgPicture m_background;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDisclaimer = nullptr;
};

} // namespace tunefold
