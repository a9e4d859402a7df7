// The main window: placement kept across starts, bars and toggles, the view
// styles, the context menu's enabling, menus, tool buttons and keys.
#include "app/frmmain.h"
#include "app/settings.h"
#include "apptesthelpers.h"
#include "catalogue/zenteqthumb.h"
#include "shell/shelltreeview.h"
#include "ui/boundedsplitter.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

// The key path the platform takes: shortcut matching against the focus.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString &text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace {

QAction *Action(const QObject &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

std::unique_ptr<TFrmMain> ShownWindow(const QString &movie = QString())
{
    auto window = std::make_unique<TFrmMain>(movie);
    window->show();
    window->activateWindow();
    Settle();
    return window;
}

void PressKey(QWidget *focus, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    // A message box shown by the previous key may have taken the activation.
    focus->window()->activateWindow();
    Settle();
    focus->setFocus();
    Settle();
    qt_sendShortcutOverrideEvent(focus, 0, key, modifiers);
    Settle();
}

int TriggerCount(QAction *action, const std::function<void()> &act)
{
    int count = 0;
    const auto connection = QObject::connect(action, &QAction::triggered, [&count] { ++count; });
    act();
    QObject::disconnect(connection);
    return count;
}

// A temporary folder holding `movies` small movie files.
std::unique_ptr<QTemporaryDir> MovieFolder(int movies)
{
    auto folder = std::make_unique<QTemporaryDir>();
    for (int index = 0; index < movies; ++index)
        WriteTinyMovie(folder->filePath(QStringLiteral("movie%1.swf").arg(index)));
    return folder;
}

} // namespace

TEST(FrmMain, FirstStartWithoutSettingsIsNotMaximizedAndKeepsTheDesignSize)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(725, 522));
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("Panel1"))->width(), 249);
    EXPECT_EQ(QDir(window->folderTree()->Path()), QDir::home());
    EXPECT_EQ(QDir(window->flashView()->FilePath()), QDir::home());
}

// The tree selects its root before the window listens to it: a start on
// the root must still list the root's movies.
TEST(FrmMain, AStartOnTheTreesRootListsTheRootFolder)
{
    TIniFileGuard ini;
    WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), QStringLiteral("/"));
    const auto window = ShownWindow();
    EXPECT_EQ(window->folderTree()->Path(), QStringLiteral("/"));
    EXPECT_EQ(window->flashView()->FilePath(), QStringLiteral("/"));
}

TEST(FrmMain, NormalCloseWritesBoundsAndClearsTheMaximizedFlag)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    window->move(40, 30);
    window->resize(640, 480);
    Settle();
    window->close();
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("left"), -1), window->x());
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("top"), -1), window->y());
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("width"), -1), 640);
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("height"), -1), 480);
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("ViewStyle"), -1), 0);
    EXPECT_EQ(ReadIniString(QStringLiteral("main"), QStringLiteral("lastDir"), QStringLiteral("?")),
              window->folderTree()->Path());
    QFile file(TIniFileGuard::Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList keys;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.contains('='))
            keys << QString::fromUtf8(line.left(line.indexOf('='))).trimmed();
    EXPECT_EQ(keys, QStringList({QStringLiteral("lastDir"), QStringLiteral("left"), QStringLiteral("top"),
                                 QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("ViewStyle")}));

    const auto restarted = ShownWindow();
    EXPECT_FALSE(restarted->isMaximized());
    EXPECT_EQ(restarted->size(), QSize(640, 480));
}

TEST(FrmMain, MaximizedCloseStartsMaximizedAndKeepsTheLastNormalBounds)
{
    TIniFileGuard ini;
    {
        const auto normal = ShownWindow();
        normal->resize(600, 400);
        Settle();
        normal->close();
    }
    {
        const auto maximized = ShownWindow();
        maximized->showMaximized();
        Settle();
        maximized->close();
    }
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("ViewStyle"), -1), 1);
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("width"), -1), 600);
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("height"), -1), 400);

    TFrmMain restarted;
    EXPECT_TRUE(restarted.isMaximized());
    restarted.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(restarted.size(), QSize(600, 400));
}

// Runs the application's event loop until `start` (run from inside it)
// ends it; returns the loop's result, or -1 when it had to be stopped.
int RunLoopUntilEnded(const std::function<void()> &start)
{
    QTimer::singleShot(0, start);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(30000);
    return QApplication::exec();
}

TEST(FrmMain, ExitEndsTheLoopWritingNothingAndStopsTheWorker)
{
    TIniFileGuard ini;
    const auto folder = MovieFolder(20);
    const auto window = ShownWindow();
    window->flashView()->LoadFolder(folder->path());
    EXPECT_EQ(RunLoopUntilEnded([&] { Action(*window, "nExit")->trigger(); }), 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(TIniFileGuard::Exists());
}

TEST(FrmMain, ClosingWhileThumbnailsAreMadeEndsTheLoopAndWritesTheSettings)
{
    TIniFileGuard ini;
    const auto folder = MovieFolder(20);
    const auto window = ShownWindow();
    window->flashView()->LoadFolder(folder->path());
    EXPECT_EQ(RunLoopUntilEnded([&] { window->close(); }), 0);
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("ViewStyle"), -1), 0);
    EXPECT_EQ(ReadIniInteger(QStringLiteral("main"), QStringLiteral("width"), -1), 725);
}

TEST(FrmMain, LeftPaneAcceptsWidthsFrom250To450)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    auto *splitter = window->findChild<TBoundedSplitter *>(QStringLiteral("Splitter1"));
    ASSERT_NE(splitter, nullptr);
    const struct {
        int width;
        bool accepted;
    } cases[] = {{249, false}, {250, true}, {300, true}, {450, true}, {451, false}, {0, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(TFrmMain::Splitter1CanResize(c.width), c.accepted);
        splitter->setSizes({300, 400});
        Settle();
        const int before = splitter->sizes().at(0);
        EXPECT_EQ(splitter->proposeFirstPaneSize(c.width), c.accepted);
        EXPECT_EQ(splitter->sizes().at(0), c.accepted ? c.width : before);
    }
}

TEST(FrmMain, ToolBarToggleShrinksAndGrowsTheBarArea)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    auto *bars = window->findChild<QWidget *>(QStringLiteral("CoolBar1"));
    auto *commands = window->findChild<QToolBar *>(QStringLiteral("ToolBar2"));
    QAction *toggle = Action(*window, "nToolbar");
    const int fullHeight = bars->height();
    const int toolBarHeight = commands->height();
    ASSERT_GT(toolBarHeight, 0);

    toggle->trigger();
    Settle();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(commands->isVisible());
    EXPECT_EQ(bars->height(), fullHeight - toolBarHeight);

    toggle->trigger();
    Settle();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(commands->isVisible());
    EXPECT_EQ(bars->height(), fullHeight);
}

TEST(FrmMain, StatusBarAndPreviewTogglesHideAndShowTheirAreas)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    const struct {
        const char *item;
        QWidget *area;
    } cases[] = {{"nStatusBar", window->statusBar()},
                 {"nPreview", window->findChild<QWidget *>(QStringLiteral("Panel2"))}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item);
        QAction *toggle = Action(*window, c.item);
        EXPECT_TRUE(toggle->isChecked());
        toggle->trigger();
        EXPECT_FALSE(c.area->isVisible());
        toggle->trigger();
        EXPECT_TRUE(c.area->isVisible());
    }
}

TEST(FrmMain, DetailChecksItsTwoItemsAndUnchecksTheOtherSix)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    const char *styleItems[] = {"nThumb", "nThumb1", "nSmallicon", "nSmallIcon1",
                                "nList",  "nList1",  "nDetail",    "nDetails1"};
    for (const char *name : styleItems)
        EXPECT_FALSE(Action(*window, name)->isChecked()) << name;

    Action(*window, "nList")->trigger();
    Action(*window, "nDetails1")->trigger();
    for (const char *name : styleItems) {
        const bool detail = QByteArray(name).startsWith("nDetail");
        EXPECT_EQ(Action(*window, name)->isChecked(), detail) << name;
    }
    EXPECT_EQ(window->flashView()->viewStyle(), TZenteqThumb::vsReport);

    window->findChild<QToolButton *>(QStringLiteral("tbView"))->click();
    EXPECT_TRUE(Action(*window, "nThumb")->isChecked());
    EXPECT_TRUE(Action(*window, "nThumb1")->isChecked());
    EXPECT_FALSE(Action(*window, "nDetails1")->isChecked());
    EXPECT_EQ(window->flashView()->viewStyle(), TZenteqThumb::vsIcon);
}

TEST(FrmMain, SelectionEnablingFollowsTheCount)
{
    const struct {
        int count;
        bool any;
        bool one;
    } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {5, true, false}};
    for (const auto &c : cases) {
        const TSelectionEnabling enabling = SelectionEnabling(c.count);
        EXPECT_EQ(enabling.anySelected, c.any) << c.count;
        EXPECT_EQ(enabling.oneSelected, c.one) << c.count;
    }
}

TEST(FrmMain, ContextMenuEnablesItemsBySelection)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    const char *anyItems[] = {"nCopyTo", "nMoveTo", "nDelete"};
    const char *oneItems[] = {"nSwfToExe", "nMakeScreenSaver", "nSetAsDesktop", "nPopProperty"};
    for (const int movies : {0, 1, 2}) {
        SCOPED_TRACE(movies);
        const auto folder = MovieFolder(movies);
        window->flashView()->LoadFolder(folder->path());
        window->flashView()->selectAll();
        ASSERT_EQ(window->flashView()->selectedCount(), movies);

        emit window->flashView()->contextMenuRequested(window->mapToGlobal(QPoint(400, 200)));
        Settle();
        auto *popup = window->findChild<QMenu *>(QStringLiteral("PopupZenteqFlash"));
        EXPECT_TRUE(popup->isVisible());
        popup->close();
        for (const char *name : anyItems)
            EXPECT_EQ(Action(*window, name)->isEnabled(), movies >= 1) << name;
        for (const char *name : oneItems)
            EXPECT_EQ(Action(*window, name)->isEnabled(), movies == 1) << name;
        EXPECT_TRUE(Action(*window, "nSelectAll")->isEnabled());
        // The Edit menu's twins are never disabled.
        EXPECT_TRUE(Action(*window, "nCopyTo1")->isEnabled());
        EXPECT_TRUE(Action(*window, "nDel1")->isEnabled());
    }
}

TEST(FrmMain, MenuBarCarriesTheTopLevelCaptionsWithTheirBlanks)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    auto *bar = window->findChild<QMenuBar *>(QStringLiteral("toolbarMenu"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->parentWidget()->objectName(), QStringLiteral("CoolBar1"));
    QStringList captions;
    for (QAction *action : bar->actions()) {
        ASSERT_NE(action->menu(), nullptr);
        captions << action->text();
    }
    EXPECT_EQ(captions, QStringList({QStringLiteral(" &File "), QStringLiteral(" &Edit "), QStringLiteral(" &View "),
                                     QStringLiteral(" &Tools "), QStringLiteral(" &Help ")}));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zenteq Pavoko V1.3"));
}

TEST(FrmMain, MenuItemsHaveTheirTextsKeysAndVisibility)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    const struct {
        const char *name;
        const char *text;
        const char *key;
        bool visible;
    } items[] = {
        {"nOpen", "&Open", "", false},
        {"nSaveAs", "&Save As", "", true},
        {"nProperty", "&Property", "", true},
        {"nExit", "&Exit", "", true},
        {"nCopyTo1", "&Copy To...", "Ctrl+C", true},
        {"nMoveTo1", "&Move To...", "Ctrl+B", true},
        {"nDel1", "&Delete", "Del", true},
        {"nSearch1", "&Search", "Ctrl+F", true},
        {"nSelectAll1", "&Select All", "Ctrl+A", true},
        {"nToolbar", "ToolBar", "Ctrl+B", true},
        {"nStatusBar", "StatusBar", "", true},
        {"nPreview", "&Preview Window", "", true},
        {"nFullScreen", "&Full Screen", "", true},
        {"nRefresh", "&Refresh", "", false},
        {"nExe2Swf", "&Exe To Swf", "", true},
        {"nBatchConvert", "&Batch Convert", "", true},
        {"nOptions", "&Option", "", false},
        {"nHelp", "&Contents", "F1", true},
        {"nEmailUs", "&Contact Us...", "", true},
        {"nAbout", "&About Zenteq Pavoko", "", true},
        {"nSetAsDesktop", "&Set As WallPaper", "", true},
        {"nDelete", "&Delete", "Del", true},
    };
    for (const auto &item : items) {
        SCOPED_TRACE(item.name);
        QAction *action = Action(*window, item.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QLatin1String(item.text));
        EXPECT_EQ(action->shortcut().toString(), QLatin1String(item.key));
        EXPECT_EQ(action->isVisible(), item.visible);
    }
}

TEST(FrmMain, CommandToolBarHasNineButtonsWithHintsAndPictures)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    auto *bar = window->findChild<QToolBar *>(QStringLiteral("ToolBar2"));
    const QStringList expected = {
        QStringLiteral("tbFullScreen:Full Screen"),      QStringLiteral("tbConfig:Flash Property"),
        QStringLiteral("tbView:View type"),              QStringLiteral("tbSearch:Find Flash File"),
        QStringLiteral("tbBatchConvert:Batch Convert"),  QStringLiteral("tbSetAsDesktop:Set As Desktop"),
        QStringLiteral("tbMakeScreensaver:Swf To Screensaver"), QStringLiteral("tbHomepage:Homepage"),
        QStringLiteral("tbHelp:Help Contents")};
    QStringList found;
    for (QAction *action : bar->actions()) {
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->icon().pixmap(24, 24).isNull()) << button->objectName().toStdString();
        found << button->objectName() + QLatin1Char(':') + button->toolTip();
    }
    EXPECT_EQ(found, expected);
    auto *view = window->findChild<QToolButton *>(QStringLiteral("tbView"));
    EXPECT_EQ(view->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(view->menu(), window->findChild<QMenu *>(QStringLiteral("MenuView")));
}

TEST(FrmMain, StatusBarHasFourPanelsAndTheProgressBarInTheFourth)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    const int widths[] = {150, 200, 280, 50};
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(window->statusPanel(index)->width(), widths[index]) << index;
    QProgressBar *progress = window->statusProgress();
    EXPECT_EQ(progress->parentWidget(), window->statusPanel(3));
    EXPECT_EQ(progress->geometry(), window->statusPanel(3)->contentsRect());
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 10);
    EXPECT_EQ(progress->value(), 0);
}

TEST(FrmMain, PlaybackButtonsAreBoundToTheSevenActionsAndStartEnabled)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    auto *bar = window->findChild<QToolBar *>(QStringLiteral("ToolBar3"));
    const char *actions[] = {"acPlayStart", "acPlayBack",    "acPlayPause", "acPlayStop",
                             "acPlayPlay",  "acPlayForword", "acPlayEnd"};
    const char *buttons[] = {"tbStart", "tbBack", "tbPause", "tbStop", "tbPlay", "tbForword", "tbEnd"};
    for (int index = 0; index < 7; ++index) {
        QAction *action = Action(*window, actions[index]);
        ASSERT_NE(action, nullptr) << actions[index];
        EXPECT_TRUE(action->isEnabled());
        EXPECT_EQ(bar->widgetForAction(action)->objectName(), QLatin1String(buttons[index]));
    }
    EXPECT_NE(window->findChild<QLabel *>(QStringLiteral("panText")), nullptr);
}

TEST(FrmMain, CatalogueKeysActOnlyWithTheCatalogueFocused)
{
    TIniFileGuard ini;
    TModalCloser closer;
    const auto window = ShownWindow();
    QWidget *catalogue = window->flashView();
    QWidget *elsewhere = window->folderTree();
    const struct {
        const char *item;
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"nCopyTo", Qt::Key_C, Qt::ControlModifier},
                {"nMoveTo", Qt::Key_B, Qt::ControlModifier},
                {"nDelete", Qt::Key_Delete, Qt::NoModifier},
                {"nSelectAll", Qt::Key_A, Qt::ControlModifier}};
    for (const auto &k : keys) {
        SCOPED_TRACE(k.item);
        QAction *item = Action(*window, k.item);
        EXPECT_EQ(TriggerCount(item, [&] { PressKey(catalogue, k.key, k.modifiers); }), 1);
        EXPECT_EQ(TriggerCount(item, [&] { PressKey(elsewhere, k.key, k.modifiers); }), 0);
    }
    // Alt with a top-level caption's underlined letter drops its menu down.
    auto *viewMenu = window->findChild<QMenu *>(QStringLiteral("MenuView1"));
    bool dropped = false;
    const auto closeOnShow = QObject::connect(viewMenu, &QMenu::aboutToShow, [&] {
        dropped = true;
        QTimer::singleShot(0, viewMenu, &QMenu::close);
    });
    PressKey(elsewhere, Qt::Key_V, Qt::AltModifier);
    QObject::disconnect(closeOnShow);
    EXPECT_TRUE(dropped);
    // Ctrl+B stands beside ToolBar in the View menu but never toggles it.
    EXPECT_TRUE(Action(*window, "nToolbar")->isChecked());
    EXPECT_TRUE(window->findChild<QToolBar *>(QStringLiteral("ToolBar2"))->isVisible());
}

TEST(FrmMain, CatalogueKeysFollowTheLastContextMenuEnabling)
{
    TIniFileGuard ini;
    TModalCloser closer;
    const auto window = ShownWindow();
    window->flashView()->LoadFolder(QString()); // nothing selected
    emit window->flashView()->contextMenuRequested(window->mapToGlobal(QPoint(400, 200)));
    Settle();
    window->findChild<QMenu *>(QStringLiteral("PopupZenteqFlash"))->close();

    QWidget *catalogue = window->flashView();
    EXPECT_EQ(TriggerCount(Action(*window, "nCopyTo"), [&] { PressKey(catalogue, Qt::Key_C, Qt::ControlModifier); }),
              0);
    EXPECT_EQ(TriggerCount(Action(*window, "nSelectAll"),
                           [&] { PressKey(catalogue, Qt::Key_A, Qt::ControlModifier); }),
              1);
}

TEST(FrmMain, SearchAndHelpKeysActAnywhereInTheWindow)
{
    TIniFileGuard ini;
    TModalCloser closer;
    TUrlRecorder desktop;
    const auto window = ShownWindow();
    for (QWidget *focus : {static_cast<QWidget *>(window->folderTree()), static_cast<QWidget *>(window->flashView())}) {
        EXPECT_EQ(TriggerCount(Action(*window, "acSearch"), [&] { PressKey(focus, Qt::Key_F, Qt::ControlModifier); }),
                  1);
        EXPECT_EQ(TriggerCount(Action(*window, "acHelp"), [&] { PressKey(focus, Qt::Key_F1); }), 1);
    }
    ASSERT_EQ(desktop.urls.size(), 2);
    EXPECT_EQ(desktop.urls.at(0), QUrl::fromLocalFile(ProgramFolder() + QStringLiteral("help.html")));
}

TEST(FrmMain, HelpHomepageAndMailOpenThroughTheDesktop)
{
    TIniFileGuard ini;
    TUrlRecorder desktop;
    const auto window = ShownWindow();
    Action(*window, "nHelp")->trigger();
    Action(*window, "nHomepage")->trigger();
    Action(*window, "nEmailUs")->trigger();
    window->findChild<QToolButton *>(QStringLiteral("tbHomepage"))->click();
    ASSERT_EQ(desktop.urls.size(), 4);
    EXPECT_EQ(desktop.urls.at(0), QUrl::fromLocalFile(ProgramFolder() + QStringLiteral("help.html")));
    EXPECT_EQ(desktop.urls.at(1), QUrl(QStringLiteral("https://pavoko.example.org/")));
    EXPECT_EQ(desktop.urls.at(2).toString(),
              QStringLiteral("mailto:support@pavoko.example.org?subject=&cc=sales@pavoko.example.org"));
    EXPECT_EQ(desktop.urls.at(3), desktop.urls.at(1));
}

TEST(FrmMain, SelectAllSelectsEveryCatalogueItem)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    const auto folder = MovieFolder(3);
    window->flashView()->LoadFolder(folder->path());
    Action(*window, "nSelectAll1")->trigger();
    EXPECT_EQ(window->flashView()->selectedCount(), 3);
}

TEST(FrmMain, TreeTakesDragsFromTheCatalogueOnly)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    QObject insideCatalogue(window->flashView());
    EXPECT_TRUE(window->treeDragOver(window->flashView()));
    EXPECT_TRUE(window->treeDragOver(&insideCatalogue));
    EXPECT_FALSE(window->treeDragOver(window->folderTree()));
    EXPECT_FALSE(window->treeDragOver(nullptr));
}

TEST(FrmMain, FirstActivationOpensTheStoredFolderAndTheCatalogueFollows)
{
    TIniFileGuard ini;
    const auto folder = MovieFolder(2);
    WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), folder->path());
    const auto window = ShownWindow();
    EXPECT_EQ(QDir(window->folderTree()->Path()), QDir(folder->path()));
    EXPECT_EQ(window->flashView()->itemCount(), 2);
}

TEST(FrmMain, ActivationPrefersTheCommandLineMoviesFolderAndFallsBackToHome)
{
    TIniFileGuard ini;
    const auto stored = MovieFolder(0);
    const auto movies = MovieFolder(1);
    WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), stored->path());
    const struct {
        QString argument;
        QString folder;
    } cases[] = {
        {movies->filePath(QStringLiteral("movie0.swf")), movies->path()},
        {QStringLiteral("   "), stored->path()},
        {QStringLiteral("movie0.swf"), QDir::homePath()},
        {movies->filePath(QStringLiteral("gone/movie.swf")), QDir::homePath()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        const auto window = ShownWindow(c.argument);
        EXPECT_EQ(QDir(window->folderTree()->Path()), QDir(c.folder));
    }
}

// Closing a dialog or the full-screen player leaves the person where they
// were; only a folder that went away meanwhile gives way to the stored one.
TEST(FrmMain, ReturningFromAProgramDialogKeepsTheFolderUnlessItIsGone)
{
    TIniFileGuard ini;
    const auto stored = MovieFolder(0);
    const auto other = MovieFolder(2);
    WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), stored->path());
    const auto window = ShownWindow();

    const auto visitAndReturn = [&](QWidget *visited, const std::function<void()> &meanwhile) {
        visited->show();
        visited->activateWindow();
        Settle();
        meanwhile();
        visited->hide();
        window->activateWindow();
        Settle();
    };
    window->folderTree()->setPath(other->path());
    window->flashView()->setItemSelected(1, true);
    QMessageBox box(window.get());
    visitAndReturn(&box, [] {});
    QDialog dialog(window.get());
    visitAndReturn(&dialog, [] {});
    EXPECT_EQ(QDir(window->folderTree()->Path()), QDir(other->path()));
    EXPECT_EQ(window->flashView()->selectedRows(), QList<int>({1}));

    const auto gone = MovieFolder(0);
    window->folderTree()->setPath(gone->path());
    visitAndReturn(&dialog, [&] { QDir(gone->path()).removeRecursively(); });
    EXPECT_EQ(QDir(window->folderTree()->Path()), QDir(stored->path()));
}
