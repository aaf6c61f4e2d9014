// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tunefold {

// The main window's file dialog. Its settings are plain members because the
// caller sets them before every showing and the dialog keeps FileName from
// one showing to the next, so the last choice is offered again.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;

    QString DefaultExt;  // suffix added to a name typed without one
    QString DialogTitle;
    QString Filter;      // "description|pattern"
    bool CancelError = false;
    QString FileName;    // the full path chosen last

    // Shows a save dialog. Returns false when the user cancels; FileName is
    // then left as it was.
    [[nodiscard]] virtual bool ShowSave() = 0;
};

} // namespace tunefold
