// The file managers' thumbnailer, run as they run it: a PNG of the asked
// size for real movies, and no file at all for what is not a whole movie.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "common/testpaths.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    QString errors;
};

ToolRun Thumbnail(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(PAVOKO_THUMBNAILER), arguments);
    ToolRun run;
    if (tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit)
        run.exitCode = tool.exitCode();
    run.errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

ToolRun Thumbnail(int size, const QString &input, const QString &output)
{
    return Thumbnail({QStringLiteral("-s"), QString::number(size), input, output});
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct MovieCase {
    const char *path;  // under the corpus
    QSize expected128;
};

class ThumbnailerMovies : public ::testing::TestWithParam<MovieCase> {};

}  // namespace

TEST_P(ThumbnailerMovies, WritesAPngWhoseLongerSideIsTheAskedSize)
{
    SKIP_WITHOUT_CORPUS();
    const QString movie = CorpusDir() + QLatin1Char('/') + QLatin1String(GetParam().path);
    QTemporaryDir out;
    for (int size : {128, 256}) {
        const QString png = out.filePath(QStringLiteral("thumb-%1.png").arg(size));
        const ToolRun run = Thumbnail(size, movie, png);
        ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
        const QImage picture(png, "PNG");
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), GetParam().expected128 * (size / 128)) << size;
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, ThumbnailerMovies,
    ::testing::Values(MovieCase{"open-flash-db/movies/morph-rotating-square/main.swf", QSize(128, 93)},
                      MovieCase{"open-flash-db/movies/hello-world/main.swf", QSize(128, 128)},
                      MovieCase{"ruffle/swf-crate/lzma/lzma.swf", QSize(128, 128)}));

TEST(Thumbnailer, TakesTheMovieAsAFileUri)
{
    SKIP_WITHOUT_CORPUS();
    const QString movie = CorpusDir() + QStringLiteral("/open-flash-db/movies/squares/main.swf");
    QTemporaryDir out;
    const QString png = out.filePath(QStringLiteral("thumb.png"));
    ASSERT_EQ(Thumbnail(64, QUrl::fromLocalFile(movie).toString(), png).exitCode, 0);
    EXPECT_EQ(QImage(png).size(), QSize(64, 47));
}

// A 100 x 50 stage with nothing on it: an empty movie still shows its
// stage, also when it lacks its End tag as many real movies do.
TEST(Thumbnailer, AnEmptyMovieGivesItsStage)
{
    static const unsigned char bytes[] = {0x46, 0x57, 0x53, 0x06, 0x19, 0x00, 0x00, 0x00, 0x78,
                                          0x00, 0x00, 0xfa, 0x00, 0x00, 0x01, 0xf4, 0x00, 0x00,
                                          0x0c, 0x01, 0x00, 0x40, 0x00, 0x00, 0x00};
    QByteArray withEnd(reinterpret_cast<const char *>(bytes), sizeof bytes);
    QByteArray withoutEnd = withEnd.left(withEnd.size() - 2);
    withoutEnd[4] = char(withoutEnd.size());
    QTemporaryDir folder;
    for (const QByteArray &content : {withEnd, withoutEnd}) {
        const QString movie = folder.filePath(QStringLiteral("empty.swf"));
        WriteBytes(movie, content);
        const QString png = folder.filePath(QStringLiteral("thumb.png"));
        ASSERT_EQ(Thumbnail(32, movie, png).exitCode, 0) << content.size();
        EXPECT_EQ(QImage(png).size(), QSize(32, 16));
    }
}

TEST(Thumbnailer, FailsWithoutWritingOnWhatIsNotAWholeMovie)
{
    QTemporaryDir folder;
    QByteArray wholeMovie;
    if (QDir(CorpusDir()).exists())
        wholeMovie = FileBytes(CorpusDir() + QStringLiteral("/open-flash-db/movies/morph-rotating-square/main.swf"));
    const struct {
        const char *name;
        QByteArray bytes;
    } inputs[] = {
        {"text.swf", QByteArray("This is a letter, not a movie.\n").repeated(20)},
        {"empty.swf", QByteArray()},
        {"header-only.swf", QByteArray("FWS\x06\xff\x00\x00\x00", 8)},
        {"no-stage.swf", QByteArray("FWS\x06\x11\x00\x00\x00\x00\x00\x0c\x01\x00\x40\x00\x00\x00", 17)},
        {"truncated.swf", wholeMovie.left(wholeMovie.size() / 2)},
        {"truncated-compressed.swf", QByteArray("CWS\x0a\x00\x10\x00\x00\x78\x9c", 10)},
    };
    for (const auto &input : inputs) {
        if (input.bytes.isEmpty() && QLatin1String(input.name) != QLatin1String("empty.swf"))
            continue;  // the corpus is missing
        const QString movie = folder.filePath(QLatin1String(input.name));
        WriteBytes(movie, input.bytes);
        const QString png = folder.filePath(QStringLiteral("thumb.png"));
        EXPECT_EQ(Thumbnail(128, movie, png).exitCode, 1) << input.name;
        EXPECT_FALSE(QFile::exists(png)) << input.name;
    }
    EXPECT_EQ(Thumbnail(128, folder.filePath(QStringLiteral("missing.swf")), folder.filePath(QStringLiteral("m.png"))).exitCode, 1);
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.png*")}, QDir::Files | QDir::Hidden), QStringList());
}

TEST(Thumbnailer, RefusesBadArguments)
{
    QTemporaryDir out;
    const QString png = out.filePath(QStringLiteral("thumb.png"));
    const QStringList cases[] = {
        {},
        {QStringLiteral("-s"), QStringLiteral("128"), QStringLiteral("in.swf")},
        {QStringLiteral("-s"), QStringLiteral("0"), QStringLiteral("in.swf"), png},
        {QStringLiteral("-s"), QStringLiteral("big"), QStringLiteral("in.swf"), png},
        {QStringLiteral("-x"), QStringLiteral("128"), QStringLiteral("in.swf"), png},
    };
    for (const QStringList &arguments : cases) {
        EXPECT_EQ(Thumbnail(arguments).exitCode, 2) << qPrintable(arguments.join(QLatin1Char(' ')));
        EXPECT_FALSE(QFile::exists(png));
    }
}
