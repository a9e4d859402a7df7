// Renders every corpus movie that comes with reference pictures and compares
// each picture with ours. The pictures known to pass are listed in
// conformance_passing.txt; the test fails when one of them stops passing
// and prints the ones that pass without being listed yet. Running it with
// PAVOKO_UPDATE_CONFORMANCE=1 rewrites the list from the current results.

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QImage>
#include <QTextStream>
#include <algorithm>
#include <iostream>
#include <map>
#include <set>

#include "common/testpaths.h"
#include "passinglist.h"
#include "swf/inputlog.h"
#include "swf/movie.h"

namespace {

// A pixel differs when one of its channels is off by more than this...
constexpr int kChannelTolerance = 40;
// ...and a picture passes when at most this share of its pixels differ.
constexpr double kDifferingShare = 0.02;
// Longer runs would make the test too slow under the sanitizers.
constexpr int kMostFrames = 200;

const QString kListPath = QStringLiteral(PAVOKO_SOURCE_DIR "/tests/swf/conformance_passing.txt");

struct ReferencePicture {
    QString png;  // relative to the corpus
    int frames;   // frames shown before the picture is taken, the first one included
};

struct ReferenceMovie {
    QString path;  // relative to the corpus
    QString code;  // script kind: none, AVM1, AVM1-events, AVM2
    swf::Quality quality = swf::Quality::High;
    std::vector<ReferencePicture> pictures;  // in the order of their frames
};

swf::Quality QualityFromFlags(const QString &flags)
{
    const QStringList list = flags.split(QLatin1Char(';'));
    if (list.contains(QLatin1String("quality=low")))
        return swf::Quality::Low;
    if (list.contains(QLatin1String("quality=medium")))
        return swf::Quality::Medium;
    return swf::Quality::High;
}

// "file@trigger[...]; file@trigger[...]": a numeric trigger is the frame
// the picture is taken after; any other trigger means the end of the run.
std::vector<ReferencePicture> PicturesFromChecks(const QString &folder, const QString &checks, int runFrames)
{
    std::vector<ReferencePicture> pictures;
    for (const QString &check : checks.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = check.trimmed();
        const int at = trimmed.indexOf(QLatin1Char('@'));
        if (at <= 0)
            continue;
        const QString trigger = trimmed.mid(at + 1).section(QLatin1Char('['), 0, 0);
        bool numeric = false;
        const int frame = trigger.toInt(&numeric);
        pictures.push_back({folder + trimmed.left(at), numeric ? frame : runFrames});
    }
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const ReferencePicture &a, const ReferencePicture &b) { return a.frames < b.frames; });
    return pictures;
}

std::vector<ReferenceMovie> ReadReferenceMovies(const QString &corpus)
{
    QFile file(corpus + QStringLiteral("/MANIFEST.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    const QStringList header = in.readLine().split(QLatin1Char('\t'));
    const auto column = [&header](const char *name) { return header.indexOf(QLatin1String(name)); };
    const int path = column("path"), code = column("code"), image = column("expected_image"),
              checks = column("image_checks"), runCount = column("run_count"), flags = column("flags");

    std::vector<ReferenceMovie> movies;
    while (!in.atEnd()) {
        const QStringList row = in.readLine().split(QLatin1Char('\t'));
        if (row.size() != header.size() || row[image] != QLatin1String("yes"))
            continue;
        ReferenceMovie movie;
        movie.path = row[path];
        movie.code = row[code].isEmpty() ? QStringLiteral("unreadable") : row[code];
        movie.quality = QualityFromFlags(row[flags]);
        const QString folder = movie.path.left(movie.path.lastIndexOf(QLatin1Char('/')) + 1);
        movie.pictures = PicturesFromChecks(folder, row[checks], std::max(1, row[runCount].toInt()));
        movies.push_back(std::move(movie));
    }
    return movies;
}

bool PicturesMatch(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return false;
    const QImage a = actual.convertToFormat(QImage::Format_RGBA8888);
    const QImage e = expected.convertToFormat(QImage::Format_RGBA8888);
    const qint64 allowed = qint64(kDifferingShare * a.width() * a.height());
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *pa = a.constScanLine(y), *pe = e.constScanLine(y);
        for (int x = 0; x < a.width() * 4; x += 4) {
            for (int c = 0; c < 4; ++c) {
                if (std::abs(pa[x + c] - pe[x + c]) > kChannelTolerance) {
                    ++differing;
                    break;
                }
            }
        }
        if (differing > allowed)
            return false;
    }
    return true;
}

QImage BlankWhite(const QSize &size)
{
    QImage image(size, QImage::Format_RGBA8888);
    image.fill(Qt::white);
    return image;
}

struct ClassTally {
    int total = 0, passing = 0, blankPassing = 0, skipped = 0;
};

struct Results {
    std::set<QString> passing;
    QSet<QString> checked;  // rendered and compared, whatever the outcome
    std::map<QString, ClassTally> byCode;
};

// Plays the movie once, taking each of its pictures at its frame. The
// mouse and keys of an input log beside the movie come before each frame.
void CheckMovie(const QString &corpus, const ReferenceMovie &movie, Results &results)
{
    ClassTally &tally = results.byCode[movie.code];
    const QString moviePath = corpus + QLatin1Char('/') + movie.path;
    const auto movieDef = swf::LoadMovie(moviePath);
    std::unique_ptr<swf::MoviePlayer> player;
    swf::InputLog input;
    input.load(moviePath.left(moviePath.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/input.json"));
    if (movieDef) {
        player = std::make_unique<swf::MoviePlayer>(movieDef);
        input.playFrame(*player);
    }
    int shown = 1;
    for (const ReferencePicture &picture : movie.pictures) {
        ++tally.total;
        const QImage expected(corpus + QLatin1Char('/') + picture.png);
        if (expected.isNull() || picture.frames > kMostFrames) {
            ++tally.skipped;
            continue;
        }
        results.checked.insert(picture.png);
        if (PicturesMatch(BlankWhite(expected.size()), expected))
            ++tally.blankPassing;
        for (; player && shown < picture.frames; ++shown) {
            input.playFrame(*player);
            player->advance();
        }
        const QImage actual = player ? player->renderImage(expected.size(), movie.quality) : BlankWhite(expected.size());
        if (PicturesMatch(actual, expected)) {
            ++tally.passing;
            results.passing.insert(picture.png);
        }
    }
}

void PrintSummary(const Results &results)
{
    for (const auto &[code, tally] : results.byCode) {
        std::cout << "conformance " << code.toStdString() << ": " << tally.passing << " of " << tally.total
                  << " pictures pass (a blank white picture passes " << tally.blankPassing << "; skipped "
                  << tally.skipped << ")\n";
    }
}

}  // namespace

TEST(Conformance, ListedReferencePicturesStillPass)
{
    SKIP_WITHOUT_CORPUS();
    const QString corpus = CorpusDir();
    const std::vector<ReferenceMovie> movies = ReadReferenceMovies(corpus);
    ASSERT_FALSE(movies.empty()) << "no reference pictures listed in the corpus manifest";

    Results results;
    for (const ReferenceMovie &movie : movies)
        CheckMovie(corpus, movie, results);
    PrintSummary(results);

    const std::set<QString> listed = ReadPassingList(kListPath);
    // The list only grows: a listed picture that fails stays listed (and
    // fails the test), as does one this copy of the corpus lacks.
    std::set<QString> keep = results.passing;
    keep.insert(listed.begin(), listed.end());
    for (const QString &png : listed) {
        if (results.checked.contains(png)) {
            EXPECT_TRUE(results.passing.count(png)) << "no longer passes: " << png.toStdString();
        }
    }
    for (const QString &png : results.passing) {
        if (!listed.count(png))
            std::cout << "newly passing: " << png.toStdString() << '\n';
    }
    if (qEnvironmentVariableIntValue("PAVOKO_UPDATE_CONFORMANCE") == 1) {
        EXPECT_TRUE(WritePassingList(kListPath, keep));
    }
}
