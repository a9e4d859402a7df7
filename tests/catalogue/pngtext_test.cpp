// Reading the text entries of thumbnail files as other programs write
// them: plain, deflated and international text, and files cut short or
// lying about their lengths.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "catalogue/pngtext.h"
#include "moviebuilder.h"
#include "pngbuilder.h"

namespace {

QByteArray Deflated(const QByteArray &text) { return qCompress(text).mid(4); }

QByteArray SmallPngWith(const QByteArray &chunks)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    return PngWith(picture, chunks);
}

const QByteArray kUri = "file:///home/user/My%20Movies/a%20rather%20long%20name%20of%20a%20movie.swf";

}  // namespace

struct PngTextCase {
    const char *name;
    QByteArray chunks;
    QString expectedUri;  // empty: no entry expected
};

class PngTextEntries : public ::testing::TestWithParam<PngTextCase> {};

TEST_P(PngTextEntries, FindsTheEntriesOtherProgramsWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("entry.png"));
    WriteFile(path, SmallPngWith(GetParam().chunks + PngText("Thumb::MTime", "1700000000")));
    const QHash<QString, QString> texts = ReadPngText(path);
    EXPECT_EQ(texts.value(QStringLiteral("Thumb::URI")), GetParam().expectedUri);
    EXPECT_EQ(texts.value(QStringLiteral("Thumb::MTime")), QStringLiteral("1700000000"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PngTextEntries,
    ::testing::Values(
        PngTextCase{"Plain", PngText("Thumb::URI", kUri), QString::fromLatin1(kUri)},
        PngTextCase{"Deflated", PngChunk("zTXt", QByteArray("Thumb::URI\0\0", 12) + Deflated(kUri)),
                    QString::fromLatin1(kUri)},
        PngTextCase{"International",
                    PngChunk("iTXt", QByteArray("Thumb::URI\0\0\0en\0\0", 17) + "file:///tmp/%C3%A9t%C3%A9.swf"),
                    QStringLiteral("file:///tmp/%C3%A9t%C3%A9.swf")},
        PngTextCase{"InternationalDeflated",
                    PngChunk("iTXt", QByteArray("Thumb::URI\0\1\0\0\0", 15) + Deflated(kUri)), QString::fromLatin1(kUri)},
        PngTextCase{"BrokenDeflate", PngChunk("zTXt", QByteArray("Thumb::URI\0\0garbage", 19)), QString()}),
    [](const ::testing::TestParamInfo<PngTextCase> &info) { return std::string(info.param.name); });

TEST(PngTextInput, BadFilesGiveNothingAndNeverReadPastTheirEnd)
{
    QTemporaryDir dir;
    const QByteArray good = SmallPngWith(PngText("Thumb::URI", kUri));
    QByteArray lying = good;
    qToBigEndian<quint32>(0xFFFFFFF0u, lying.data() + 33);  // the text chunk claims 4 GB
    const QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("not-a-png"), QByteArray("GIF89a and so on")},
        {QStringLiteral("empty"), QByteArray()},
        {QStringLiteral("cut-in-the-text"), good.left(50)},
        {QStringLiteral("lying-length"), lying},
    };
    for (const auto &[name, bytes] : files) {
        const QString path = dir.filePath(name);
        WriteFile(path, bytes);
        EXPECT_TRUE(ReadPngText(path).value(QStringLiteral("Thumb::URI")).isEmpty()) << name.toStdString();
    }
    EXPECT_TRUE(ReadPngText(dir.filePath(QStringLiteral("missing"))).isEmpty());
}
