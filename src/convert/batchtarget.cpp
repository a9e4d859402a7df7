#include "convert/batchtarget.h"

namespace {

constexpr int kExtensionLength = 3;

}  // namespace

QString BatchTargetExtension(BatchType type)
{
    switch (type) {
    case BatchType::SwfToExe: return QStringLiteral("exe");
    case BatchType::ExeToSwf: return QStringLiteral("swf");
    case BatchType::SwfToScreenSaver: break;
    }
    return QStringLiteral("scr");
}

QString BatchTargetPath(const QString &source, BatchType type, bool otherFolder, const QString &folderText)
{
    const QString name = source.mid(source.lastIndexOf(QLatin1Char('/')) + 1);
    QString path = source;
    if (otherFolder) {
        QString folder = folderText.trimmed();
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        path = folder + name;
    }
    if (name.size() <= kExtensionLength)
        return path + QLatin1Char('.') + BatchTargetExtension(type);
    path.chop(kExtensionLength);
    return path + BatchTargetExtension(type);
}
