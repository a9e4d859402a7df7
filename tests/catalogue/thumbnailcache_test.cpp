// The shared thumbnail cache: where entries go and what they carry (so
// file managers find ours and we find theirs), stale and failed entries,
// a cache that cannot be written, and the catalogue's thumbnails made
// through it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include "catalogue/thumbnailcache.h"
#include "catalogue/thumbnailmaker.h"
#include "moviebuilder.h"

namespace {

class ThumbnailCacheTest : public ::testing::Test {
protected:
    QString moviePath(const QString &name = QStringLiteral("intro movie.swf"))
    {
        const QString path = movies_.filePath(name);
        if (!QFile::exists(path))
            WriteFile(path, MovieBytes(TMovieSpec()));
        return path;
    }

    static QImage Solid(QColor colour, QSize size = QSize(kThumbSize, kMoviePictureHeight))
    {
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        picture.fill(colour);
        return picture;
    }

    // Moves the movie's modification time, as an edit of the file would.
    static void Touch(const QString &path, int secondsLater)
    {
        const QFileInfo info(path);
        utimbuf times;
        times.actime = times.modtime = time_t(info.lastModified().toSecsSinceEpoch() + secondsLater);
        utime(QFile::encodeName(path).constData(), &times);
    }

    static int Mode(const QString &path)
    {
        struct stat status;
        return stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
    }

    QTemporaryDir movies_;
    QTemporaryDir cacheFolder_;
    TThumbnailCache cache_{cacheFolder_.filePath(QStringLiteral("thumbnails"))};
};

}  // namespace

TEST(ThumbnailCacheNames, EntriesAreNamedByTheDigestOfTheFileUri)
{
    const QString path = QStringLiteral("/home/user/My Movies/intro.swf");
    EXPECT_EQ(TThumbnailCache::uriOf(path), QStringLiteral("file:///home/user/My%20Movies/intro.swf"));
    EXPECT_EQ(TThumbnailCache::entryNameOf(path), QStringLiteral("3b52098a8829c05eac2b527913145619.png"));
}

TEST_F(ThumbnailCacheTest, AStoredPictureComesBackAndCarriesWhatFileManagersRead)
{
    const QString movie = moviePath();
    ASSERT_TRUE(cache_.store(movie, Solid(Qt::red)));
    EXPECT_EQ(cache_.load(movie).pixel(10, 10), qRgb(255, 0, 0));

    const QString entry = cache_.root() + QStringLiteral("/normal/") + TThumbnailCache::entryNameOf(movie);
    const QImage stored(entry);
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::URI")), TThumbnailCache::uriOf(movie));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::MTime")),
              QString::number(QFileInfo(movie).lastModified().toSecsSinceEpoch()));
    EXPECT_EQ(Mode(entry), 0600);
    EXPECT_EQ(Mode(cache_.root() + QStringLiteral("/normal")), 0700);
    EXPECT_EQ(Mode(cache_.root()), 0700);
    // Nothing but the entry is left in the folder.
    EXPECT_EQ(QDir(cache_.root() + QStringLiteral("/normal")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ThumbnailCacheTest, AnotherProgramsEntryIsFoundAndAChangedMovieMakesItStale)
{
    const QString movie = moviePath();
    QDir().mkpath(cache_.root() + QStringLiteral("/large"));
    QImage theirs = Solid(Qt::blue, QSize(256, 186));
    theirs.setText(QStringLiteral("Thumb::URI"), TThumbnailCache::uriOf(movie));
    theirs.setText(QStringLiteral("Thumb::MTime"), QString::number(QFileInfo(movie).lastModified().toSecsSinceEpoch()));
    ASSERT_TRUE(theirs.save(cache_.root() + QStringLiteral("/large/") + TThumbnailCache::entryNameOf(movie)));
    EXPECT_EQ(cache_.load(movie).size(), QSize(256, 186));

    Touch(movie, 5);
    EXPECT_TRUE(cache_.load(movie).isNull());
}

TEST_F(ThumbnailCacheTest, AFailureIsRememberedUntilTheMovieChanges)
{
    const QString movie = moviePath();
    EXPECT_FALSE(cache_.hasFailed(movie));
    ASSERT_TRUE(cache_.storeFailure(movie));
    EXPECT_TRUE(cache_.hasFailed(movie));
    EXPECT_TRUE(QFile::exists(cache_.root() + QStringLiteral("/fail/pavoko/") + TThumbnailCache::entryNameOf(movie)));
    Touch(movie, 5);
    EXPECT_FALSE(cache_.hasFailed(movie));
}

TEST_F(ThumbnailCacheTest, ACacheThatCannotBeWrittenOnlyCostsSpeed)
{
    // A file where the cache's folder should be: no entry can be made.
    QFile blocker(cacheFolder_.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const TThumbnailCache blocked(blocker.fileName());
    const QString movie = moviePath();
    EXPECT_FALSE(blocked.store(movie, Solid(Qt::red)));
    EXPECT_FALSE(blocked.storeFailure(movie));
    EXPECT_TRUE(blocked.load(movie).isNull());
    const TThumbnail made = MakeThumbnail(movie, TThumbStyle(), &blocked);
    EXPECT_FALSE(made.failed);
    EXPECT_EQ(made.picture.size(), QSize(kThumbSize, kThumbSize));
}

TEST_F(ThumbnailCacheTest, TheCatalogueKeepsItsPictureAndShowsACachedOne)
{
    const QString movie = moviePath();
    const TThumbnail first = MakeThumbnail(movie, TThumbStyle(), &cache_);
    ASSERT_FALSE(first.failed);
    const QImage kept = cache_.load(movie);
    ASSERT_EQ(kept.size(), QSize(kThumbSize, kMoviePictureHeight));

    // A picture in the cache is shown in place of painting the movie, under
    // the tile's own caption band.
    ASSERT_TRUE(cache_.store(movie, Solid(Qt::green)));
    const TThumbnail second = MakeThumbnail(movie, TThumbStyle(), &cache_);
    EXPECT_EQ(second.picture.pixel(60, 45), qRgb(0, 255, 0));
    EXPECT_EQ(second.picture.pixel(0, 119), qRgb(0, 0, 0));
    EXPECT_EQ(second.header.FrameCount, first.header.FrameCount);

}
