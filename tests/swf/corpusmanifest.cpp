#include "corpusmanifest.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>

#include "common/testpaths.h"

QStringList CorpusMoviesWithFeature(const QStringList &features)
{
    QFile file(CorpusDir() + QStringLiteral("/MANIFEST.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    const QStringList header = in.readLine().split(QLatin1Char('\t'));
    const int pathColumn = header.indexOf(QLatin1String("path"));
    const int featureColumn = header.indexOf(QLatin1String("features"));
    QStringList paths;
    while (!in.atEnd()) {
        const QStringList row = in.readLine().split(QLatin1Char('\t'));
        if (row.size() != header.size())
            continue;
        const QStringList has = row[featureColumn].split(QLatin1Char(','));
        if (std::any_of(features.begin(), features.end(), [&](const QString &f) { return has.contains(f); }))
            paths << row[pathColumn];
    }
    return paths;
}
