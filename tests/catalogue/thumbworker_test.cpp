#include <QAbstractItemView>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "cataloguefixture.h"

namespace {

// The rows the worker counts as on screen (icons whose tops lie between
// -99 and the client height) that have no thumbnail yet.
QList<int> ShownRowsWithoutImage(const TZenteqThumb &view)
{
    QAbstractItemView *items = view.currentView();
    const int height = items->viewport()->height();
    QList<int> rows;
    for (int row = 0; row < view.itemCount(); ++row) {
        const int top = items->visualRect(items->model()->index(row, 0)).top();
        if (top > -100 && top < height && view.itemImageIndex(row) < 0)
            rows << row;
    }
    return rows;
}

}  // namespace

using ThumbWorker = CatalogueFixture;

TEST_F(ThumbWorker, RendersTheItemsOnScreenBeforeTheTopOfAScrolledList)
{
    const QString folder = makeFolder(QStringLiteral("two-hundred"), 200);
    TZenteqThumb view;
    ShowView(view);
    view.LoadFolder(folder);
    view.scrollToItem(100);
    ASSERT_TRUE(FinishWorker(view));

    QAbstractItemView *items = view.currentView();
    const QRect screen = items->viewport()->rect();
    int onScreen = 0;
    for (int row = 0; row < view.itemCount(); ++row) {
        if (!items->visualRect(items->model()->index(row, 0)).intersects(screen))
            continue;
        ++onScreen;
        EXPECT_LT(view.itemImageIndex(row), view.itemImageIndex(0)) << "row " << row;
    }
    EXPECT_GT(onScreen, 4);
    EXPECT_FALSE(items->visualRect(items->model()->index(0, 0)).intersects(screen));
    EXPECT_EQ(view.thumbnailCount(), 200);  // nothing rendered twice
}

TEST_F(ThumbWorker, AScrollMakesTheNewlyVisibleItemsComeNext)
{
    const QString folder = makeFolder(QStringLiteral("scrolled"), 200);
    TZenteqThumb view;
    ShowView(view);
    view.LoadFolder(folder);
    ASSERT_TRUE(WaitUntil([&] { return view.thumbnailCount() >= 2; }));
    QAbstractItemView *items = view.currentView();
    items->setFocus();
    QScrollBar *bar = items->verticalScrollBar();
    const QList<std::pair<const char *, std::function<void()>>> scrolls = {
        {"End key", [&] { QTest::keyClick(items, Qt::Key_End); }},
        {"click on the scroll bar above its slider",
         [&] { QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() / 2)); }},
        {"slider dragged to the middle", [&] { bar->setSliderPosition(bar->maximum() / 2); }},
    };
    for (const auto &[how, scroll] : scrolls) {
        const int madeBefore = view.thumbnailCount();
        scroll();
        const QList<int> shown = ShownRowsWithoutImage(view);
        ASSERT_FALSE(shown.isEmpty()) << how;
        ASSERT_TRUE(WaitUntil([&] { return ShownRowsWithoutImage(view).isEmpty(); })) << how;
        // One thumbnail may have been under way when the view scrolled;
        // every one after it is of an item now on screen.
        for (const int row : shown)
            EXPECT_LE(view.itemImageIndex(row), madeBefore + shown.size()) << how << ", row " << row;
    }
    EXPECT_LT(view.thumbnailCount(), 200);
}

TEST_F(ThumbWorker, ALoadDuringARunStopsTheOldWorkerAndNoLateResultReachesTheNewList)
{
    const QString first = makeFolder(QStringLiteral("first"), 200, 1);
    const QString second = makeFolder(QStringLiteral("second"), 30, 1000);
    TZenteqThumb view;
    ShowView(view);
    QStringList statusTexts;
    QObject::connect(&view, &TZenteqThumb::statusTextChanged, [&](const QString &text) { statusTexts << text; });
    view.LoadFolder(first);
    ASSERT_TRUE(WaitUntil([&] { return view.thumbnailCount() >= 3; }));
    view.LoadFolder(second);
    ASSERT_TRUE(FinishWorker(view));

    EXPECT_EQ(statusTexts.last(), QStringLiteral("Total file: 30"));
    EXPECT_EQ(view.thumbnailCount(), 30);
    QList<int> images;
    for (int row = 0; row < view.itemCount(); ++row) {
        EXPECT_EQ(view.itemDetails(row).value(1), QString::number(1000 + row)) << "row " << row;
        images << view.itemImageIndex(row);
    }
    std::sort(images.begin(), images.end());
    for (int i = 0; i < images.size(); ++i)
        EXPECT_EQ(images[i], i);
}

TEST_F(ThumbWorker, AListShrinkingUnderTheWorkerNeverMixesUpItems)
{
    const QString folder = makeFolder(QStringLiteral("shrinking"), 60, 1);
    TZenteqThumb view;
    ShowView(view, 400, 300);
    view.LoadFolder(folder);
    ASSERT_TRUE(WaitUntil([&] { return view.thumbnailCount() >= 2; }));
    for (int row = 59; row >= 40; --row)
        view.removeItem(row);
    for (const int row : {5, 3, 1})
        view.removeItem(row);
    ASSERT_TRUE(FinishWorker(view));

    ASSERT_EQ(view.itemCount(), 37);
    for (int row = 0; row < view.itemCount(); ++row) {
        const int fileIndex = view.itemCaption(row).mid(5, 3).toInt();
        EXPECT_EQ(view.itemDetails(row).value(1), QString::number(1 + fileIndex)) << view.itemCaption(row).toStdString();
    }
}

TEST_F(ThumbWorker, TheCloseHandshakeAndTheDestructorStopARunningWorker)
{
    const QString folder = makeFolder(QStringLiteral("closing"), 200);
    auto view = std::make_unique<TZenteqThumb>();
    ShowView(*view);
    view->LoadFolder(folder);
    ASSERT_TRUE(WaitUntil([&] { return view->thumbnailCount() >= 1; }));
    view->StopWorkerAndWait();
    EXPECT_TRUE(WorkerIdle);
    const int made = view->thumbnailCount();
    EXPECT_LT(made, 200);
    view.reset();
    EXPECT_EQ(WorkerHandle.load(), nullptr);

    // A view destroyed in the middle of a run, without the handshake.
    view = std::make_unique<TZenteqThumb>();
    view->LoadFolder(folder);
    ASSERT_TRUE(WaitUntil([&] { return view->thumbnailCount() >= 1; }));
    view.reset();
    EXPECT_EQ(WorkerHandle.load(), nullptr);
}

TEST_F(ThumbWorker, ANewWorkerStartsWithTheStopRequestCleared)
{
    const QString folder = makeFolder(QStringLiteral("restart"), 3);
    TZenteqThumb view;
    RequestWorkerStop();
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));
    EXPECT_FALSE(StopRequested);
    EXPECT_FALSE(WorkerBrokeOff);
}
