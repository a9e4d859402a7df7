#pragma once
// Replacing a whole file through a temporary file and a rename, so that a
// crash or a full disk during the write leaves the previous file as it
// was. Free functions; any thread, one writer per path at a time.

#include <QByteArray>
#include <QString>
#include <optional>

// Why a save did not happen: `created` tells a file that could not be
// opened for writing from one whose bytes could not all be written.
struct SaveFailure {
    bool created = false;
    QString reason;
};

// Puts `content` in place of the file at `path`; nothing on success.
std::optional<SaveFailure> SaveAtomically(const QString &path, const QByteArray &content);
