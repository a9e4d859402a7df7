// Every movie of the shared corpus against the header facts its manifest
// records (taken by an independent reader).

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include "catalogue/swfheader.h"
#include "common/testpaths.h"

namespace {

struct TManifestRow {
    QString path;
    QString signature;
    int version = 0;
    qint64 fileLength = 0;
    QStringList rect;  // xmin, xmax, ymin, ymax (signed), empty when unknown
    double rate = 0;
    int frames = 0;
};

QList<TManifestRow> ReadManifest()
{
    QList<TManifestRow> rows;
    QFile file(CorpusDir() + QStringLiteral("/MANIFEST.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    QTextStream in(&file);
    const QStringList columns = in.readLine().split(QLatin1Char('\t'));
    const auto at = [&](const QStringList &cells, const char *name) { return cells.value(columns.indexOf(QLatin1String(name))); };
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split(QLatin1Char('\t'));
        TManifestRow row;
        row.path = CorpusDir() + QLatin1Char('/') + at(cells, "path");
        row.signature = at(cells, "signature");
        row.version = at(cells, "version").toInt();
        row.fileLength = at(cells, "header_file_length").toLongLong();
        const QString rect = at(cells, "rect_twips");
        row.rect = rect.isEmpty() ? QStringList() : rect.split(QLatin1Char(','));
        row.rate = at(cells, "frame_rate").toDouble();
        row.frames = at(cells, "frame_count").toInt();
        rows.append(row);
    }
    return rows;
}

bool Understood(const TManifestRow &row)
{
    return row.signature == QLatin1String("FWS") || (row.signature == QLatin1String("CWS") && row.version >= 6) ||
           (row.signature == QLatin1String("ZWS") && row.version >= 13);
}

// Checks the facts of one movie the reader understands. Fields that the
// manifest reads as signed negatives are compared as the unsigned bits.
void ExpectFacts(const TManifestRow &row, const TSwfHeader &h)
{
    SCOPED_TRACE(row.path.toStdString());
    EXPECT_EQ(QString::fromLatin1(h.Signature, 3), row.signature);
    EXPECT_EQ(h.Version, row.version);
    EXPECT_EQ(h.FileLength, uint32_t(row.fileLength));
    EXPECT_EQ(h.FrameCount, uint32_t(row.frames));
    EXPECT_EQ(h.FrameRate, int(row.rate) & 0xFF);
    if (row.rect.size() == 4 && row.rect[1].toInt() >= 0 && row.rect[3].toInt() >= 0) {
        EXPECT_EQ(HeaderWidth(h), uint32_t(row.rect[1].toInt() / 20));
        EXPECT_EQ(HeaderHeight(h), uint32_t(row.rect[3].toInt() / 20));
    }
}

void CheckCorpus(const QString &signature, int *checked)
{
    for (const TManifestRow &row : ReadManifest()) {
        if (row.signature != signature || row.rect.isEmpty())
            continue;
        TSwfHeader h;
        bool ok = false;
        ASSERT_NO_THROW(ok = ReadSwfHeader(row.path, h)) << row.path.toStdString();
        if (QFile(row.path).size() <= 22) {
            EXPECT_FALSE(ok);
            continue;
        }
        EXPECT_EQ(ok, Understood(row)) << row.path.toStdString();
        if (ok)
            ExpectFacts(row, h);
        ++*checked;
    }
}

}  // namespace

class CorpusHeaders : public ::testing::TestWithParam<const char *> {};

TEST_P(CorpusHeaders, MatchTheManifest)
{
    SKIP_WITHOUT_CORPUS();
    int checked = 0;
    CheckCorpus(QString::fromLatin1(GetParam()), &checked);
    EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(BySignature, CorpusHeaders, ::testing::Values("FWS", "CWS", "ZWS"));

TEST(CorpusHeaders, ShortAndMalformedLzmaMoviesReadWithoutAnError)
{
    SKIP_WITHOUT_CORPUS();
    for (const char *name : {"lzma-length-too-large", "lzma-malformed-length"}) {
        const QString path = CorpusDir() + QStringLiteral("/ruffle/swf-crate/%1/%1.swf").arg(QLatin1String(name));
        TSwfHeader h;
        EXPECT_NO_THROW(ReadSwfHeader(path, h)) << name;
        EXPECT_EQ(h.Version, 13) << name;
    }
}
