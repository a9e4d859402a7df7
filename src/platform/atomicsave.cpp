#include "platform/atomicsave.h"

#include <QSaveFile>

std::optional<SaveFailure> SaveAtomically(const QString &path, const QByteArray &content)
{
    // Unbuffered, so that a short write (a full disk) shows in the count
    // written: a failed flush of a buffered save file can go unnoticed by
    // its commit, which would then put a cut-off file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return SaveFailure{false, file.errorString()};
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return SaveFailure{true, reason};
    }
    if (!file.commit())
        return SaveFailure{true, file.errorString()};
    return std::nullopt;
}
