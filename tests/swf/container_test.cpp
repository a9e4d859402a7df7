#include <QFile>
#include <gtest/gtest.h>

#include "common/testpaths.h"
#include "swf/format/container.h"
#include "swfbuilder.h"

using swf::Container;
using swf::MemoryBudget;
using swftest::SwfBuilder;

namespace {

QByteArray ReadCorpusFile(const QString &relative)
{
    QFile file(CorpusDir() + QLatin1Char('/') + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray SmallBody()
{
    QByteArray body;
    for (int i = 0; i < 5000; ++i)
        body.append(char(i * 7 % 251));
    return body;
}

}  // namespace

TEST(Container, DecodesEachCompressionToTheSameBody)
{
    const QByteArray body = SmallBody();
    const struct {
        char signature;
        QByteArray stored;
        Container::Compression compression;
    } cases[] = {
        {'F', body, Container::Compression::None},
        {'C', SwfBuilder::zlibCompress(body), Container::Compression::Zlib},
        {'Z', SwfBuilder::lzmaCompress(body), Container::Compression::Lzma},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.signature);
        MemoryBudget budget;
        Container container;
        ASSERT_TRUE(container.decode(SwfBuilder::fileWithBody(c.signature, 13, body.size() + 8, c.stored), budget));
        EXPECT_EQ(container.compression(), c.compression);
        EXPECT_EQ(container.version(), 13);
        EXPECT_EQ(container.recordedLength(), uint32_t(body.size() + 8));
        EXPECT_EQ(container.body(), body);
        EXPECT_FALSE(container.isTruncated());
        EXPECT_EQ(budget.used(), size_t(body.size()));
    }
}

TEST(Container, RefusesWhatIsNoSwfFile)
{
    const QByteArray cases[] = {QByteArray(), QByteArray("FWS"), QByteArray("GIF89a\0\0\0\0", 10),
                                QByteArray("XWS\x08\x10\0\0\0", 8)};
    for (const QByteArray &bytes : cases) {
        MemoryBudget budget;
        Container container;
        QString error;
        EXPECT_FALSE(container.decode(bytes, budget, &error)) << bytes.toHex().constData();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(Container, ReadsCorpusSamplesOfEachKindAlike)
{
    SKIP_WITHOUT_CORPUS();
    const QByteArray plain = ReadCorpusFile("ruffle/swf-crate/uncompressed/uncompressed.swf");
    const QByteArray zlib = ReadCorpusFile("ruffle/swf-crate/zlib/zlib.swf");
    const QByteArray lzma = ReadCorpusFile("ruffle/swf-crate/lzma/lzma.swf");
    ASSERT_FALSE(plain.isEmpty());
    MemoryBudget budget;
    Container expected, fromZlib, fromLzma;
    ASSERT_TRUE(expected.decode(plain, budget));
    ASSERT_TRUE(fromZlib.decode(zlib, budget));
    ASSERT_TRUE(fromLzma.decode(lzma, budget));
    EXPECT_EQ(expected.body().size(), 9999 - 8);
    EXPECT_EQ(fromZlib.body(), expected.body());
    EXPECT_EQ(fromLzma.body(), expected.body());
    EXPECT_FALSE(fromLzma.isTruncated());
}

TEST(Container, MalformedLzmaHeadersGiveWhatDecodes)
{
    SKIP_WITHOUT_CORPUS();
    for (const char *name : {"lzma-malformed-length/lzma-malformed-length.swf",
                             "lzma-length-too-large/lzma-length-too-large.swf"}) {
        SCOPED_TRACE(name);
        const QByteArray bytes = ReadCorpusFile(QStringLiteral("ruffle/swf-crate/") + QLatin1String(name));
        ASSERT_FALSE(bytes.isEmpty());
        MemoryBudget budget;
        Container container;
        EXPECT_TRUE(container.decode(bytes, budget));
        EXPECT_LT(container.body().size(), 1024);
        EXPECT_EQ(budget.used(), size_t(container.body().size()));
    }
}

TEST(Container, TruncatedStreamKeepsTheDecodedPrefix)
{
    QByteArray body;
    for (int i = 0; i < 200000; ++i)
        body.append(char((i * 131) ^ (i >> 5)));
    for (char signature : {'C', 'Z'}) {
        SCOPED_TRACE(signature);
        const QByteArray stored = signature == 'C' ? SwfBuilder::zlibCompress(body) : SwfBuilder::lzmaCompress(body);
        const QByteArray file = SwfBuilder::fileWithBody(signature, 10, body.size() + 8, stored);
        MemoryBudget budget;
        Container container;
        ASSERT_TRUE(container.decode(file.left(file.size() / 2), budget));
        EXPECT_TRUE(container.isTruncated());
        EXPECT_GT(container.body().size(), 0);
        EXPECT_LT(container.body().size(), body.size());
        EXPECT_TRUE(body.startsWith(container.body()));
    }
}

TEST(Container, LyingLengthIsIgnored)
{
    const QByteArray body = SmallBody();
    for (uint32_t recorded : {0u, 9u, 0xffffffffu}) {
        for (char signature : {'F', 'C', 'Z'}) {
            const QByteArray stored = signature == 'F' ? body
                                      : signature == 'C' ? SwfBuilder::zlibCompress(body)
                                                         : SwfBuilder::lzmaCompress(body);
            MemoryBudget budget;
            Container container;
            ASSERT_TRUE(container.decode(SwfBuilder::fileWithBody(signature, 10, recorded, stored), budget));
            EXPECT_EQ(container.body(), body) << signature << " " << recorded;
            EXPECT_EQ(container.recordedLength(), recorded);
        }
    }
}

// 70 MiB of zeros compress to about 70 KiB (zlib) or 10 KiB (LZMA); the
// body must stop at the 64 MiB limit and book exactly what it holds.
TEST(Container, CompressionBombStopsAtTheBodyLimit)
{
    const QByteArray zeros(70 << 20, '\0');
    for (char signature : {'C', 'Z'}) {
        SCOPED_TRACE(signature);
        const QByteArray stored = signature == 'C' ? SwfBuilder::zlibCompress(zeros) : SwfBuilder::lzmaCompress(zeros);
        ASSERT_LT(stored.size(), 1 << 20);
        MemoryBudget budget;
        Container container;
        ASSERT_TRUE(container.decode(SwfBuilder::fileWithBody(signature, 10, 0xffffffffu, stored), budget));
        EXPECT_EQ(size_t(container.body().size()), MemoryBudget::kBodyLimit);
        EXPECT_TRUE(container.isTruncated());
        EXPECT_EQ(budget.used(), MemoryBudget::kBodyLimit);
    }
}

TEST(Container, SmallBudgetCutsTheBody)
{
    const QByteArray zeros(8 << 20, '\0');
    const size_t limit = 1 << 20;
    for (char signature : {'F', 'C'}) {
        SCOPED_TRACE(signature);
        const QByteArray stored = signature == 'C' ? SwfBuilder::zlibCompress(zeros) : zeros;
        MemoryBudget budget(limit);
        Container container;
        ASSERT_TRUE(container.decode(SwfBuilder::fileWithBody(signature, 10, zeros.size() + 8, stored), budget));
        EXPECT_LE(size_t(container.body().size()), limit);
        EXPECT_LE(budget.used(), limit);
        EXPECT_TRUE(container.isTruncated());
    }
}
