#pragma once
// Where tests find the shared corpus and the built program folder.

#include <QDir>
#include <QString>
#include <gtest/gtest.h>

inline QString CorpusDir() { return QStringLiteral(PAVOKO_CORPUS_DIR); }
inline QString ProgramBinDir() { return QStringLiteral(PAVOKO_BIN_DIR); }

// Skips the calling test with a message when the corpus is not beside the
// repository.
#define SKIP_WITHOUT_CORPUS()                                                        \
    do {                                                                             \
        if (!QDir(CorpusDir()).exists())                                             \
            GTEST_SKIP() << "SWF corpus not found at " << CorpusDir().toStdString(); \
    } while (0)
