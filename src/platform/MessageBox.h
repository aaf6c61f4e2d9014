// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tunefold {

// Style numbers of a message box: the buttons and icon it shows.
enum MessageStyle : int {
    OkOnly = 0,       // an OK button, no icon
    Exclamation = 48, // an OK button and the warning icon
    Information = 64, // an OK button and the information icon
};

// A modal message box. Handlers talk to this rather than to QMessageBox so
// tests can record what would have been shown.
class MessageBox
{
public:
    virtual ~MessageBox() = default;

    // Shows the box and returns when the user has closed it. An empty title
    // means the application title.
    virtual void show(const QString &text, int style, const QString &title = {}) = 0;
};

} // namespace tunefold
