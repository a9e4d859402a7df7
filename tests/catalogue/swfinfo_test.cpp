// The swfinfo tool as users and scripts call it.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/testpaths.h"
#include "moviebuilder.h"

namespace {

struct TRun {
    int exitCode = -1;
    QList<QJsonObject> lines;
};

TRun RunSwfInfo(const QStringList &arguments)
{
    QProcess process;
    process.start(ProgramBinDir() + QStringLiteral("/swfinfo"), arguments);
    process.waitForFinished(-1);
    TRun run;
    run.exitCode = process.exitCode();
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            run.lines.append(QJsonDocument::fromJson(line).object());
    }
    return run;
}

class SwfInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(ProgramBinDir() + QStringLiteral("/swfinfo")))
            GTEST_SKIP() << "swfinfo is not built";
    }
};

}  // namespace

TEST_F(SwfInfoTest, PrintsCorpusFactsOneLinePerFileInArgumentOrder)
{
    SKIP_WITHOUT_CORPUS();
    const QString zws = CorpusDir() + QStringLiteral("/ruffle/avm2/from_shumway/lzma/test.swf");
    const QString fws = CorpusDir() + QStringLiteral("/open-flash-db/movies/morph-rotating-square/main.swf");
    const QString cws = CorpusDir() + QStringLiteral("/open-flash-db/movies/hello-world/main.swf");
    const TRun run = RunSwfInfo({zws, fws, cws});
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 3);
    const QJsonObject expected[] = {
        QJsonObject{{"path", zws}, {"ok", true}, {"signature", "ZWS"}, {"version", 17}, {"file_length", 1972},
                    {"width", 550}, {"height", 400}, {"frame_rate", 24}, {"frame_rate_frac", 0}, {"frame_count", 1}},
        QJsonObject{{"path", fws}, {"ok", true}, {"signature", "FWS"}, {"version", 6}, {"file_length", 572},
                    {"width", 550}, {"height", 400}, {"frame_rate", 31}, {"frame_rate_frac", 0}, {"frame_count", 50}},
        QJsonObject{{"path", cws}, {"ok", true}, {"signature", "CWS"}, {"version", 15}, {"file_length", 3027},
                    {"width", 400}, {"height", 400}, {"frame_rate", 30}, {"frame_rate_frac", 0}, {"frame_count", 1}},
    };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(run.lines[i], expected[i]) << QJsonDocument(run.lines[i]).toJson().toStdString();
}

TEST_F(SwfInfoTest, ReportsErrorsPerFileAndExitsWithOne)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken \"quoted\".swf"));
    WriteFile(broken, RawMovie("CWS", 6, 100, QByteArray(40, '\x5A'), false));
    const QString good = dir.filePath(QStringLiteral("good.swf"));
    WriteFile(good, MovieBytes(TMovieSpec()));
    const QString missing = dir.filePath(QStringLiteral("missing.swf"));

    const TRun run = RunSwfInfo({broken, missing, good});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 3);
    EXPECT_EQ(run.lines[0].value("path").toString(), broken);
    EXPECT_TRUE(run.lines[0].value("error").toString().contains(broken));
    EXPECT_FALSE(run.lines[0].contains("ok"));
    // A missing file is "not a movie", not an error.
    EXPECT_EQ(run.lines[1].value("ok"), QJsonValue(false));
    EXPECT_EQ(run.lines[1].value("version"), QJsonValue(0));
    EXPECT_EQ(run.lines[2].value("ok"), QJsonValue(true));
    EXPECT_EQ(run.lines[2].value("width"), QJsonValue(550));

    EXPECT_EQ(RunSwfInfo({good, missing}).exitCode, 0);
}
