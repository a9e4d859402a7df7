#pragma once
// Copy To, Move To, Delete and Save As on the movies selected in the
// catalogue view. The files are handled in list order by a file job
// (filejob.h); the catalogue is never reloaded: Copy To keeps the
// selection, Move To and Delete remove the items whose files are gone and
// keep those whose files are still there. Files that could not be handled
// are listed in one "Information" box after the run. Interface thread only.

#include <QString>

class QWidget;
class TZenteqThumb;
struct TMoveToServices;

// Each does nothing without a selection.
void CopySelectionTo(QWidget *owner, TZenteqThumb *catalogue, const TMoveToServices &services);
void MoveSelectionTo(QWidget *owner, TZenteqThumb *catalogue, const TMoveToServices &services);
void DeleteSelection(QWidget *owner, TZenteqThumb *catalogue);

// Asks for a file name in a save dialog and copies the movie at `path`
// there.
void SaveMovieAs(QWidget *owner, const QString &path);
