#pragma once
// The main window's commands whose dialogs and operations live in other
// subsystems: one function per command, called by the window's menu items,
// tool buttons and context menu. Interface thread only.

#include <QString>

class TFrmMain;

// The one selected movie; with none or several selected the user is told
// to select one, and the answer is empty.
QString SelectedMovieOrInform(TFrmMain *main);

void SaveSelectedMovieAs(TFrmMain *main);
void OpenPropertyDialog(TFrmMain *main);
void CopySelectedMoviesTo(TFrmMain *main);
void MoveSelectedMoviesTo(TFrmMain *main);
void DeleteSelectedMovies(TFrmMain *main);
void OpenSearchDialog(TFrmMain *main);
void OpenExeToSwfDialog(TFrmMain *main);
void OpenSwfToExeDialog(TFrmMain *main);
void OpenScreenSaverDialog(TFrmMain *main);
void OpenBatchConvertDialog(TFrmMain *main);
void SetSelectedMovieAsWallpaper(TFrmMain *main);
