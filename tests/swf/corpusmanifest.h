#pragma once
// The corpus' list of movies: which of them have given features.

#include <QStringList>

// Paths (within the corpus) of the movies with any of `features`; empty
// without the corpus.
QStringList CorpusMoviesWithFeature(const QStringList &features);
