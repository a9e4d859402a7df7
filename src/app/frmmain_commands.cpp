// The main window's command handlers.
#include "app/frmmain.h"

#include "app/commandroutes.h"
#include "app/contactlinks.h"
#include "app/frmabout.h"
#include "app/frmoptions.h"
#include "catalogue/zenteqthumb.h"
#include "platform/programfolder.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

void TFrmMain::nToolbarClick()
{
    ToolBar2->setVisible(nToolbar->isChecked());
}

void TFrmMain::nStatusBarClick()
{
    statusBar()->setVisible(nStatusBar->isChecked());
}

void TFrmMain::nPreviewClick()
{
    Panel2->setVisible(nPreview->isChecked());
}

void TFrmMain::ClearViewChecks()
{
    for (QAction *style : {nThumb, nThumb1, nSmallicon, nSmallIcon1, nList, nList1, nDetail, nDetails1})
        style->setChecked(false);
}

void TFrmMain::SelectViewStyle(QAction *popupItem, QAction *menuItem, int style)
{
    ClearViewChecks();
    popupItem->setChecked(true);
    menuItem->setChecked(true);
    FlashView->setViewStyle(static_cast<TZenteqThumb::ViewStyle>(style));
}

void TFrmMain::nThumb1Click()
{
    SelectViewStyle(nThumb, nThumb1, TZenteqThumb::vsIcon);
}

void TFrmMain::nSmallIcon1Click()
{
    SelectViewStyle(nSmallicon, nSmallIcon1, TZenteqThumb::vsSmallIcon);
}

void TFrmMain::nList1Click()
{
    SelectViewStyle(nList, nList1, TZenteqThumb::vsList);
}

void TFrmMain::nDetails1Click()
{
    SelectViewStyle(nDetail, nDetails1, TZenteqThumb::vsReport);
}

void TFrmMain::PopupZenteqFlashPopup()
{
    const TSelectionEnabling enabling = SelectionEnabling(FlashView->selectedCount());
    for (QAction *item : {nCopyTo, nMoveTo, nDelete})
        item->setEnabled(enabling.anySelected);
    for (QAction *item : {nSwfToExe, nMakeScreenSaver, nSetAsDesktop, nPopProperty})
        item->setEnabled(enabling.oneSelected);
    nSelectAll->setEnabled(true);
}

void TFrmMain::ShowCataloguePopup(const QPoint &globalPos)
{
    PopupZenteqFlash->popup(globalPos);
}

void TFrmMain::nSelectAllClick()
{
    FlashView->selectAll();
}

void TFrmMain::nSaveAsClick() { SaveSelectedMovieAs(this); }
void TFrmMain::nPropertyClick() { OpenPropertyDialog(this); }
void TFrmMain::nCopyToClick() { CopySelectedMoviesTo(this); }
void TFrmMain::nMoveToClick() { MoveSelectedMoviesTo(this); }
void TFrmMain::nDeleteClick() { DeleteSelectedMovies(this); }
void TFrmMain::nSearch1Click() { OpenSearchDialog(this); }
void TFrmMain::nExe2SwfClick() { OpenExeToSwfDialog(this); }
void TFrmMain::nSwf2ExeClick() { OpenSwfToExeDialog(this); }
void TFrmMain::nFlash2ScreenSaverClick() { OpenScreenSaverDialog(this); }
void TFrmMain::nBatchConvertClick() { OpenBatchConvertDialog(this); }
void TFrmMain::nSetAsDesktopClick() { SetSelectedMovieAsWallpaper(this); }

// The desktop opens the help page, the home page and the mail; what it
// does when it cannot is its own affair.
void TFrmMain::nHelpClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProgramFolder() + kHelpFileName));
}

void TFrmMain::nHomepageClick()
{
    QDesktopServices::openUrl(QUrl(kHomepageUrl));
}

void TFrmMain::nEmailUsClick()
{
    QDesktopServices::openUrl(QUrl(kSupportMailUrl));
}

void TFrmMain::nAboutClick()
{
    TFrmAbout about(this);
    about.exec();
}

void TFrmMain::nOptionsClick()
{
    TFrmOptions options(this);
    options.exec();
}

void TFrmMain::acSearchExecute()
{
    nSearch1Click();
}

void TFrmMain::acHelpExecute()
{
    nHelpClick();
}
