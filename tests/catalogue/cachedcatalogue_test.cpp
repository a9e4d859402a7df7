// The catalogue and the shared thumbnail cache together: an entry another
// program left is shown, a changed movie is painted again (and its new
// entry is one other programs can read), and a cache folder that cannot be
// written costs nothing but speed.
#include <QCryptographicHash>
#include <QFileInfo>
#include <QUrl>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "cataloguefixture.h"
#include "common/smallmovies.h"
#include "platform/xdgfolders.h"
#include "pngbuilder.h"

namespace {

// The name and place file managers give a movie's entry, worked out here
// from the convention rather than asked of the cache.
QString FileManagerEntryPath(const QString &moviePath)
{
    const QByteArray uri = QUrl::fromLocalFile(moviePath).toEncoded();
    return UserCacheHome() + QStringLiteral("thumbnails/normal/")
           + QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex())
           + QStringLiteral(".png");
}

QByteArray MTimeText(const QString &path)
{
    return QByteArray::number(QFileInfo(path).lastModified().toSecsSinceEpoch());
}

void Touch(const QString &path, int secondsLater)
{
    utimbuf times;
    times.actime = times.modtime = time_t(QFileInfo(path).lastModified().toSecsSinceEpoch() + secondsLater);
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
}

// Points the shared cache elsewhere while it lives.
class CacheHomeFor {
public:
    explicit CacheHomeFor(const QString &folder) : saved_(qgetenv("XDG_CACHE_HOME"))
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder));
    }
    ~CacheHomeFor() { qputenv("XDG_CACHE_HOME", saved_); }

private:
    QByteArray saved_;
};

}  // namespace

class CachedCatalogue : public CatalogueFixture {
protected:
    // Shows the movies of a new folder with the cache in `cacheHome`, and
    // checks that every one gets its tile and detail texts.
    void ExpectThumbnailsWithCacheIn(const QString &cacheHome)
    {
        const CacheHomeFor home(cacheHome);
        const QString folder = makeFolder(QStringLiteral("uncached"), 3, 7);
        TZenteqThumb view;
        ShowView(view);
        view.LoadFolder(folder);
        ASSERT_TRUE(FinishWorker(view));
        for (int row = 0; row < view.itemCount(); ++row) {
            EXPECT_EQ(view.itemThumbnail(row).size(), QSize(120, 120));
            EXPECT_EQ(view.itemDetails(row).value(1), QString::number(7 + row));
        }
    }
};

TEST_F(CachedCatalogue, AFileManagersEntryIsShownAndAChangedMovieIsPaintedAgain)
{
    const QString folder = dir_.filePath(QStringLiteral("shared pictures"));
    QDir().mkpath(folder);
    const QString movie = folder + QStringLiteral("/intro movie.swf");
    ASSERT_TRUE(smallmovies::WriteBytes(movie, smallmovies::PlainMovie(Qt::red)));
    const QString entry = FileManagerEntryPath(movie);
    QDir().mkpath(QFileInfo(entry).path());
    QImage theirs(128, 96, QImage::Format_RGB32);
    theirs.fill(Qt::blue);
    WriteFile(entry, PngWith(theirs, PngText("Thumb::URI", QUrl::fromLocalFile(movie).toEncoded())
                                         + PngText("Thumb::MTime", MTimeText(movie))));

    TZenteqThumb view;
    ShowView(view);
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));
    EXPECT_EQ(view.itemThumbnail(0).pixelColor(60, 45), QColor(Qt::blue)) << "their picture, not the movie's red";

    ASSERT_TRUE(smallmovies::WriteBytes(movie, smallmovies::PlainMovie(Qt::green)));
    Touch(movie, 5);
    view.LoadFolder(folder);
    ASSERT_TRUE(FinishWorker(view));
    EXPECT_EQ(view.itemThumbnail(0).pixelColor(60, 45), QColor(Qt::green));

    // The entry now is ours, and carries what file managers look for.
    const QImage ours(entry);
    EXPECT_EQ(ours.size(), QSize(120, 90));
    EXPECT_EQ(ours.pixelColor(60, 45), QColor(Qt::green));
    EXPECT_EQ(ours.text(QStringLiteral("Thumb::URI")), QUrl::fromLocalFile(movie).toString(QUrl::FullyEncoded));
    EXPECT_EQ(ours.text(QStringLiteral("Thumb::MTime")), QString::fromLatin1(MTimeText(movie)));
}

TEST_F(CachedCatalogue, ACacheFolderTakenByAFileOnlyCostsSpeed)
{
    const QString cacheHome = dir_.filePath(QStringLiteral("blocked-cache"));
    QDir().mkpath(cacheHome);
    WriteFile(cacheHome + QStringLiteral("/thumbnails"), "not a folder");
    ExpectThumbnailsWithCacheIn(cacheHome);
    EXPECT_TRUE(QFileInfo(cacheHome + QStringLiteral("/thumbnails")).isFile());
}

TEST_F(CachedCatalogue, AReadOnlyCacheFolderOnlyCostsSpeed)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the super-user";
    const QString cacheHome = dir_.filePath(QStringLiteral("read-only-cache"));
    QDir().mkpath(cacheHome + QStringLiteral("/thumbnails"));
    ASSERT_EQ(chmod(QFile::encodeName(cacheHome + QStringLiteral("/thumbnails")).constData(), 0500), 0);
    ExpectThumbnailsWithCacheIn(cacheHome);
    EXPECT_TRUE(QDir(cacheHome + QStringLiteral("/thumbnails")).isEmpty());
    chmod(QFile::encodeName(cacheHome + QStringLiteral("/thumbnails")).constData(), 0700);
}
