// The main window's menus, actions and tool bars.
#include "app/frmmain.h"

#include "catalogue/zenteqthumb.h"
#include "ui/drawnicons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QSize kCommandButtonSize(31, 30);

QMenu *NewMenu(const char *name, const QString &designTitle, QWidget *parent)
{
    auto *menu = new QMenu(designTitle, parent);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *NewShortcutAction(const char *name, const QKeySequence &key, QWidget *parent)
{
    auto *action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    parent->addAction(action);
    return action;
}

} // namespace

// Keys set on the menus' items are shown beside them and act only while
// their own menu is open: the keys that act in the window are its own
// actions (search, help) and the catalogue's context menu items, which
// widen their context to the catalogue.
QAction *TFrmMain::AddMenuItem(QMenu *menu, const char *name, const QString &designText,
                               Handler handler, const QKeySequence &key)
{
    auto *action = new QAction(designText, menu);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    menu->addAction(action);
    return action;
}

void TFrmMain::CreateMainMenu()
{
    MenuFile = NewMenu("MenuFile", QStringLiteral("File"), this);
    AddMenuItem(MenuFile, "nOpen", QStringLiteral("Open"), nullptr)->setVisible(false);
    AddMenuItem(MenuFile, "nSaveAs", QStringLiteral("Save As"), &TFrmMain::nSaveAsClick);
    AddMenuItem(MenuFile, "nProperty", QStringLiteral("Property"), &TFrmMain::nPropertyClick);
    MenuFile->addSeparator();
    AddMenuItem(MenuFile, "nExit", QStringLiteral("Exit"), &TFrmMain::nExitClick);

    MenuEdit = NewMenu("MenuEdit", QStringLiteral("Edit"), this);
    AddMenuItem(MenuEdit, "nCopyTo1", QStringLiteral("Copy To"), &TFrmMain::nCopyToClick,
                QKeySequence(Qt::CTRL | Qt::Key_C));
    AddMenuItem(MenuEdit, "nMoveTo1", QStringLiteral("Move To"), &TFrmMain::nMoveToClick,
                QKeySequence(Qt::CTRL | Qt::Key_B));
    AddMenuItem(MenuEdit, "nDel1", QStringLiteral("Delete"), &TFrmMain::nDeleteClick,
                QKeySequence(Qt::Key_Delete));
    MenuEdit->addSeparator();
    AddMenuItem(MenuEdit, "nSearch1", QStringLiteral("Search"), &TFrmMain::nSearch1Click,
                QKeySequence(Qt::CTRL | Qt::Key_F));
    AddMenuItem(MenuEdit, "nSelectAll1", QStringLiteral("Select All"), &TFrmMain::nSelectAllClick,
                QKeySequence(Qt::CTRL | Qt::Key_A));

    MenuView1 = NewMenu("MenuView1", QStringLiteral("View"), this);
    nToolbar = AddMenuItem(MenuView1, "nToolbar", QStringLiteral("Tool Bar"), &TFrmMain::nToolbarClick,
                           QKeySequence(Qt::CTRL | Qt::Key_B));
    nStatusBar = AddMenuItem(MenuView1, "nStatusBar", QStringLiteral("Status Bar"), &TFrmMain::nStatusBarClick);
    nPreview = AddMenuItem(MenuView1, "nPreview", QStringLiteral("Preview"), &TFrmMain::nPreviewClick);
    for (QAction *toggle : {nToolbar, nStatusBar, nPreview}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }
    MenuView1->addSeparator();
    nThumb1 = AddMenuItem(MenuView1, "nThumb1", QStringLiteral("Thumb"), &TFrmMain::nThumb1Click);
    nSmallIcon1 = AddMenuItem(MenuView1, "nSmallIcon1", QStringLiteral("Small Icon"), &TFrmMain::nSmallIcon1Click);
    nList1 = AddMenuItem(MenuView1, "nList1", QStringLiteral("List"), &TFrmMain::nList1Click);
    nDetails1 = AddMenuItem(MenuView1, "nDetails1", QStringLiteral("Detail"), &TFrmMain::nDetails1Click);
    MenuView1->addSeparator();
    AddMenuItem(MenuView1, "nFullScreen", QStringLiteral("Full Screen"), &TFrmMain::tbFullScreenClick);
    AddMenuItem(MenuView1, "nRefresh", QStringLiteral("Refresh"), nullptr)->setVisible(false);

    MenuTools = NewMenu("MenuTools", QStringLiteral("Tools"), this);
    AddMenuItem(MenuTools, "nExe2Swf", QStringLiteral("Exe To Swf"), &TFrmMain::nExe2SwfClick);
    AddMenuItem(MenuTools, "nSwf2Exe", QStringLiteral("Swf To Exe"), &TFrmMain::nSwf2ExeClick);
    AddMenuItem(MenuTools, "nFlash2ScreenSaver", QStringLiteral("Make Screen Saver"),
                &TFrmMain::nFlash2ScreenSaverClick);
    AddMenuItem(MenuTools, "nBatchConvert", QStringLiteral("Batch Convert"), &TFrmMain::nBatchConvertClick);
    AddMenuItem(MenuTools, "nOptions", QStringLiteral("Options"), &TFrmMain::nOptionsClick)->setVisible(false);

    MenuHelp = NewMenu("MenuHelp", QStringLiteral("Help"), this);
    AddMenuItem(MenuHelp, "nHelp", QStringLiteral("Contents"), &TFrmMain::nHelpClick, QKeySequence(Qt::Key_F1));
    AddMenuItem(MenuHelp, "nHomepage", QStringLiteral("Homepage"), &TFrmMain::nHomepageClick);
    AddMenuItem(MenuHelp, "nEmailUs", QStringLiteral("Contact Us"), &TFrmMain::nEmailUsClick);
    AddMenuItem(MenuHelp, "nAbout", QStringLiteral("About"), &TFrmMain::nAboutClick);

    // Search and help act from anywhere in the window.
    connect(NewShortcutAction("acSearch", QKeySequence(Qt::CTRL | Qt::Key_F), this), &QAction::triggered, this,
            &TFrmMain::acSearchExecute);
    connect(NewShortcutAction("acHelp", QKeySequence(Qt::Key_F1), this), &QAction::triggered, this,
            &TFrmMain::acHelpExecute);
}

// The catalogue's context menu. Its keyed items also act from the keyboard
// while the catalogue has the focus, and only while enabled, so the keys
// follow the enabling of the last time the menu opened.
void TFrmMain::CreateCataloguePopup()
{
    PopupZenteqFlash = NewMenu("PopupZenteqFlash", QString(), this);
    nCopyTo = AddMenuItem(PopupZenteqFlash, "nCopyTo", QStringLiteral("Copy To"), &TFrmMain::nCopyToClick,
                          QKeySequence(Qt::CTRL | Qt::Key_C));
    nMoveTo = AddMenuItem(PopupZenteqFlash, "nMoveTo", QStringLiteral("Move To"), &TFrmMain::nMoveToClick,
                          QKeySequence(Qt::CTRL | Qt::Key_B));
    nDelete = AddMenuItem(PopupZenteqFlash, "nDelete", QStringLiteral("Delete"), &TFrmMain::nDeleteClick,
                          QKeySequence(Qt::Key_Delete));
    nSwfToExe = AddMenuItem(PopupZenteqFlash, "nSwfToExe", QStringLiteral("Swf To Exe"), &TFrmMain::nSwf2ExeClick);
    nMakeScreenSaver = AddMenuItem(PopupZenteqFlash, "nMakeScreenSaver", QStringLiteral("Make Screen Saver"),
                                   &TFrmMain::nFlash2ScreenSaverClick);
    nSetAsDesktop = AddMenuItem(PopupZenteqFlash, "nSetAsDesktop", QStringLiteral("Set As Wallpaper"),
                                &TFrmMain::nSetAsDesktopClick);
    PopupZenteqFlash->addSeparator();
    nSelectAll = AddMenuItem(PopupZenteqFlash, "nSelectAll", QStringLiteral("Select All"),
                             &TFrmMain::nSelectAllClick, QKeySequence(Qt::CTRL | Qt::Key_A));
    PopupZenteqFlash->addSeparator();
    nPopProperty = AddMenuItem(PopupZenteqFlash, "nPopProperty", QStringLiteral("Property"),
                               &TFrmMain::nPropertyClick);
    for (QAction *keyed : {nCopyTo, nMoveTo, nDelete, nSelectAll}) {
        keyed->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        FlashView->addAction(keyed);
    }
    connect(PopupZenteqFlash, &QMenu::aboutToShow, this, &TFrmMain::PopupZenteqFlashPopup);
}

// The drop-down of the view-type tool button.
void TFrmMain::CreateViewMenu()
{
    MenuView = NewMenu("MenuView", QString(), this);
    nThumb = AddMenuItem(MenuView, "nThumb", QStringLiteral("Thumb"), &TFrmMain::nThumb1Click);
    nSmallicon = AddMenuItem(MenuView, "nSmallicon", QStringLiteral("Small Icon"), &TFrmMain::nSmallIcon1Click);
    nList = AddMenuItem(MenuView, "nList", QStringLiteral("List"), &TFrmMain::nList1Click);
    nDetail = AddMenuItem(MenuView, "nDetail", QStringLiteral("Detail"), &TFrmMain::nDetails1Click);
    for (QAction *style : {nThumb, nSmallicon, nList, nDetail, nThumb1, nSmallIcon1, nList1, nDetails1})
        style->setCheckable(true);
}

// The bar area above the panes: the menu bar on the first line, the
// command tool bar on the second. Hiding the command tool bar lets the
// area shrink by its height. The menu bar is a real one placed in the
// area rather than the window's own, so the keyboard (Alt with a
// caption's letter, Left and Right between menus, Esc) and assistive
// technology see the menus as they see any menu bar.
void TFrmMain::CreateToolBars()
{
    CoolBar1 = new QWidget(this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    auto *lines = new QVBoxLayout(CoolBar1);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);

    toolbarMenu = new QMenuBar(CoolBar1);
    toolbarMenu->setObjectName(QStringLiteral("toolbarMenu"));
    toolbarMenu->setNativeMenuBar(false);
    toolbarMenu->setAccessibleName(QStringLiteral("Menu bar"));
    lines->addWidget(toolbarMenu);

    ToolBar2 = new QToolBar(CoolBar1);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(24, 24));
    lines->addWidget(ToolBar2);
    CreateCommandButtons();

    setMenuWidget(CoolBar1);
}

QToolButton *TFrmMain::AddCommandButton(const char *name, const QString &hint, int image, Handler handler)
{
    auto *button = new QToolButton(ToolBar2);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(ToolBarIcon(static_cast<TToolImage>(image)));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setFixedSize(kCommandButtonSize);
    connect(button, &QToolButton::clicked, this, handler);
    ToolBar2->addWidget(button);
    return button;
}

void TFrmMain::CreateCommandButtons()
{
    AddCommandButton("tbFullScreen", QStringLiteral("Full Screen"), 0, &TFrmMain::tbFullScreenClick);
    AddCommandButton("tbConfig", QStringLiteral("Flash Property"), 3, &TFrmMain::nPropertyClick);
    QToolButton *tbView = AddCommandButton("tbView", QStringLiteral("View type"), 1, &TFrmMain::nThumb1Click);
    tbView->setMenu(MenuView);
    tbView->setPopupMode(QToolButton::MenuButtonPopup);
    tbView->setFixedWidth(kCommandButtonSize.width()
                          + tbView->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, tbView));
    AddCommandButton("tbSearch", QStringLiteral("Find Flash File"), 2, &TFrmMain::nSearch1Click);
    AddCommandButton("tbBatchConvert", QStringLiteral("Batch Convert"), 6, &TFrmMain::nBatchConvertClick);
    AddCommandButton("tbSetAsDesktop", QStringLiteral("Set As Desktop"), 7, &TFrmMain::nSetAsDesktopClick);
    AddCommandButton("tbMakeScreensaver", QStringLiteral("Swf To Screensaver"), 8,
                     &TFrmMain::nFlash2ScreenSaverClick);
    AddCommandButton("tbHomepage", QStringLiteral("Homepage"), 5, &TFrmMain::nHomepageClick);
    AddCommandButton("tbHelp", QStringLiteral("Help Contents"), 4, &TFrmMain::nHelpClick);
}

// The top-level menus with their current titles (blanks and access keys
// included). Run again after the texts and the plug-ins have changed the
// menus.
void TFrmMain::RebuildMenuBar()
{
    toolbarMenu->clear();
    for (QMenu *menu : {MenuFile, MenuEdit, MenuView1, MenuTools, MenuHelp})
        toolbarMenu->addMenu(menu);
}
