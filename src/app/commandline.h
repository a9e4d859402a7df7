#pragma once
// The command line: only the first argument counts, and it names a movie
// (or a folder to open).

#include <QString>
#include <QStringList>

// The first argument after the program's own name, as given; empty when
// there is none. Later arguments are ignored.
QString FirstArgument(const QStringList &arguments);

// Whether the argument names something: it is not empty once blanks and
// control characters are taken from both ends.
bool IsArgumentPresent(const QString &argument);

// The folder part of the argument: everything up to and including its last
// "/", or empty for a bare file name.
QString ArgumentFolder(const QString &argument);

// An argument that names an existing folder, with a "/" at its end, so that
// its folder part is the folder itself; empty for anything else (a movie).
QString FolderArgument(const QString &argument);
