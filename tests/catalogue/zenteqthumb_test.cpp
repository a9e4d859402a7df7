#include <QAbstractItemView>
#include <QFile>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QTreeView>
#include <sys/stat.h>

#include "cataloguefixture.h"

namespace {

QStringList Captions(const TZenteqThumb &view)
{
    QStringList captions;
    for (int row = 0; row < view.itemCount(); ++row)
        captions.append(view.itemCaption(row));
    return captions;
}

}  // namespace

using CatalogueView = CatalogueFixture;

TEST_F(CatalogueView, ListsSwfFilesOfAnyCaseSortedByNameAndSkipsFolders)
{
    const QString folder = dir_.filePath(QStringLiteral("mixed"));
    QDir().mkpath(folder + QStringLiteral("/folder.swf"));
    for (const char *name : {"c.Swf", "a.swf", "B.SWF", ".hidden.swf", "notes.txt", "swf"})
        WriteFile(folder + QLatin1Char('/') + QLatin1String(name), MovieBytes(TMovieSpec()));
    TZenteqThumb view;
    for (const QString &given : {folder, folder + QLatin1Char('/')}) {
        view.LoadFolder(given);
        EXPECT_EQ(view.FilePath(), given);
        EXPECT_EQ(Captions(view), QStringList({".hidden.swf", "a.swf", "B.SWF", "c.Swf"}));
        EXPECT_EQ(view.itemPath(2), folder + QStringLiteral("/B.SWF"));
    }
    EXPECT_TRUE(FinishWorker(view));
}

TEST_F(CatalogueView, ALoadFromAListUsesTheWholeStringsAsCaptions)
{
    const QString folder = makeFolder(QStringLiteral("listed"), 2);
    const QStringList files = {folder + QStringLiteral("/movie001.swf"), folder + QStringLiteral("/movie000.swf")};
    TZenteqThumb view;
    view.LoadFolder(QStringLiteral("/elsewhere"), &files);
    EXPECT_EQ(view.FilePath(), QStringLiteral("/elsewhere"));
    EXPECT_EQ(Captions(view), files);
    EXPECT_EQ(view.itemPath(0), files[0]);
    EXPECT_TRUE(FinishWorker(view));
}

TEST_F(CatalogueView, AnEmptyOrMissingFolderStartsNoWorker)
{
    TZenteqThumb view;
    // No folder at all (nothing selected in the tree) lists nothing, not the
    // movies of the working directory.
    const QString working = QDir::currentPath();
    QDir::setCurrent(makeFolder(QStringLiteral("working"), 2));
    for (const QString &folder :
         {makeFolder(QStringLiteral("empty"), 0), dir_.filePath(QStringLiteral("gone")), QString()}) {
        view.LoadFolder(folder);
        EXPECT_EQ(view.itemCount(), 0);
        EXPECT_EQ(WorkerHandle.load(), nullptr);
    }
    QDir::setCurrent(working);
}

TEST_F(CatalogueView, RenderedItemsGetTheirColumnsCaptionsAndProgress)
{
    const QString folder = makeFolder(QStringLiteral("three"), 3, 120);
    TZenteqThumb view;
    QStringList statusTexts;
    QList<int> ranges, values;
    QObject::connect(&view, &TZenteqThumb::statusTextChanged, [&](const QString &text) { statusTexts << text; });
    QObject::connect(&view, &TZenteqThumb::progressRangeChanged, [&](int maximum) { ranges << maximum; });
    QObject::connect(&view, &TZenteqThumb::progressValueChanged, [&](int value) { values << value; });
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));

    EXPECT_EQ(statusTexts, QStringList({"Total file: 3"}));
    EXPECT_EQ(ranges, QList<int>({3}));
    EXPECT_TRUE(values.contains(3));
    EXPECT_EQ(values.last(), 0);
    EXPECT_EQ(view.thumbnailCount(), 3);
    for (int row = 0; row < 3; ++row) {
        const QStringList details = view.itemDetails(row);
        ASSERT_EQ(details.size(), 4);
        EXPECT_EQ(details[1], QString::number(120 + row));
        EXPECT_EQ(details[2], QStringLiteral("12fps"));
        EXPECT_EQ(details[3], QStringLiteral("W:550 H:400"));
        EXPECT_TRUE(details[0].endsWith(QStringLiteral("bytes")));
        EXPECT_EQ(view.itemThumbnail(row).size(), QSize(120, 120));
    }
    view.Clear();
    EXPECT_EQ(view.itemCount(), 0);
    EXPECT_EQ(view.thumbnailCount(), 0);
}

TEST_F(CatalogueView, TheDetailColumnsDoNotWaitForThumbnails)
{
    const QString folder = makeFolder(QStringLiteral("details first"), 60, 10);
    TZenteqThumb view;
    ShowView(view);
    view.setViewStyle(TZenteqThumb::vsReport);
    view.LoadFolder(folder);
    ASSERT_TRUE(WaitUntil([&] { return view.thumbnailCount() >= 1; }));
    view.StopWorkerAndWait();
    ASSERT_TRUE(WaitUntil([&] {
        for (int row = 0; row < view.itemCount(); ++row) {
            if (view.itemDetails(row).isEmpty())
                return false;
        }
        return true;
    }));

    ASSERT_LT(view.thumbnailCount(), 60) << "the worker was stopped early";
    const QAbstractItemModel *table = view.currentView()->model();
    for (int row = 0; row < view.itemCount(); ++row) {
        EXPECT_EQ(table->index(row, 2).data().toString(), QString::number(10 + row)) << "row " << row;
        EXPECT_EQ(table->index(row, 4).data().toString(), QStringLiteral("W:550 H:400"));
    }
}

TEST_F(CatalogueView, AnUnreadableMovieShowsTheBrokenPictureAndReportsItsError)
{
    const QString folder = makeFolder(QStringLiteral("broken"), 1);
    const QString bad = folder + QStringLiteral("/bad.swf");
    WriteFile(bad, RawMovie("CWS", 6, 100, QByteArray(40, '\x5A'), false));
    // A named pipe is listed like any entry but never waited on.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + QStringLiteral("/pipe.swf")).constData(), 0600), 0);
    TZenteqThumb view;
    QStringList errors;
    QObject::connect(&view, &TZenteqThumb::errorReported, [&](const QString &text) { errors << text; });
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(bad));
    EXPECT_EQ(view.itemCaption(0), QStringLiteral("bad.swf"));
    EXPECT_GE(view.itemImageIndex(0), 0);
    EXPECT_TRUE(view.itemDetails(0).isEmpty());
    EXPECT_NE(view.itemThumbnail(0), view.itemThumbnail(1));
    EXPECT_EQ(view.itemDetails(1).size(), 4);
    EXPECT_EQ(view.itemCaption(2), QStringLiteral("pipe.swf"));
    EXPECT_EQ(view.itemDetails(2), QStringList({"0bytes", "0", "0fps", "W:0 H:0"}));
}

TEST_F(CatalogueView, FourStylesShareOneSelection)
{
    const QString folder = makeFolder(QStringLiteral("styles"), 4);
    TZenteqThumb view;
    view.LoadFolder(folder);
    view.setItemSelected(2, true);
    view.setItemSelected(0, true);
    EXPECT_EQ(view.selectedCount(), 2);
    EXPECT_EQ(view.selectedPaths(), QStringList({view.itemPath(0), view.itemPath(2)}));
    EXPECT_EQ(view.firstSelectedPath(), view.itemPath(0));

    view.setViewStyle(TZenteqThumb::vsIcon);
    auto *list = qobject_cast<QListView *>(view.currentView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->gridSize(), QSize(140, 160));
    view.setViewStyle(TZenteqThumb::vsList);
    EXPECT_EQ(list->flow(), QListView::TopToBottom);
    view.setViewStyle(TZenteqThumb::vsSmallIcon);
    EXPECT_EQ(list->viewMode(), QListView::ListMode);
    view.setViewStyle(TZenteqThumb::vsReport);
    auto *table = qobject_cast<QTreeView *>(view.currentView());
    ASSERT_NE(table, nullptr);
    const QStringList titles = {"Filename", "File length", "Total Frames", "Frame Rate", "Size"};
    const int widths[] = {300, 100, 100, 100, 200};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(table->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(table->header()->sectionSize(column), widths[column]);
    }
    EXPECT_EQ(view.selectedCount(), 2);
    view.selectAll();
    EXPECT_EQ(view.selectedCount(), 4);
    EXPECT_TRUE(FinishWorker(view));
}

TEST_F(CatalogueView, ClicksNameTheItemOrEmptySpace)
{
    const QString folder = makeFolder(QStringLiteral("clicks"), 2);
    TZenteqThumb view;
    ShowView(view);
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));
    QList<int> clicked, doubleClicked;
    QObject::connect(&view, &TZenteqThumb::itemClicked, [&](int row) { clicked << row; });
    QObject::connect(&view, &TZenteqThumb::itemDoubleClicked, [&](int row) { doubleClicked << row; });
    QAbstractItemView *items = view.currentView();
    const QPoint onSecond = items->visualRect(items->model()->index(1, 0)).center();
    const QPoint empty(590, 390);
    for (const QPoint &at : {onSecond, empty}) {
        for (const QEvent::Type type : {QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
            QMouseEvent event(type, at, items->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(items->viewport(), &event);
        }
    }
    EXPECT_EQ(clicked, QList<int>({1, -1}));
    EXPECT_EQ(doubleClicked, QList<int>({1, -1}));
}
