#include "convert/conversion.h"

#include <QFile>

#include "convert/lib/converter.h"

std::optional<QString> ConvertFile(ConvertDirection direction, const QString &source, const QString &target)
{
    const QByteArray sourcePath = QFile::encodeName(source);
    const QByteArray targetPath = QFile::encodeName(target);
    const int result = direction == ConvertDirection::SwfToExe ? swf2exe(sourcePath.constData(), targetPath.constData())
                                                               : exe2swf(sourcePath.constData(), targetPath.constData());
    if (result == CONVERT_OK)
        return std::nullopt;
    return QString::fromLocal8Bit(convertmessage());
}
