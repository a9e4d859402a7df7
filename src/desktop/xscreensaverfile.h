#pragma once
// The one edit the screen saver maker makes to an xscreensaver settings
// file (~/.xscreensaver): our program listed first among the "programs:"
// and selected in the "one" mode. Every other line is kept as it was,
// apart from the line-continuation marks that the list's order needs.
// Pure text in and out; any thread.

#include <QByteArray>
#include <QString>

// `file` with `command` listed first under "programs:" (an earlier entry
// holding the same command removed), "selected:" 0 and "mode:" one; the
// resources are added at the end when the file has none.
QByteArray WithScreenSaverSelected(const QByteArray &file, const QString &command);
