// Selecting movies in the catalogue the way a person does (clicks with and
// without Ctrl and Shift, keys, a dragged band, Select All) in each of the
// four view styles, and what the commands then see of the selection.
#include "app/frmmain.h"
#include "app/settings.h"
#include "apptesthelpers.h"
#include "catalogue/frmproperty.h"
#include "catalogue/zenteqthumb.h"
#include "player/frmfullscreen.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int kMovies = 6;

struct TViewStyle {
    const char *menuItem;  // the View menu's item that picks the style
    const char *name;
};

const TViewStyle kStyles[] = {
    {"nThumb1", "Thumb"}, {"nSmallIcon1", "SmallIcon"}, {"nList1", "List"}, {"nDetails1", "Detail"}};

// The context menu's items that one or more selected movies enable, and
// those that need exactly one.
const char *const kAnyItems[] = {"nCopyTo", "nMoveTo", "nDelete"};
const char *const kOneItems[] = {"nSwfToExe", "nMakeScreenSaver", "nSetAsDesktop", "nPopProperty"};

// Runs `handle` on the first modal window of type `Form` that opens while
// `act` runs, then closes it.
template <typename Form>
bool WhileModal(const std::function<void()> &act, const std::function<void(Form &)> &handle)
{
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *form = qobject_cast<Form *>(QApplication::activeModalWidget());
        if (!form || seen)
            return;
        seen = true;
        handle(*form);
        form->close();
    });
    poll.start(5);
    act();
    return seen;
}

class CatalogueSelection : public ::testing::TestWithParam<TViewStyle> {
protected:
    void SetUp() override
    {
        for (int index = 0; index < kMovies; ++index)
            WriteTinyMovie(folder.filePath(QStringLiteral("movie%1.swf").arg(index)));
        WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), folder.path());
        window = std::make_unique<TFrmMain>();
        window->resize(900, 700);
        window->show();
        window->activateWindow();
        Settle();
        ASSERT_EQ(catalogue()->itemCount(), kMovies);
        window->findChild<QAction *>(QLatin1String(GetParam().menuItem))->trigger();
        Settle();
    }

    TZenteqThumb *catalogue() const { return window->flashView(); }
    QAbstractItemView *items() const { return catalogue()->currentView(); }
    QWindow *screenWindow() const { return window->windowHandle(); }

    // Where a person points at movie `row`, or at the catalogue's empty
    // lower right corner, in the window's coordinates.
    QPoint PointAt(int row) const
    {
        const QRect item = items()->visualRect(items()->model()->index(row, 0));
        return items()->viewport()->mapTo(window.get(), item.center());
    }
    QPoint EmptyCorner() const
    {
        QWidget *viewport = items()->viewport();
        return viewport->mapTo(window.get(), QPoint(viewport->width() - 4, viewport->height() - 4));
    }

    void Click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(screenWindow(), Qt::LeftButton, modifiers, PointAt(row));
        Settle();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(screenWindow(), Qt::Key(key), modifiers);
        Settle();
    }

    // Right-clicks movie `row` and reads the context menu's enabled items
    // as "any:one" flags: "11" when all items that one or several movies
    // enable are enabled.
    QString ContextMenuEnabling(int row)
    {
        QTest::mouseClick(screenWindow(), Qt::RightButton, Qt::NoModifier, PointAt(row));
        Settle();
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!popup || popup->objectName() != QStringLiteral("PopupZenteqFlash"))
            return QStringLiteral("no menu");
        const QString flags = GroupEnabling(kAnyItems) + GroupEnabling(kOneItems);
        popup->close();
        Settle();
        return flags;
    }

    // "1" when every item of `names` is enabled, "0" when none is.
    template <size_t Count>
    QString GroupEnabling(const char *const (&names)[Count]) const
    {
        int enabled = 0;
        for (const char *name : names)
            enabled += window->findChild<QAction *>(QLatin1String(name))->isEnabled();
        return enabled == int(Count) ? QStringLiteral("1") : enabled == 0 ? QStringLiteral("0") : QStringLiteral("?");
    }

    TIniFileGuard ini;
    QTemporaryDir folder;
    std::unique_ptr<TFrmMain> window;
};

TEST_P(CatalogueSelection, ClicksWithCtrlAndShiftMakeTheSelectionTheContextMenuSees)
{
    Click(1);
    EXPECT_EQ(catalogue()->selectedRows(), QList<int>({1}));
    EXPECT_EQ(ContextMenuEnabling(1), QStringLiteral("11"));

    Click(3, Qt::ControlModifier);
    EXPECT_EQ(catalogue()->selectedRows(), QList<int>({1, 3}));
    EXPECT_EQ(ContextMenuEnabling(3), QStringLiteral("10"));

    Click(0);
    Click(2, Qt::ShiftModifier);
    EXPECT_EQ(catalogue()->selectedRows(), QList<int>({0, 1, 2}));
    EXPECT_EQ(ContextMenuEnabling(2), QStringLiteral("10"));

    Click(1, Qt::ControlModifier);
    EXPECT_EQ(catalogue()->selectedPaths(),
              QStringList({catalogue()->itemPath(0), catalogue()->itemPath(2)}));
}

TEST_P(CatalogueSelection, KeysMoveAndExtendTheSelection)
{
    Click(0);
    Key(Qt::Key_End);
    EXPECT_EQ(catalogue()->selectedRows(), QList<int>({kMovies - 1}));
    EXPECT_EQ(ContextMenuEnabling(kMovies - 1), QStringLiteral("11"));
    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(catalogue()->selectedCount(), kMovies);

    // The catalogue's Delete key follows the menu's enabling: it acts on a
    // selection made with the mouse in every style.
    Click(2);
    ContextMenuEnabling(2);
    int deletes = 0;
    QObject::connect(window->findChild<QAction *>(QStringLiteral("nDelete")), &QAction::triggered,
                     [&deletes] { ++deletes; });
    TModalCloser closer;
    Key(Qt::Key_Delete);
    EXPECT_EQ(deletes, 1);
}

TEST_P(CatalogueSelection, ADraggedBandAndSelectAllSelectSeveralMovies)
{
    QTest::mousePress(screenWindow(), Qt::LeftButton, Qt::NoModifier, EmptyCorner());
    QTest::mouseMove(screenWindow(), (EmptyCorner() + PointAt(0)) / 2);
    QTest::mouseMove(screenWindow(), PointAt(0));
    QTest::mouseRelease(screenWindow(), Qt::LeftButton, Qt::NoModifier, PointAt(0));
    Settle();
    EXPECT_EQ(catalogue()->selectedCount(), kMovies);
    EXPECT_EQ(ContextMenuEnabling(0), QStringLiteral("10"));

    Click(4);
    ASSERT_EQ(catalogue()->selectedCount(), 1);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(catalogue()->selectedCount(), kMovies);
}

TEST_P(CatalogueSelection, PropertyShowsTheClickedMovie)
{
    Click(4);
    QString shownName;
    const bool opened = WhileModal<TFrmProperty>(
        [&] { window->findChild<QAction *>(QStringLiteral("nProperty"))->trigger(); },
        [&](TFrmProperty &dialog) { shownName = dialog.nameText(); });
    EXPECT_TRUE(opened);
    EXPECT_EQ(shownName, QStringLiteral("movie4.swf"));
}

TEST_P(CatalogueSelection, TheFirstDoubleClickPlaysTheMovieFullScreen)
{
    Click(0);
    ASSERT_NE(window->previewPlayer(), nullptr);
    QString played;
    QRect covered, screen;
    const bool opened = WhileModal<TFrmFullScreen>(
        [&] { QTest::mouseDClick(screenWindow(), Qt::LeftButton, Qt::NoModifier, PointAt(3)); },
        [&](TFrmFullScreen &player) {
            played = player.MoviePath;
            covered = player.geometry();
            screen = player.screen()->geometry();
        });
    ASSERT_TRUE(opened);
    EXPECT_EQ(played, catalogue()->itemPath(3));
    EXPECT_EQ(covered, screen);
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, CatalogueSelection, ::testing::ValuesIn(kStyles),
                         [](const ::testing::TestParamInfo<TViewStyle> &info) { return std::string(info.param.name); });

}  // namespace
