// The converter library through its C functions, on files: projectors made
// and read back, the layouts of other makers, and every way a conversion
// can fail without harming an existing file.
#include "convert/lib/converter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/smallmovies.h"
#include "common/testpaths.h"

using namespace smallmovies;

namespace {

const QByteArray kMagic("\x56\x34\x12\xFA", 4);

// The opening of a Windows program with a false movie signature in it.
QByteArray WindowsStub()
{
    QByteArray stub("MZ\x90\x00", 4);
    stub += QByteArray(120, '\x11');
    stub += QByteArray("FWS\x06\x40\x00\x00\x00", 8);  // claims 64 bytes, holds no tags
    stub += QByteArray(300, '\x22');
    return stub;
}

// A complete movie of 17 bytes: header, empty stage, one frame.
QByteArray TinyMovie() { return QByteArray("FWS\x06\x11\x00\x00\x00\x00\x00\x0C\x01\x00\x40\x00\x00\x00", 17); }

QByteArray LittleEndian64(quint64 value)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray WithTrailer(const QByteArray &movie)
{
    return WindowsStub() + movie + kMagic + LittleEndian32(quint32(movie.size()));
}

class ConverterTest : public ::testing::Test {
protected:
    QTemporaryDir folder;

    QString path(const char *name) const { return folder.filePath(QString::fromLatin1(name)); }
    QString fileWith(const char *name, const QByteArray &bytes) const
    {
        WriteBytes(path(name), bytes);
        return path(name);
    }
    QStringList folderEntries() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
};

int Swf2Exe(const QString &source, const QString &target)
{
    return swf2exe(QFile::encodeName(source).constData(), QFile::encodeName(target).constData());
}

int Exe2Swf(const QString &source, const QString &target)
{
    return exe2swf(QFile::encodeName(source).constData(), QFile::encodeName(target).constData());
}

QByteArray ProjectorProgram() { return ReadBytes(ProgramBinDir() + QStringLiteral("/projector")); }

}  // namespace

TEST_F(ConverterTest, AProjectorIsTheProgramTheMovieAndTheTrailerAndRunsAsAProgram)
{
    const QByteArray movie = PlainMovie();
    ASSERT_EQ(Swf2Exe(fileWith("clip.swf", movie), path("clip.exe")), CONVERT_OK) << convertmessage();
    const QByteArray program = ProjectorProgram();
    ASSERT_FALSE(program.isEmpty());
    EXPECT_EQ(ReadBytes(path("clip.exe")), program + movie + kMagic + LittleEndian32(quint32(movie.size())));
    EXPECT_TRUE(QFileInfo(path("clip.exe")).permissions() & QFileDevice::ExeOwner);
    EXPECT_STREQ(convertmessage(), "");
}

TEST_F(ConverterTest, MoviesComeBackByteForByteFromTheirProjectors)
{
    SKIP_WITHOUT_CORPUS();
    const QString crate = CorpusDir() + QStringLiteral("/ruffle/swf-crate/");
    const QStringList movies = {QStringLiteral("uncompressed/uncompressed.swf"), QStringLiteral("zlib/zlib.swf"),
                                QStringLiteral("lzma/lzma.swf")};
    for (const QString &movie : movies) {
        SCOPED_TRACE(movie.toStdString());
        ASSERT_EQ(Swf2Exe(crate + movie, path("round.exe")), CONVERT_OK) << convertmessage();
        ASSERT_EQ(Exe2Swf(path("round.exe"), path("round.swf")), CONVERT_OK) << convertmessage();
        EXPECT_EQ(ReadBytes(path("round.swf")), ReadBytes(crate + movie));
    }
}

TEST_F(ConverterTest, MoviesAreTakenOutOfEveryKnownLayout)
{
    const QByteArray plain = PlainMovie();
    const QByteArray zlib = ZlibMovie();
    const QByteArray junk(500, '\x33');
    const struct {
        const char *layout;
        QByteArray file;
        QByteArray movie;
    } cases[] = {
        {"Windows projector trailer", WithTrailer(plain), plain},
        {"Windows projector, zlib movie", WithTrailer(zlib), zlib},
        {"Linux 32-bit", WindowsStub() + LittleEndian32(quint32(plain.size())) + kMagic + plain, plain},
        {"Linux 64-bit",
         WindowsStub() + LittleEndian64(quint64(zlib.size())) + kMagic + QByteArray(4, '\xFF') + zlib, zlib},
        {"plain movie found by scanning", WindowsStub() + plain + junk, plain},
        {"zlib movie found by scanning", WindowsStub() + zlib + junk, zlib},
        {"larger of two movies by scanning", TinyMovie() + junk + plain + junk, plain},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.layout);
        QFile::remove(path("out.swf"));
        ASSERT_EQ(Exe2Swf(fileWith("in.exe", c.file), path("out.swf")), CONVERT_OK) << convertmessage();
        EXPECT_EQ(ReadBytes(path("out.swf")), c.movie);
    }
}

TEST_F(ConverterTest, AFileWithoutACompleteMovieWritesNothingAndKeepsTheTarget)
{
    const QByteArray projector = WithTrailer(PlainMovie());
    const struct {
        const char *name;
        QByteArray file;
    } cases[] = {
        {"empty file", QByteArray()},
        {"text", QByteArray("just some text, no movie in here\n")},
        {"trailer length past the file", WindowsStub() + kMagic + LittleEndian32(0x7FFFFFF0)},
        {"trailer pointing at no movie", WindowsStub() + kMagic + LittleEndian32(100)},
        {"projector cut inside its movie", projector.left(WindowsStub().size() + 20)},
        {"Linux length one byte off", WindowsStub() + LittleEndian32(quint32(PlainMovie().size() + 1)) + kMagic +
                                          PlainMovie().left(PlainMovie().size() - 3)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = fileWith("kept.swf", "earlier movie");
        EXPECT_EQ(Exe2Swf(fileWith("broken.exe", c.file), target), CONVERT_NO_MOVIE);
        EXPECT_TRUE(QString::fromUtf8(convertmessage()).contains(path("broken.exe")));
        EXPECT_EQ(ReadBytes(target), QByteArray("earlier movie"));
        EXPECT_EQ(folderEntries(), (QStringList{QStringLiteral("broken.exe"), QStringLiteral("kept.swf")}));
    }
}

TEST_F(ConverterTest, OnlyMoviesBecomeProjectors)
{
    const struct {
        const char *name;
        QByteArray file;
    } cases[] = {
        {"empty file", QByteArray()},
        {"text", QByteArray("FW no movie")},
        {"version 0", QByteArray("FWS\x00\x20\x00\x00\x00", 8) + QByteArray(24, '\0')},
        {"version 200", QByteArray("CWS\xC8\x20\x00\x00\x00", 8) + QByteArray(24, '\0')},
        {"signature only", QByteArray("FWS")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = fileWith("kept.exe", "earlier program");
        EXPECT_EQ(Swf2Exe(fileWith("odd.swf", c.file), target), CONVERT_NOT_A_MOVIE);
        EXPECT_EQ(ReadBytes(target), QByteArray("earlier program"));
        EXPECT_EQ(folderEntries(), (QStringList{QStringLiteral("kept.exe"), QStringLiteral("odd.swf")}));
    }
}

TEST_F(ConverterTest, ATargetThatIsTheSourceIsRefusedAndLeftAlone)
{
    const QString movie = fileWith("clip.swf", PlainMovie());
    const QString projector = path("clip.exe");
    ASSERT_EQ(Swf2Exe(movie, projector), CONVERT_OK);
    const QByteArray projectorBytes = ReadBytes(projector);
    ASSERT_TRUE(QFile::link(movie, path("link.swf")));
    const struct {
        const char *name;
        int (*convert)(const QString &, const QString &);
        QString source;
        QString target;
    } cases[] = {
        {"swf2exe onto itself", Swf2Exe, movie, movie},
        {"swf2exe through a link", Swf2Exe, movie, path("link.swf")},
        {"swf2exe spelled differently", Swf2Exe, movie, folder.path() + QStringLiteral("/./clip.swf")},
        {"exe2swf onto itself", Exe2Swf, projector, projector},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.convert(c.source, c.target), CONVERT_SAME_FILE);
        EXPECT_FALSE(QString::fromUtf8(convertmessage()).isEmpty());
    }
    EXPECT_EQ(ReadBytes(movie), PlainMovie());
    EXPECT_EQ(ReadBytes(projector), projectorBytes);
}

TEST_F(ConverterTest, UnreadableSourcesAndUnwritableTargetsAreToldApart)
{
    const QString movie = fileWith("clip.swf", PlainMovie());
    const QString projector = path("clip.exe");
    ASSERT_EQ(Swf2Exe(movie, projector), CONVERT_OK);
    const struct {
        const char *name;
        int (*convert)(const QString &, const QString &);
        QString source;
        QString target;
        int code;
    } cases[] = {
        {"missing movie", Swf2Exe, path("none.swf"), path("x.exe"), CONVERT_CANNOT_READ},
        {"folder as movie", Swf2Exe, folder.path(), path("x.exe"), CONVERT_CANNOT_READ},
        {"missing projector", Exe2Swf, path("none.exe"), path("x.swf"), CONVERT_CANNOT_READ},
        {"projector into a missing folder", Swf2Exe, movie, path("no/such/x.exe"), CONVERT_CANNOT_WRITE},
        {"movie into a missing folder", Exe2Swf, projector, path("no/such/x.swf"), CONVERT_CANNOT_WRITE},
        {"target is a folder", Exe2Swf, projector, folder.path(), CONVERT_CANNOT_WRITE},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.convert(c.source, c.target), c.code);
        EXPECT_FALSE(QString::fromUtf8(convertmessage()).isEmpty());
    }
    EXPECT_EQ(swf2exe(nullptr, "x"), CONVERT_BAD_ARGUMENT);
    EXPECT_EQ(exe2swf("x", ""), CONVERT_BAD_ARGUMENT);
    EXPECT_EQ(folderEntries(), (QStringList{QStringLiteral("clip.exe"), QStringLiteral("clip.swf")}));
}

TEST_F(ConverterTest, AnExistingTargetIsReplacedWhole)
{
    const QString target = fileWith("old.swf", QByteArray(100000, 'x'));
    ASSERT_EQ(Exe2Swf(fileWith("in.exe", WithTrailer(PlainMovie())), target), CONVERT_OK);
    EXPECT_EQ(ReadBytes(target), PlainMovie());
    EXPECT_FALSE(QFileInfo(target).permissions() & QFileDevice::ExeOwner);
}
