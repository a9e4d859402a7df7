// Runs every trace test of the corpus (ActionScript 1 and 2 movies with the
// trace() log a reference player wrote) and compares our log line by line.
// The logs known to match are listed in trace_passing.txt; the test fails
// when one of them stops matching and prints the ones that match without
// being listed yet. PAVOKO_UPDATE_CONFORMANCE=1 adds those to the list.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <iostream>

#include "common/testpaths.h"
#include "passinglist.h"
#include "swf/inputlog.h"
#include "swf/movie.h"

namespace {

const QString kListPath = QStringLiteral(PAVOKO_SOURCE_DIR "/tests/swf/trace_passing.txt");
// swfdec's runner shows the first frame and ten more.
constexpr int kSwfdecFrames = 11;

struct TraceTest {
    QString movie;     // relative to the corpus
    QString expected;  // the reference log, relative to the corpus
    int frames = 1;
};

QString ReadText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Ruffle's tests name their length in frames or ticks; one tick is one
// frame here.
int RuffleFrames(const QString &toml)
{
    static const QRegularExpression count(QStringLiteral("num_(?:frames|ticks)\\s*=\\s*(\\d+)"));
    const QRegularExpressionMatch match = count.match(toml);
    return match.hasMatch() ? match.captured(1).toInt() : 1;
}

std::vector<TraceTest> ReadTraceTests(const QString &corpus)
{
    QFile file(corpus + QStringLiteral("/MANIFEST.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    const QStringList header = in.readLine().split(QLatin1Char('\t'));
    const int path = header.indexOf(QLatin1String("path")), role = header.indexOf(QLatin1String("role")),
              category = header.indexOf(QLatin1String("category")), code = header.indexOf(QLatin1String("code"));
    std::vector<TraceTest> tests;
    while (!in.atEnd()) {
        const QStringList row = in.readLine().split(QLatin1Char('\t'));
        if (row.size() != header.size() || row[role] != QLatin1String("main") || row[code] == QLatin1String("AVM2"))
            continue;
        const QString folder = row[path].left(row[path].lastIndexOf(QLatin1Char('/')) + 1);
        TraceTest test{row[path], {}, kSwfdecFrames};
        if (row[category] == QLatin1String("ruffle/trace")) {
            test.expected = folder + QStringLiteral("output.txt");
            test.frames = RuffleFrames(ReadText(corpus + QLatin1Char('/') + folder + QStringLiteral("test.toml")));
        } else if (row[category] == QLatin1String("swfdec/trace") || row[category] == QLatin1String("shumway/swfs")) {
            test.expected = row[path] + QStringLiteral(".trace");
        } else {
            continue;
        }
        if (QFile::exists(corpus + QLatin1Char('/') + test.expected))
            tests.push_back(test);
    }
    return tests;
}

QString Normalized(QString log)
{
    log.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (log.endsWith(QLatin1Char('\n')))
        log.chop(1);
    return log;
}

// The mouse and keys of an input log beside the movie come before each
// frame, as when the reference log was written.
QString RunMovie(const QString &path, int frames)
{
    QStringList lines;
    const auto movie = swf::LoadMovie(path);
    if (!movie)
        return {};
    swf::MoviePlayer player(movie, [&lines](const QString &line) { lines << line; });
    swf::InputLog input;
    input.load(path.left(path.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/input.json"));
    input.playFrame(player);
    for (int shown = 1; shown < frames && !player.quitRequested(); ++shown) {
        input.playFrame(player);
        player.advance(true);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

TEST(TraceConformance, ListedTraceLogsStillMatch)
{
    SKIP_WITHOUT_CORPUS();
    const QString corpus = CorpusDir();
    const std::vector<TraceTest> tests = ReadTraceTests(corpus);
    ASSERT_FALSE(tests.empty()) << "no trace tests listed in the corpus manifest";

    std::set<QString> passing;
    for (const TraceTest &test : tests) {
        const QString actual = RunMovie(corpus + QLatin1Char('/') + test.movie, test.frames);
        if (Normalized(actual) == Normalized(ReadText(corpus + QLatin1Char('/') + test.expected)))
            passing.insert(test.movie);
    }
    std::cout << "trace conformance: " << passing.size() << " of " << tests.size() << " logs match\n";

    const std::set<QString> listed = ReadPassingList(kListPath);
    // The list only grows: a listed log that fails stays listed (and fails
    // the test), as does one this copy of the corpus lacks.
    std::set<QString> keep = passing;
    keep.insert(listed.begin(), listed.end());
    for (const QString &movie : listed) {
        const bool present = std::any_of(tests.begin(), tests.end(), [&](const TraceTest &t) { return t.movie == movie; });
        if (present) {
            EXPECT_TRUE(passing.count(movie)) << "no longer matches: " << movie.toStdString();
        }
    }
    for (const QString &movie : passing)
        if (!listed.count(movie))
            std::cout << "newly matching: " << movie.toStdString() << '\n';
    if (qEnvironmentVariableIntValue("PAVOKO_UPDATE_CONFORMANCE") == 1) {
        EXPECT_TRUE(WritePassingList(kListPath, keep));
    }
}
