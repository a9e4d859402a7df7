// Tiles in memory stay bounded: the store's policy, and a catalogue whose
// off-screen tiles are dropped and come back when scrolled to.
#include <QAbstractItemView>
#include <gtest/gtest.h>

#include "cataloguefixture.h"
#include "catalogue/thumbnailmaker.h"
#include "catalogue/tilestore.h"

namespace {

QImage Tile(int shade)
{
    QImage tile(4, 4, QImage::Format_RGB888);
    tile.fill(QColor(shade, shade, shade));
    return tile;
}

}  // namespace

TEST(TileStore, KeepsTheRecentlyShownAndLetsOffScreenTilesGoFirst)
{
    TTileStore store(3);
    for (int index = 0; index < 3; ++index)
        store.put(index, Tile(index), true);
    EXPECT_FALSE(store.get(0).isNull());  // shown again: now the most recent
    store.put(3, Tile(3), true);
    EXPECT_FALSE(store.contains(1)) << "the least recently shown tile goes";
    EXPECT_TRUE(store.contains(0));

    // A tile made for an item off screen never pushes a shown one out.
    store.put(4, Tile(4), false);
    EXPECT_FALSE(store.contains(4));
    EXPECT_TRUE(store.contains(0) && store.contains(2) && store.contains(3));
    EXPECT_EQ(store.size(), 3);

    store.setCapacity(1);
    EXPECT_EQ(store.size(), 1);
    EXPECT_TRUE(store.contains(3));
    EXPECT_EQ(store.get(3).pixelColor(0, 0), QColor(3, 3, 3));
}

class TileMemory : public CatalogueFixture {};

TEST_F(TileMemory, OffScreenTilesLeaveMemoryAndComeBackWhenScrolledTo)
{
    // The view shows three rows of four tiles; the store holds just that.
    constexpr int kMovies = 40, kCapacity = 12;
    const QString folder = makeFolder(QStringLiteral("many"), kMovies);
    TZenteqThumb view;
    view.setTileCapacity(kCapacity);
    ShowView(view, 600, 400);
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));
    EXPECT_EQ(view.thumbnailCount(), kMovies);
    EXPECT_LE(view.tilesInMemory(), kCapacity);
    EXPECT_FALSE(view.itemThumbnail(0).isNull()) << "the tiles on screen stay";

    const auto showRow = [&](int row) {
        view.scrollToItem(row);
        view.currentView()->viewport()->grab();  // paints what is now on screen
        QCoreApplication::processEvents();
        view.waitForRestoredTiles();
    };
    const int last = kMovies - 1;
    showRow(last);
    const QImage restored = view.itemThumbnail(last);
    ASSERT_FALSE(restored.isNull());
    const QImage made = MakeThumbnail(view.itemPath(last), TThumbStyle::fromApplication()).picture;
    EXPECT_EQ(restored.convertToFormat(QImage::Format_RGB888), made.convertToFormat(QImage::Format_RGB888));
    EXPECT_LE(view.tilesInMemory(), kCapacity);
    EXPECT_TRUE(view.itemThumbnail(0).isNull()) << "far off screen now";

    showRow(0);
    EXPECT_FALSE(view.itemThumbnail(0).isNull()) << "back on screen";
    EXPECT_TRUE(view.itemThumbnail(last).isNull());

    // A restored tile for a list replaced meanwhile is dropped.
    view.scrollToItem(last);
    view.currentView()->viewport()->grab();
    view.LoadFolder(makeFolder(QStringLiteral("other"), 1));
    view.waitForRestoredTiles();
    EXPECT_EQ(view.itemCount(), 1);
    ASSERT_TRUE(FinishWorker(view));
}
