#include "app/frmmain.h"

#include "app/commandline.h"
#include "app/errorreport.h"
#include "app/formtexts.h"
#include "app/pluginloader.h"
#include "app/settings.h"
#include "catalogue/zenteqthumb.h"
#include "platform/programfolder.h"
#include "player/mainflash.h"
#include "player/playcommands.h"
#include "shell/shelltreeview.h"
#include "ui/boundedsplitter.h"
#include "ui/drawnicons.h"
#include "ui/trackbar95.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QErrorMessage>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString kMainSection = QStringLiteral("main");
const QString kRootFolder = QStringLiteral("/");

// A person's movies live under their home folder: it is where a first
// start opens and where a start folder that is gone falls back to.
QString StartFolderFallback()
{
    return QDir::homePath();
}
constexpr int kDesignWidth = 725;
constexpr int kDesignHeight = 522;
constexpr int kLeftPaneWidth = 249;
constexpr int kLeftPaneMinimum = 250;
constexpr int kLeftPaneMaximum = 450;
constexpr int kSplitterWidth = 4;
constexpr int kPreviewHeight = 213;
constexpr int kStatusPanelWidths[4] = {150, 200, 280, 50};

// Windows of the program itself (its dialogs and players), as opposed to
// message boxes, the platform's standard dialogs and pop-ups: returning
// from one of them counts as an activation of the main window.
bool IsProgramWindow(const QWidget *widget)
{
    if (!widget)
        return false;
    const Qt::WindowType type = widget->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    return !qobject_cast<const QMessageBox *>(widget) && !qobject_cast<const QFileDialog *>(widget)
        && !qobject_cast<const QColorDialog *>(widget) && !qobject_cast<const QFontDialog *>(widget)
        && !qobject_cast<const QInputDialog *>(widget) && !qobject_cast<const QProgressDialog *>(widget)
        && !qobject_cast<const QErrorMessage *>(widget);
}

QWidget *TopLevelWidgetOf(const QWindow *window)
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets)
        if (widget->windowHandle() == window)
            return widget;
    return nullptr;
}

// A status bar panel that asks for its width but, like the panels of a
// status bar always did, gives way when the window is narrower than all
// panels together.
class TStatusPanel : public QLabel {
public:
    // File names go here, so texts show as they are, never as markup.
    TStatusPanel(int width, QWidget *parent) : QLabel(parent), m_width(width) { setTextFormat(Qt::PlainText); }
    QSize sizeHint() const override { return {m_width, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int m_width;
};

QWidget *NewPanel(const char *name, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return panel;
}

} // namespace

TSelectionEnabling SelectionEnabling(int selectedCount)
{
    return {selectedCount > 0, selectedCount == 1};
}

TFrmMain::TFrmMain(const QString &commandLineMovie, QWidget *parent)
    : QMainWindow(parent), m_commandLineMovie(commandLineMovie)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Pavoko"));
    setWindowIcon(ProgramPicture(32));
    resize(kDesignWidth, kDesignHeight);
    CreatePanes();
    CreateStatusBar();
    CreateMainMenu();
    CreateCataloguePopup();
    CreateViewMenu();
    CreateToolBars();
    ConnectCatalogue();
    FormCreate();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TFrmMain::NoteFocusWindow);
}

TFrmMain::~TFrmMain() = default;

QLabel *TFrmMain::statusPanel(int index) const
{
    return (index >= 0 && index < 4) ? StatusPanels[index] : nullptr;
}

bool TFrmMain::Splitter1CanResize(int newWidth)
{
    return newWidth >= kLeftPaneMinimum && newWidth <= kLeftPaneMaximum;
}

// The left pane (folder tree over the preview) and the catalogue on the
// right. Only the catalogue grows with the window.
void TFrmMain::CreatePanes()
{
    Splitter1 = new TBoundedSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(kSplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setCanResize(&TFrmMain::Splitter1CanResize);

    Panel1 = NewPanel("Panel1", Splitter1);
    Splitter2 = new QSplitter(Qt::Vertical, Panel1);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(kSplitterWidth);
    Splitter2->setChildrenCollapsible(false);
    Panel1->layout()->addWidget(Splitter2);

    tree = new TShellTreeView(Splitter2);
    tree->setObjectName(QStringLiteral("tree"));
    tree->setAccessibleName(QStringLiteral("Folders"));
    tree->setObjectTypes(TShellTreeView::otFolders | TShellTreeView::otHidden);
    tree->setRootIsDecorated(false);
    tree->setIndentation(19);
    tree->viewport()->setAcceptDrops(true);
    tree->viewport()->installEventFilter(this);
    CreatePreviewArea();
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({kDesignHeight, kPreviewHeight});

    Panel3 = NewPanel("Panel3", Splitter1);
    FlashView = new TZenteqThumb(Panel3);
    FlashView->setObjectName(QStringLiteral("FlashView"));
    Panel3->layout()->addWidget(FlashView);

    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({kLeftPaneWidth, kDesignWidth - kLeftPaneWidth - kSplitterWidth});
    setCentralWidget(Splitter1);
}

// The preview under the tree: the movie's panel, the track bar, the seven
// playback buttons and the frame counter. The track bar keeps one pixel
// free on either side of the panel below the movie.
void TFrmMain::CreatePreviewArea()
{
    Panel2 = NewPanel("Panel2", Splitter2);
    PanFlash = new QWidget(Panel2);
    PanFlash->setObjectName(QStringLiteral("PanFlash"));
    PanFlash->setAccessibleName(QStringLiteral("Preview"));
    PanFlash->setAutoFillBackground(true);
    QPalette workspace = PanFlash->palette();
    workspace.setColor(QPalette::Window, QColor(128, 128, 128));
    PanFlash->setPalette(workspace);
    PanFlash->installEventFilter(this);
    Panel2->layout()->addWidget(PanFlash);

    QWidget *Panel4 = NewPanel("Panel4", Panel2);
    Panel4->setFixedHeight(52);
    Panel4->layout()->setContentsMargins(1, 0, 1, 0);
    Panel2->layout()->addWidget(Panel4);

    TrackBar = new TTrackBar95(Panel4);
    TrackBar->setObjectName(QStringLiteral("TrackBar"));
    TrackBar->setAccessibleName(QStringLiteral("Position"));
    TrackBar->setFixedHeight(18);
    TrackBar->setFixedLength(true);
    TrackBar->setThumbSize(16);
    TrackBar->setRange(0, 0);
    Panel4->layout()->addWidget(TrackBar);

    ToolBar3 = new QToolBar(Panel4);
    ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
    ToolBar3->setMovable(false);
    ToolBar3->setIconSize(QSize(16, 16));
    Panel4->layout()->addWidget(ToolBar3);

    PlayCommands = new TPlayCommands(this);
    static const char *const buttons[TPlayCommands::kCount] = {"tbStart", "tbBack",    "tbPause", "tbStop",
                                                                "tbPlay",  "tbForword", "tbEnd"};
    const QList<QAction *> actions = PlayCommands->actions();
    for (int index = 0; index < TPlayCommands::kCount; ++index) {
        ToolBar3->addAction(actions.at(index));
        ToolBar3->widgetForAction(actions.at(index))->setObjectName(QLatin1String(buttons[index]));
    }
    panText = new QLabel(ToolBar3);
    panText->setObjectName(QStringLiteral("panText"));
    panText->setFixedSize(61, 22);
    panText->setAlignment(Qt::AlignCenter);
    ToolBar3->addWidget(panText);

    // Runs from the start; its first tick, with nothing previewed, stops it.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &TFrmMain::Timer1Timer);
    Timer1->start();
}

void TFrmMain::CreateStatusBar()
{
    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int index = 0; index < 4; ++index) {
        auto *panel = new TStatusPanel(kStatusPanelWidths[index], bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(index + 1));
        panel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel);
        StatusPanels[index] = panel;
    }
    setStatusBar(bar);
}

void TFrmMain::ConnectCatalogue()
{
    connect(tree, &TShellTreeView::changed, this, &TFrmMain::treeChange);
    connect(FlashView, &TZenteqThumb::statusTextChanged, StatusPanels[0], &QLabel::setText);
    connect(FlashView, &TZenteqThumb::contextMenuRequested, this, &TFrmMain::ShowCataloguePopup);
    connect(FlashView, &TZenteqThumb::itemClicked, this, &TFrmMain::FlashViewClick);
    connect(FlashView, &TZenteqThumb::itemDoubleClicked, this, &TFrmMain::FlashViewDblClick);
    connect(FlashView, &TZenteqThumb::errorReported, this, &ShowErrorReport);
}

void TFrmMain::FormCreate()
{
    ApplyFormTexts(this);
    LoadPlugins();
    RebuildMenuBar();

    // The progress bar fills the fourth status panel and follows it.
    StatusProgress = new QProgressBar(StatusPanels[3]);
    StatusProgress->setObjectName(QStringLiteral("StatusProgress"));
    StatusProgress->setTextVisible(false);
    StatusProgress->setRange(0, 10);
    StatusProgress->setValue(0);
    auto *fill = new QVBoxLayout(StatusPanels[3]);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(StatusProgress);
    connect(FlashView, &TZenteqThumb::progressRangeChanged, StatusProgress, &QProgressBar::setMaximum);
    connect(FlashView, &TZenteqThumb::progressValueChanged, StatusProgress, &QProgressBar::setValue);

    RestorePlacement();
}

void TFrmMain::LoadPlugins()
{
    LoadPluginsFrom(ProgramFolder() + QStringLiteral("Plug-in/"), MenuTools, this);
}

// Bounds are only applied when a size was stored: a first start keeps the
// design size and the window system's placement. The view style is not
// restored; the catalogue starts with thumbnails and no style checked.
void TFrmMain::RestorePlacement()
{
    const int viewStyle = ReadIniInteger(kMainSection, QStringLiteral("ViewStyle"), 0);
    const int left = ReadIniInteger(kMainSection, QStringLiteral("left"), 0);
    const int top = ReadIniInteger(kMainSection, QStringLiteral("top"), 0);
    const int width = ReadIniInteger(kMainSection, QStringLiteral("width"), 0);
    const int height = ReadIniInteger(kMainSection, QStringLiteral("height"), 0);
    if (width > 0 && height > 0) {
        move(left, top);
        resize(width, height);
    }
    if (viewStyle == 1)
        setWindowState(windowState() | Qt::WindowMaximized);
}

bool TFrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_activatedBefore) {
        m_activatedBefore = true;
        FormActivate();
    } else if (event->type() == QEvent::WindowActivate && m_returningFromOwnWindow) {
        m_returningFromOwnWindow = false;
        ReturnFromOwnWindow();
    } else if (event->type() == QEvent::Show && !m_activatedBefore) {
        // Some sessions (no window manager, focus-stealing prevention) never
        // activate a new window; the first showing must still open the
        // start folder, once the window is on screen.
        QTimer::singleShot(0, this, [this] {
            if (!m_activatedBefore) {
                m_activatedBefore = true;
                FormActivate();
            }
        });
    }
    return QMainWindow::event(event);
}

// Remembers where the focus went while it was away from this window, so
// that the next activation knows whether it returns from a program window.
void TFrmMain::NoteFocusWindow(QWindow *window)
{
    if (!window || window == windowHandle())
        return;
    m_returningFromOwnWindow = IsProgramWindow(TopLevelWidgetOf(window));
}

// A dialog or the full-screen player closed. The person goes on where they
// were: the tree keeps its folder, the catalogue its items and selection.
// Only a folder that went away meanwhile gives way to the start folder.
void TFrmMain::ReturnFromOwnWindow()
{
    if (!QFileInfo(tree->Path()).isDir())
        FormActivate();
}

void TFrmMain::FormActivate()
{
    QString folder = ReadIniString(kMainSection, QStringLiteral("lastDir"), StartFolderFallback());
    if (IsArgumentPresent(m_commandLineMovie))
        folder = ArgumentFolder(m_commandLineMovie);
    if (!QFileInfo(folder).isDir())
        folder = StartFolderFallback();
    else if (QDir::isRelativePath(folder))
        folder = QFileInfo(folder).absoluteFilePath();
    try {
        tree->setPath(folder);
    } catch (const EInvalidPath &) {
        // An existing folder the tree cannot show (unreadable on the way
        // down) must not raise an error box at every activation.
        tree->setPath(kRootFolder);
    }
    // The tree selected its root before this window listened to it, so a
    // start on the root changes nothing in the tree; the catalogue must
    // still show the folder the tree shows.
    if (FlashView->FilePath() != tree->Path())
        treeChange();
}

void TFrmMain::closeEvent(QCloseEvent *event)
{
    // Exit ends the program without writing anything; a second close while
    // the first waits for the worker is refused, the first one completes.
    if (m_exiting) {
        event->accept();
        return;
    }
    if (m_closing) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TFrmMain::FormClose()
{
    m_closing = true;
    FlashView->StopWorkerAndWait();
    m_closing = false;
    WriteIniString(kMainSection, QStringLiteral("lastDir"), tree->Path());
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        WriteIniInteger(kMainSection, QStringLiteral("ViewStyle"), 1);
        return;
    }
    WriteIniInteger(kMainSection, QStringLiteral("left"), x());
    WriteIniInteger(kMainSection, QStringLiteral("top"), y());
    WriteIniInteger(kMainSection, QStringLiteral("width"), width());
    WriteIniInteger(kMainSection, QStringLiteral("height"), height());
    WriteIniInteger(kMainSection, QStringLiteral("ViewStyle"), 0);
}

void TFrmMain::nExitClick()
{
    m_exiting = true;
    FlashView->StopWorkerAndWait();
    QCoreApplication::quit();
}

// The preview's control goes, its panels, track bar and counter stay
// until the next click on the catalogue.
void TFrmMain::treeChange()
{
    delete Player;
    Player = nullptr;
    CurrentItem = 0;
    if (FlashView)
        FlashView->LoadFolder(tree->Path());
}

bool TFrmMain::treeDragOver(const QObject *source) const
{
    for (const QObject *object = source; object; object = object->parent())
        if (object == FlashView)
            return true;
    return false;
}

// Movies dragged from the catalogue may hover over the tree, but dropping
// them there does nothing.
void TFrmMain::treeDragDrop() {}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PanFlash && event->type() == QEvent::Resize)
        PanFlashResize();
    if (watched != tree->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (treeDragOver(drag->source()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop:
        treeDragDrop();
        event->ignore();
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}
