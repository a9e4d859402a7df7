// Every corpus movie with bitmaps, fonts or texts loads, decodes what it
// defines of them and draws its first frame without fault.

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <iostream>

#include "common/testpaths.h"
#include "swf/characters/bitmap.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/characters/fontcharacter.h"
#include "swf/moviedefinition.h"
#include "swf/characters/textcharacter.h"

using namespace swf;

namespace {

struct MediaMovie {
    QString path;
    QStringList features;
    bool damaged;  // the tag walk met something odd: no promise what decodes
};

std::vector<MediaMovie> mediaMovies()
{
    static const QStringList media = {QStringLiteral("jpeg"), QStringLiteral("lossless"), QStringLiteral("font"),
                                      QStringLiteral("text"), QStringLiteral("edittext")};
    QFile file(CorpusDir() + QStringLiteral("/MANIFEST.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    const QStringList header = in.readLine().split(QLatin1Char('\t'));
    const auto column = [&header](const char *name) { return header.indexOf(QLatin1String(name)); };
    const int pathColumn = column("path"), featureColumn = column("features"), notesColumn = column("parse_notes");
    std::vector<MediaMovie> movies;
    while (!in.atEnd()) {
        const QStringList row = in.readLine().split(QLatin1Char('\t'));
        if (row.size() <= std::max({pathColumn, featureColumn, notesColumn}))
            continue;
        const QStringList features = row[featureColumn].split(QLatin1Char(','));
        if (std::any_of(media.begin(), media.end(), [&](const QString &f) { return features.contains(f); }))
            movies.push_back({row[pathColumn], features,
                              !row[notesColumn].isEmpty() || row[pathColumn].contains(QLatin1String("fuzz")) ||
                                  row[pathColumn].contains(QLatin1String("crash"))});
    }
    return movies;
}

template <class T>
bool defines(const MovieDefinition &movie, uint16_t maxId = 0xFFFF)
{
    for (uint32_t id = 0; id <= maxId; ++id)
        if (movie.dictionary.findAs<T>(uint16_t(id)))
            return true;
    return false;
}

}  // namespace

// A few test movies define deliberately odd things (an empty JPEG, a
// DefineFont4 that only ActionScript 3 uses), so the decoding check allows
// a small share of misses and names them.
TEST(MediaCorpus, MoviesWithBitmapsFontsAndTextsLoadDecodeAndDraw)
{
    SKIP_WITHOUT_CORPUS();
    const std::vector<MediaMovie> movies = mediaMovies();
    ASSERT_FALSE(movies.empty());
    int checked = 0;
    QStringList misses;
    for (const MediaMovie &entry : movies) {
        const auto movie = LoadMovie(CorpusDir() + QLatin1Char('/') + entry.path);
        if (!movie)
            continue;
        if (!entry.damaged) {
            const auto has = [&entry](const char *feature) { return entry.features.contains(QLatin1String(feature)); };
            const bool decoded = (!has("jpeg") && !has("lossless")) || defines<BitmapCharacter>(*movie);
            const bool fonts = !has("font") || defines<FontCharacter>(*movie);
            const bool texts = !has("text") || defines<TextCharacter>(*movie);
            const bool fields = !has("edittext") || defines<EditTextCharacter>(*movie);
            ++checked;
            if (!decoded || !fonts || !texts || !fields)
                misses << entry.path;
        }
        MoviePlayer player(movie);
        player.renderImage(QSize(80, 60), Quality::High);
    }
    EXPECT_LE(misses.size(), checked / 20) << misses.join(QLatin1Char('\n')).toStdString();
    if (!misses.isEmpty())
        std::cout << "Movies missing a decoded bitmap, font or text:\n" << misses.join(QLatin1Char('\n')).toStdString() << "\n";
}
